#include "json_writer.h"

#include <charconv>
#include <cmath>

namespace vorelbox::common {

std::string json_string(std::string_view text) {
    std::string out = "\"";
    out.reserve(text.size() + 2);
    const auto is_continuation = [&](std::size_t i) {
        return i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            static constexpr char hex[] = "0123456789abcdef";
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 0xF];
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            std::size_t len = 0;
            if ((c & 0xE0) == 0xC0 && c >= 0xC2) {
                len = 2;
            } else if ((c & 0xF0) == 0xE0) {
                len = 3;
            } else if ((c & 0xF8) == 0xF0 && c <= 0xF4) {
                len = 4;
            }
            bool valid = len > 0;
            for (std::size_t k = 1; valid && k < len; ++k) {
                valid = is_continuation(i + k);
            }
            if (valid) {
                out.append(text.substr(i, len));
                i += len - 1;
            } else {
                // A Latin-1 byte: two bytes of UTF-8.
                out += static_cast<char>(0xC0 | (c >> 6));
                out += static_cast<char>(0x80 | (c & 0x3F));
            }
        }
    }
    out += '"';
    return out;
}

std::string json_number(double value) {
    if (!std::isfinite(value)) {
        return "null";
    }
    if (value == std::trunc(value) && std::fabs(value) < 9007199254740992.0) {
        return std::to_string(static_cast<long long>(value));
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

void JsonWriter::before_value() {
    if (after_key_) {
        after_key_ = false;
        return;
    }
    if (!first_) {
        out_ << ',';
    }
    first_ = false;
}

void JsonWriter::begin_object() {
    before_value();
    out_ << '{';
    first_ = true;
}

void JsonWriter::end_object() {
    out_ << '}';
    first_ = false;
}

void JsonWriter::begin_array() {
    before_value();
    out_ << '[';
    first_ = true;
}

void JsonWriter::end_array() {
    out_ << ']';
    first_ = false;
}

void JsonWriter::key(std::string_view name) {
    before_value();
    out_ << json_string(name) << ':';
    after_key_ = true;
}

void JsonWriter::value(std::string_view text) {
    before_value();
    out_ << json_string(text);
}

void JsonWriter::value(double number) {
    before_value();
    out_ << json_number(number);
}

void JsonWriter::null() {
    before_value();
    out_ << "null";
}

void JsonWriter::value(bool flag) {
    before_value();
    out_ << (flag ? "true" : "false");
}

}  // namespace vorelbox::common
