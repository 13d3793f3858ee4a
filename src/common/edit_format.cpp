#include "edit_format.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

namespace vorelbox::common {
namespace {

// Limits that keep a mistyped format from producing absurd lines.
constexpr int max_repeat = 100000;
constexpr int max_width = 200;

// Enough room for any value written by to_chars in fixed notation with up to
// max_width decimals (the largest double has 309 integer digits).
constexpr std::size_t number_buffer_size = 320 + max_width + 8;

// Integer fields write values of smaller size through a 64-bit integer.
constexpr double integer_limit = 9.0e18;

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

// The most bytes one field takes: the widest value text after one blank, or
// the widest field, with room for blanks and digits put down eight at a time.
constexpr std::size_t field_room = number_buffer_size + max_width + 16;

// Two decimal digits for each value 0..99.
constexpr std::array<char, 200> digit_pairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
        pairs[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

constexpr std::array<std::uint64_t, 20> powers_of_ten = [] {
    std::array<std::uint64_t, 20> powers{};
    std::uint64_t p = 1;
    for (auto& power : powers) {
        power = p;
        p *= 10;
    }
    return powers;
}();

// Decimal digits of a whole number: 1 for 0.
int decimal_digits(std::uint64_t value) {
    // Setting the lowest bit changes no digit count but that of 0, to that of 1.
    value |= 1U;
    // bit_width * log10(2), then one less when the value is below that power of ten.
    const int guess = static_cast<int>((std::bit_width(value) * 1233U) >> 12U);
    return guess + 1 - (value < powers_of_ten[static_cast<std::size_t>(guess)] ? 1 : 0);
}

// The digits of `value` written backward so that the last one lands before `end`.
void put_digits_before(char* end, std::uint64_t value) {
    while (value >= 100) {
        const auto pair = static_cast<std::size_t>(value % 100) * 2;
        value /= 100;
        end -= 2;
        std::memcpy(end, &digit_pairs[pair], 2);
    }
    if (value >= 10) {
        std::memcpy(end - 2, &digit_pairs[static_cast<std::size_t>(value) * 2], 2);
    } else {
        end[-1] = static_cast<char>('0' + value);
    }
}

// The eight digits of a value below 100,000,000, leading zeros included, as
// one word whose lowest byte is the first digit. The value is split into two
// halves of four digits, each half into two pairs, each pair into two digits,
// every step done for all parts at once in their own lanes of the word.
std::uint64_t eight_digits(std::uint64_t value) {
    const std::uint64_t high = value / 10000;
    std::uint64_t x = high | ((value - high * 10000) << 32);  // 0..9999 in each 32-bit lane
    // x / 100 in each lane: exact for lanes below 10,000.
    std::uint64_t q = ((x * 10486) >> 20) & 0x0000007F0000007FULL;
    x = q | ((x - q * 100) << 16);  // 0..99 in each 16-bit lane
    // x / 10 in each lane: exact for lanes below 100.
    q = ((x * 103) >> 10) & 0x000F000F000F000FULL;
    x = q | ((x - q * 10) << 8);  // 0..9 in each byte
    return x | 0x3030303030303030ULL;
}

// The last `count` (1..8) digits of a digits word at p; the eight bytes from p
// on are written.
void put_word_digits(char* p, std::uint64_t word, std::size_t count) {
    word >>= 8 * (8 - count);
    for (int i = 0; i < 8; ++i) {
        p[i] = static_cast<char>(word >> (8 * i));
    }
}

// `count` blanks at p; the bytes up to p + 16, and up to the next multiple of
// eight past the blanks, may be overwritten too.
void put_blanks(char* p, std::size_t count) {
    constexpr std::uint64_t eight_blanks = 0x2020202020202020ULL;
    std::memcpy(p, &eight_blanks, 8);
    std::memcpy(p + 8, &eight_blanks, 8);
    for (std::size_t k = 16; k < count; k += 8) {
        std::memcpy(p + k, &eight_blanks, 8);
    }
}

// The lead of a field whose value text is `len` bytes: blanks up to the
// width, or one blank when the text does not fit, and when it fills the field
// exactly, unless it starts a line, so that two values never run together.
std::size_t lead_blanks(std::size_t len, std::size_t width, bool line_start) {
    if (len > width || (len == width && !line_start)) {
        return 1;
    }
    return width - len;
}

// Writes a value right-justified in its field at p through its text from
// number_text; returns the end of the field. Kept out of line: the common case
// in put_field needs neither its buffer nor its calls.
[[gnu::noinline]] char* put_field_text(char* p, const FormatItem& item, double value, bool line_start) {
    std::array<char, number_buffer_size> buffer;  // written by number_text before it is read
    const std::size_t len = number_text(item, value, buffer.data());
    const std::size_t blanks = lead_blanks(len, static_cast<std::size_t>(item.width), line_start);
    put_blanks(p, blanks);
    std::memcpy(p + blanks, buffer.data(), len);
    return p + blanks + len;
}

// Writes one value right-justified in its field at p, which has field_room
// bytes; returns the end of the field.
inline char* put_field(char* p, const FormatItem& item, double value, bool line_start) {
    if (item.kind != 'i' || !(value > -integer_limit && value < integer_limit)) {
        return put_field_text(p, item, value, line_start);
    }
    // Counts are whole numbers in almost every file: those are written where
    // they go, eight digits at a time, without a detour through a buffer.
    const auto whole = static_cast<std::int64_t>(value);
    if (static_cast<double>(whole) != value) {
        return put_field_text(p, item, value, line_start);
    }
    const bool negative = whole < 0;
    const std::uint64_t magnitude =
        negative ? std::uint64_t{0} - static_cast<std::uint64_t>(whole) : static_cast<std::uint64_t>(whole);
    const auto digits = static_cast<std::size_t>(decimal_digits(magnitude));
    const std::size_t len = digits + (negative ? 1 : 0);
    const std::size_t blanks = lead_blanks(len, static_cast<std::size_t>(item.width), line_start);
    put_blanks(p, blanks);
    p += blanks;
    if (negative) {
        *p = '-';
    }
    p += len;
    if (magnitude < powers_of_ten[8]) {
        put_word_digits(p - digits, eight_digits(magnitude), digits);
    } else {
        put_digits_before(p, magnitude);
    }
    return p;
}

// Writes the shortest text that reads back as the same value at p, which has
// 64 bytes; returns its end.
char* put_shortest(char* p, double value) {
    if (value == 0.0) {
        value = 0.0;
    }
    const auto result = std::to_chars(p, p + 64, value);
    return result.ec == std::errc{} ? result.ptr : p;
}

// Bytes gathered in one block and handed to a stream in large pieces. Whoever
// writes asks for room first, then says where the bytes written end.
class Gathered {
public:
    explicit Gathered(std::ostream& out) : out_(out), data_(std::make_unique_for_overwrite<char[]>(capacity)) {}
    Gathered(const Gathered&) = delete;
    Gathered& operator=(const Gathered&) = delete;
    ~Gathered() { flush(); }

    // At least `bytes` bytes to write at; bytes <= field_room.
    char* room(std::size_t bytes) {
        if (capacity - used_ < bytes) {
            flush();
        }
        return data_.get() + used_;
    }
    void written_to(const char* end) { used_ = static_cast<std::size_t>(end - data_.get()); }
    void flush() {
        out_.write(data_.get(), static_cast<std::streamsize>(used_));
        used_ = 0;
    }

private:
    static constexpr std::size_t capacity = (std::size_t{1} << 16) + field_room;
    std::ostream& out_;
    std::unique_ptr<char[]> data_;
    std::size_t used_ = 0;
};

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
    Gathered gathered(out);
    if (format.free || format.items.empty()) {
        constexpr std::size_t free_per_line = 10;
        for (std::size_t i = 0; i < counts.size(); ++i) {
            char* p = gathered.room(field_room);
            *p++ = ' ';
            p = put_shortest(p, counts[i]);
            if ((i + 1) % free_per_line == 0 || i + 1 == counts.size()) {
                *p++ = '\n';
            }
            gathered.written_to(p);
        }
        return;
    }

    std::size_t i = 0;
    while (i < counts.size()) {
        bool line_start = true;
        for (const FormatItem& item : format.items) {
            for (int r = 0; r < item.repeat && i < counts.size(); ++r) {
                gathered.written_to(put_field(gathered.room(field_room), item, counts[i++], line_start));
                line_start = false;
            }
        }
        char* p = gathered.room(1);
        *p = '\n';
        gathered.written_to(p + 1);
    }
}

std::string format_field(const FormatItem& item, double value) {
    std::array<char, field_room> field;  // written by put_field before it is read
    char* const end = put_field(field.data(), item, value, true);
    return std::string(field.data(), end);
}

std::string format_real(std::string_view format_text, double value) {
    const auto format = parse_edit_format(format_text);
    if (format && !format->free && !format->items.empty()) {
        return format_field(format->items.front(), value);
    }
    std::array<char, 64> text;  // written by put_shortest before it is read
    char* const end = put_shortest(text.data(), value);
    return std::string(text.data(), end);
}

}  // namespace vorelbox::common
