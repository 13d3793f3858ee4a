#include "free_format.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdint>
#include <string>
#include <system_error>

#include "byte_words.h"
#include "text_utils.h"

namespace vorelbox::common {
namespace {

std::string_view strip_for_reading(std::string_view text) {
    text = trim(text);
    if (!text.empty() && text.back() == ',') {
        text.remove_suffix(1);
        text = trim_right(text);
    }
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        // "+-1" and "+ 1" are not numbers.
        if (!text.empty() && (text.front() == '-' || text.front() == '+' || is_blank_char(text.front()))) {
            return {};
        }
    }
    return text;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<long long> parse_free_integer(std::string_view text) {
    text = strip_for_reading(text);
    if (text.empty()) {
        return std::nullopt;
    }
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> parse_free_real(std::string_view text) {
    text = strip_for_reading(text);
    if (text.empty()) {
        return std::nullopt;
    }
    // Check the shape by hand: from_chars would also take "inf", "nan" and hex forms.
    std::string buffer(text);
    std::size_t i = 0;
    if (buffer[i] == '-') {
        ++i;
    }
    std::size_t digits = 0;
    while (i < buffer.size() && is_digit(buffer[i])) {
        ++i;
        ++digits;
    }
    if (i < buffer.size() && buffer[i] == '.') {
        ++i;
        while (i < buffer.size() && is_digit(buffer[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (i < buffer.size() && (buffer[i] == 'e' || buffer[i] == 'E' || buffer[i] == 'd' || buffer[i] == 'D')) {
        buffer[i] = 'e';
        ++i;
        if (i < buffer.size() && (buffer[i] == '+' || buffer[i] == '-')) {
            ++i;
        }
        std::size_t exponent_digits = 0;
        while (i < buffer.size() && is_digit(buffer[i])) {
            ++i;
            ++exponent_digits;
        }
        if (exponent_digits == 0) {
            return std::nullopt;
        }
    }
    if (i != buffer.size()) {
        return std::nullopt;
    }
    double value = 0.0;
    const auto [end, ec] = std::from_chars(buffer.data(), buffer.data() + buffer.size(), value);
    if (ec != std::errc() || end != buffer.data() + buffer.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> parse_count(std::string_view token) {
    const char* p = token.data();
    const char* const end = p + token.size();
    bool negative = false;
    if (p != end && *p == '-') {
        negative = true;
        ++p;
    }
    // Fast path: plain integers of up to 15 digits are exact in a double.
    const char* digits_begin = p;
    std::int64_t whole = 0;
    while (p != end && is_digit(*p) && p - digits_begin < 15) {
        whole = whole * 10 + (*p - '0');
        ++p;
    }
    if (p == end && p != digits_begin) {
        const double v = static_cast<double>(whole);
        return negative ? -v : v;
    }
    // Longer numbers and decimals: check the shape, then let from_chars round exactly.
    p = digits_begin;
    std::size_t digits = 0;
    while (p != end && is_digit(*p)) {
        ++p;
        ++digits;
    }
    if (p != end && *p == '.') {
        ++p;
        while (p != end && is_digit(*p)) {
            ++p;
            ++digits;
        }
    }
    if (digits == 0 || p != end) {
        return std::nullopt;
    }
    double value = 0.0;
    const char* begin = digits_begin;
    // The sign was taken off above; from_chars reads "5.", ".5" and "12.25".
    const auto [stop, ec] = std::from_chars(begin, end, value, std::chars_format::fixed);
    if (ec != std::errc() || stop != end) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

}  // namespace vorelbox::common

namespace vorelbox::common {
namespace {

// Counts are often written right-aligned in wide fields, one to a line: the
// blanks before each are passed over eight bytes at a time.
const char* skip_spaces(const char* p, const char* const end) {
    while (end - p >= 8) {
        const std::uint64_t others = byte_words::bytes_other_than(byte_words::word_at(p), ' ');
        if (others != 0) {
            return p + std::countr_zero(others) / 8;
        }
        p += 8;
    }
    while (p != end && *p == ' ') {
        ++p;
    }
    return p;
}

}  // namespace

FreeValues read_free_values(Lines& lines, std::size_t count) {
    FreeValues r;
    if (count == 0) {
        r.ok = true;
        return r;
    }
    // The text is read in one pass, without cutting it into lines first: a line
    // ends at '\n', and a '\r' just before it (or before the end of the text)
    // belongs to the line end, as Lines has it.
    const std::string_view text = lines.rest();
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const auto at_line_end = [end](const char* q) {
        return *q == '\n' || (*q == '\r' && (q + 1 == end || q[1] == '\n'));
    };
    const auto is_separator = [](char c) { return c == ' ' || c == '\t' || c == ','; };
    // Every value needs two bytes at least, so the text bounds what can be there.
    r.values.reserve(std::min(count, text.size() / 2 + 1));
    const char* p = begin;
    const auto stop_at = [&](const char* q) { lines.skip(static_cast<std::size_t>(q - begin)); };
    while (r.values.size() < count) {
        if (p == end) {
            stop_at(end);
            return r;
        }
        const char c = *p;
        if (c == ' ') {
            p = skip_spaces(p, end);
            continue;
        }
        if (c == '\n' || is_separator(c) || at_line_end(p)) {
            ++p;
            continue;
        }
        const char* const start = p;
        // The common case, up to 15 digits and nothing else, is read here in one pass.
        std::int64_t whole = 0;
        const char* const digits_end = end - p > 15 ? p + 15 : end;
        while (p != digits_end) {
            const unsigned digit = static_cast<unsigned>(static_cast<unsigned char>(*p)) - '0';
            if (digit > 9) {
                break;
            }
            whole = whole * 10 + digit;
            ++p;
        }
        bool plain = p != end ? is_separator(*p) || at_line_end(p) : true;
        if (!plain) {
            while (p != end && !is_separator(*p) && !at_line_end(p)) {
                ++p;
            }
        }
        if (plain) {
            r.values.push_back(static_cast<double>(whole));
            continue;
        }
        const std::string_view token(start, static_cast<std::size_t>(p - start));
        auto value = parse_count(token);
        if (!value) {
            value = parse_free_real(token);
        }
        if (!value) {
            // The line of the token is passed over, as a line read whole would be.
            while (p != end && *p != '\n') {
                ++p;
            }
            stop_at(p == end ? end : p + 1);
            return r;
        }
        r.values.push_back(*value);
    }
    // The rest of the line holding the last value is passed over.
    while (p != end && *p != '\n') {
        ++p;
    }
    stop_at(p == end ? end : p + 1);
    r.ok = true;
    return r;
}

}  // namespace vorelbox::common
