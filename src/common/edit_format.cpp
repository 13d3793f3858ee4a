#include "edit_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace vorelbox::common {
namespace {

// Limits that keep a mistyped format from producing absurd lines.
constexpr int max_repeat = 100000;
constexpr int max_width = 200;

// Enough room for any value written by to_chars in fixed notation with up to
// max_width decimals (the largest double has 309 integer digits).
constexpr std::size_t number_buffer_size = 320 + max_width + 8;

// Reads an unsigned decimal number at text[pos]; nothing when there is no digit
// there or the number exceeds the limit.
std::optional<int> read_number(std::string_view text, std::size_t& pos, int limit) {
    const std::size_t begin = pos;
    long long n = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        n = n * 10 + (text[pos] - '0');
        if (n > limit) {
            return std::nullopt;
        }
        ++pos;
    }
    if (pos == begin) {
        return std::nullopt;
    }
    return static_cast<int>(n);
}

// One item such as "10i8" or "f10.2"; `text` holds no blanks and only small letters.
std::optional<FormatItem> parse_item(std::string_view text) {
    FormatItem item;
    std::size_t pos = 0;
    if (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        const auto repeat = read_number(text, pos, max_repeat);
        if (!repeat || *repeat < 1) {
            return std::nullopt;
        }
        item.repeat = *repeat;
    }
    if (pos >= text.size() || (text[pos] != 'i' && text[pos] != 'f')) {
        return std::nullopt;
    }
    item.kind = text[pos++];
    const auto width = read_number(text, pos, max_width);
    if (!width || *width < 1) {
        return std::nullopt;
    }
    item.width = *width;
    if (item.kind == 'f') {
        if (pos >= text.size() || text[pos] != '.') {
            return std::nullopt;
        }
        ++pos;
        const auto decimals = read_number(text, pos, max_width);
        // The field must hold at least the point and the decimals.
        if (!decimals || *decimals >= item.width) {
            return std::nullopt;
        }
        item.decimals = *decimals;
    }
    if (pos != text.size()) {
        return std::nullopt;
    }
    return item;
}

// The characters of a value, without padding, written to `buffer`; returns the length.
std::size_t number_text(const FormatItem& item, double value, char* buffer) {
    char* const end = buffer + number_buffer_size;
    std::to_chars_result result{};
    if (item.kind == 'f') {
        result = std::to_chars(buffer, end - 1, value, std::chars_format::fixed, item.decimals);
        if (result.ec != std::errc{}) {
            return 0;
        }
        std::size_t len = static_cast<std::size_t>(result.ptr - buffer);
        // A small negative value that shows as zero is written without its minus.
        if (buffer[0] == '-' && std::string_view(buffer + 1, len - 1).find_first_not_of("0.") ==
                                    std::string_view::npos) {
            std::copy(buffer + 1, buffer + len, buffer);
            --len;
        }
        if (item.decimals == 0 && std::isfinite(value)) {
            buffer[len++] = '.';
        }
        return len;
    }
    constexpr double integer_limit = 9.0e18;
    if (value > -integer_limit && value < integer_limit) {
        // Counts are whole numbers in almost every file: those need no rounding.
        const auto whole = static_cast<std::int64_t>(value);
        if (static_cast<double>(whole) == value) {
            result = std::to_chars(buffer, end, whole);
            return result.ec == std::errc{} ? static_cast<std::size_t>(result.ptr - buffer) : 0;
        }
    }
    double rounded = std::round(value);  // halves away from zero
    if (rounded == 0.0) {
        rounded = 0.0;
    }
    if (rounded > -integer_limit && rounded < integer_limit) {
        result = std::to_chars(buffer, end, static_cast<std::int64_t>(rounded));
    } else {
        result = std::to_chars(buffer, end, rounded, std::chars_format::fixed, 0);
    }
    if (result.ec != std::errc{}) {
        return 0;
    }
    return static_cast<std::size_t>(result.ptr - buffer);
}

