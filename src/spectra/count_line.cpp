#include "count_line.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

#include "detect_format.h"
#include "free_format.h"

namespace vorelbox::spectra {
namespace {

// Most counts are plain integers of a few digits between blanks. Where eight
// bytes of the buffer are left, they are looked at as one 64-bit word (the first
// byte lowest, whatever the host's byte order): the length of a run of digits and
// the value of up to eight digits each take a few word operations, without a
// branch per digit. (Blanks are passed one by one: in a file of fixed columns
// their number repeats, and a branch that is foreseen costs less than the word
// operations.)
constexpr std::uint64_t each_byte = 0x0101010101010101ULL;

std::uint64_t word_at(const char* p) {
    std::uint64_t word = 0;
    for (int i = 0; i < 8; ++i) {
        word |= std::uint64_t{static_cast<unsigned char>(p[i])} << (8 * i);
    }
    return word;
}

// How many bytes of `word`, from the first, are digits: a digit's high half is 3
// and its low half at most 9 (adding 6 keeps it below 16).
int leading_digits(std::uint64_t word) {
    const std::uint64_t not_digits = ((word & (0xF0 * each_byte)) ^ (0x30 * each_byte)) |
                                     (((word & (0x0F * each_byte)) + 0x06 * each_byte) & (0xF0 * each_byte));
    return not_digits == 0 ? 8 : std::countr_zero(not_digits) / 8;
}

// The value of the first n (1..8) digits of `word`: moved to the top bytes with
// zeros before them, then joined pairwise into 2-, 4- and 8-digit values.
std::uint64_t digits_value(std::uint64_t word, int n) {
    std::uint64_t v = (word & (0x0F * each_byte)) << (8 * (8 - n));
    v = (v * 10 + (v >> 8)) & 0x00FF00FF00FF00FFULL;
    v = (v * 100 + (v >> 16)) & 0x0000FFFF0000FFFFULL;
    return (v & 0xFFFFFFFFULL) * 10000 + (v >> 32);
}

constexpr std::array<std::uint64_t, 9> powers_of_ten = {1,      10,      100,      1000,     10000,
                                                         100000, 1000000, 10000000, 100000000};

struct Digits {
    std::uint64_t value = 0;
    std::ptrdiff_t count = 0;  // at most 16: a longer run is not read here
};

// The run of digits at p, one byte at a time, within [p, end).
Digits digits_one_by_one(const char* p, const char* end) {
    Digits d;
    const char* const stop = end - p > 16 ? p + 16 : end;
    for (const char* q = p; q != stop; ++q) {
        const auto digit = static_cast<unsigned>(static_cast<unsigned char>(*q)) - '0';
        if (digit > 9) {
            break;
        }
        d.value = d.value * 10 + digit;
        ++d.count;
    }
    return d;
}

// The run of digits at p within the line [p, end); bytes up to `readable_end`
// may be looked at.
Digits digits_at(const char* p, const char* end, const char* readable_end) {
    if (readable_end - p < 8) {
        return digits_one_by_one(p, end);
    }
    const std::uint64_t word = word_at(p);
    Digits d;
    d.count = leading_digits(word);
    if (d.count == 0) {
        return d;
    }
    d.value = digits_value(word, static_cast<int>(d.count));
    if (d.count == 8) {
        if (readable_end - p < 16) {
            return digits_one_by_one(p, end);
        }
        const std::uint64_t next = word_at(p + 8);
        const int more = leading_digits(next);
        if (more > 0) {
            d.value = d.value * powers_of_ten[static_cast<std::size_t>(more)] + digits_value(next, more);
            d.count += more;
        }
    }
    if (d.count > end - p) {
        // Digits follow in the buffer past the end of the line.
        return digits_one_by_one(p, end);
    }
    return d;
}

}  // namespace

std::optional<std::size_t> read_line_counts(std::string_view text, std::size_t line_length, double* out,
                                            std::size_t limit) {
    line_length = std::min(line_length, text.size());
    const char* p = text.data();
    const char* const end = p + line_length;
    const char* const readable_end = p + text.size();
    std::size_t taken = 0;
    while (true) {
        while (p != end && is_separator(*p)) {
            ++p;
        }
        if (p == end) {
            break;
        }
        const char c = *p;
        const char* const start = p;
        if (taken == limit) {
            // Values beyond the limit are not read, but they must still be counts.
            if (!is_data_char(c)) {
                return std::nullopt;
            }
            ++p;
            continue;
        }
        // The common case, a plain integer, is read here in one pass; 15 digits
        // are exact in a double.
        const bool negative = c == '-';
        if (negative) {
            ++p;
        }
        const Digits d = digits_at(p, end, readable_end);
        const char* const after = p + d.count;
        if (d.count > 0 && d.count <= 15 && (after == end || is_separator(*after))) {
            // At most 15 digits: the value is exact as a signed integer and as a double.
            const auto v = static_cast<double>(static_cast<std::int64_t>(d.value));
            out[taken++] = negative ? -v : v;
            p = after;
            continue;
        }
        // Decimals, very long numbers and malformed tokens.
        p = start;
        while (p != end && is_data_char(*p)) {
            ++p;
        }
        if (p != end && !is_separator(*p)) {
            return std::nullopt;
        }
        const std::string_view token(start, static_cast<std::size_t>(p - start));
        if (token.find_first_of("0123456789") == std::string_view::npos) {
            // A lone "-" or "." (an empty cell of a spreadsheet) is a count of 0.
            out[taken++] = 0.0;
            continue;
        }
        const auto value = common::parse_count(token);
        if (!value) {
            return std::nullopt;
        }
        out[taken++] = *value;
    }
    return taken;
}

}  // namespace vorelbox::spectra
