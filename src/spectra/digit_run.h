#pragma once
// Reading a run of decimal digits as one whole number, eight digits at a time.
//
// Most counts in spectrum files are plain integers of a few digits. Where eight
// bytes of the buffer are left, they are looked at as one 64-bit word (the first
// byte lowest, whatever the host's byte order): the length of a run of digits
// and the value of up to eight digits each take a few word operations, without
// a branch per digit.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

#include "byte_words.h"

namespace vorelbox::spectra {

struct DigitRun {
    std::uint64_t value = 0;
    std::ptrdiff_t count = 0;  // digits at the start; at most 16 (a longer run is cut there)
};

namespace digit_words {

using common::byte_words::bytes_other_than;
using common::byte_words::each_byte;
using common::byte_words::gather_high_bits;
using common::byte_words::word_at;

// The bytes of `word` that are no decimal digit, each nonzero; a digit's byte
// is 0. A digit's high half is 3 and its low half at most 9 (adding 6 keeps it
// below 16; no carry crosses a byte).
inline std::uint64_t not_digit_bytes(std::uint64_t word) {
    return ((word & (0xF0 * each_byte)) ^ (0x30 * each_byte)) |
           (((word & (0x0F * each_byte)) + 0x06 * each_byte) & (0xF0 * each_byte));
}

// The decimal digits of a word, each marked by its high bit.
inline std::uint64_t digit_bytes(std::uint64_t word) {
    return ~bytes_other_than(not_digit_bytes(word), 0) & (0x80 * each_byte);
}

// The blanks, tabs and commas of a word (the separators of data lines), each
// marked by its high bit.
inline std::uint64_t separator_bytes(std::uint64_t word) {
    return ~(bytes_other_than(word, ' ') & bytes_other_than(word, '\t') & bytes_other_than(word, ',')) &
           (0x80 * each_byte);
}

// How many bytes of `word`, from the first, are digits.
inline int leading_digits(std::uint64_t word) {
    const std::uint64_t not_digits = not_digit_bytes(word);
    return not_digits == 0 ? 8 : std::countr_zero(not_digits) / 8;
}

// The value of the first n (1..8) digits of `word`: moved to the top bytes with
// zeros before them, then joined pairwise into 2-, 4- and 8-digit values.
inline std::uint64_t digits_value(std::uint64_t word, int n) {
    std::uint64_t v = (word & (0x0F * each_byte)) << (8 * (8 - n));
    v = (v * 10 + (v >> 8)) & 0x00FF00FF00FF00FFULL;
    v = (v * 100 + (v >> 16)) & 0x0000FFFF0000FFFFULL;
    return (v & 0xFFFFFFFFULL) * 10000 + (v >> 32);
}

inline constexpr std::array<std::uint64_t, 9> powers_of_ten = {1,      10,      100,      1000,     10000,
                                                                100000, 1000000, 10000000, 100000000};

// The run of digits at p within [p, end), one byte at a time.
inline DigitRun one_by_one(const char* p, const char* end) {
    DigitRun d;
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

}  // namespace digit_words

// The run of digits at p within [p, end) (at most its first 16 digits). Bytes
// up to `readable_end` (at or after `end`) may be looked at; they never change
// the result.
inline DigitRun digit_run(const char* p, const char* end, const char* readable_end) {
    using namespace digit_words;
    if (readable_end - p < 8) {
        return one_by_one(p, end);
    }
    const std::uint64_t word = word_at(p);
    DigitRun d;
    d.count = leading_digits(word);
    if (d.count == 0) {
        return d;
    }
    d.value = digits_value(word, static_cast<int>(d.count));
    if (d.count == 8) {
        if (readable_end - p < 16) {
            return one_by_one(p, end);
        }
        const std::uint64_t next = word_at(p + 8);
        const int more = leading_digits(next);
        if (more > 0) {
            d.value = d.value * powers_of_ten[static_cast<std::size_t>(more)] + digits_value(next, more);
            d.count += more;
        }
    }
    if (d.count > end - p) {
        // Digits go on in the buffer past `end`.
        return one_by_one(p, end);
    }
    return d;
}

}  // namespace vorelbox::spectra