// Appends one value right-justified in its field, or in full after one blank
// when it does not fit. A value that fills its field exactly gets the blank too,
// unless it starts a line, so that two values never run together.
void append_field(std::string& out, const FormatItem& item, double value) {
    std::array<char, number_buffer_size> buffer;  // written by number_text before it is read
    const std::size_t len = number_text(item, value, buffer.data());
    const auto width = static_cast<std::size_t>(item.width);
    const bool line_start = out.empty() || out.back() == '\n';
    if (len > width || (len == width && !line_start)) {
        out.push_back(' ');
    } else {
        out.append(width - len, ' ');
    }
    out.append(buffer.data(), len);
}

// The shortest text that reads back as the same value.
void append_shortest(std::string& out, double value) {
    std::array<char, 64> buffer{};
    if (value == 0.0) {
        value = 0.0;
    }
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    if (result.ec == std::errc{}) {
        out.append(buffer.data(), result.ptr);
    }
}

}  // namespace

int EditFormat::values_per_line() const {
    if (free) {
        return 0;
    }
    int total = 0;
    for (const FormatItem& item : items) {
        total += item.repeat;
    }
    return total;
}

std::optional<EditFormat> parse_edit_format(std::string_view text) {
    std::string compact;
    compact.reserve(text.size());
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0') {
            continue;
        }
        compact.push_back((c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c);
    }
    EditFormat format;
    if (compact == "*") {
        format.free = true;
        return format;
    }
    if (compact.size() < 3 || compact.front() != '(' || compact.back() != ')') {
        return std::nullopt;
    }
    const std::string_view body = std::string_view(compact).substr(1, compact.size() - 2);
    std::size_t begin = 0;
    while (true) {
        const std::size_t comma = body.find(',', begin);
        const std::string_view piece = body.substr(
            begin, comma == std::string_view::npos ? std::string_view::npos : comma - begin);
        const auto item = parse_item(piece);
        if (!item) {
            return std::nullopt;
        }
        format.items.push_back(*item);
        if (comma == std::string_view::npos) {
            break;
        }
        begin = comma + 1;
    }
    long long total = 0;
    for (const FormatItem& item : format.items) {
        total += item.repeat;
    }
    if (total > max_repeat) {
        return std::nullopt;
    }
    return format;
}

std::string integer_format(int per_line, int width) {
    std::string text = "(";
    text += std::to_string(per_line);
    text += 'i';
    text += std::to_string(width);
    text += ')';
    return text;
}

void write_counts(std::ostream& out, const EditFormat& format, std::span<const double> counts) {
    // Lines are gathered in a buffer and handed to the stream in large pieces.
    constexpr std::size_t flush_size = 1 << 16;
    std::string buffer;
    buffer.reserve(flush_size + 4096);
    const auto flush = [&] {
        out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        buffer.clear();
    };

    if (format.free || format.items.empty()) {
        constexpr std::size_t free_per_line = 10;
        for (std::size_t i = 0; i < counts.size(); ++i) {
            buffer.push_back(' ');
            append_shortest(buffer, counts[i]);
            if ((i + 1) % free_per_line == 0 || i + 1 == counts.size()) {
                buffer.push_back('\n');
                if (buffer.size() >= flush_size) {
                    flush();
                }
            }
        }
        flush();
        return;
    }

    std::size_t i = 0;
    while (i < counts.size()) {
        for (const FormatItem& item : format.items) {
            for (int r = 0; r < item.repeat && i < counts.size(); ++r) {
                append_field(buffer, item, counts[i++]);
            }
        }
        buffer.push_back('\n');
        if (buffer.size() >= flush_size) {
            flush();
        }
    }
    flush();
}

std::string format_field(const FormatItem& item, double value) {
    std::string out;
    append_field(out, item, value);
    return out;
}

std::string format_real(std::string_view format_text, double value) {
    const auto format = parse_edit_format(format_text);
    if (format && !format->free && !format->items.empty()) {
        return format_field(format->items.front(), value);
    }
    std::string out;
    append_shortest(out, value);
    return out;
}

}  // namespace vorelbox::common
