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
#include <cstring>

namespace vorelbox::spectra {

struct DigitRun {
    std::uint64_t value = 0;
    std::ptrdiff_t count = 0;  // digits at the start; at most 16 (a longer run is cut there)
};

namespace digit_words {

inline constexpr std::uint64_t each_byte = 0x0101010101010101ULL;

inline std::uint64_t word_at(const char* p) {
    if constexpr (std::endian::native == std::endian::little) {
        // One load; the compiler does not always see that the loop below is one.
        std::uint64_t word = 0;
        std::memcpy(&word, p, sizeof word);
        return word;
    }
    std::uint64_t word = 0;
    for (int i = 0; i < 8; ++i) {
        word |= std::uint64_t{static_cast<unsigned char>(p[i])} << (8 * i);
    }
    return word;
}

// How many bytes of `word`, from the first, are digits: a digit's high half is 3
// and its low half at most 9 (adding 6 keeps it below 16; no carry crosses a byte).
inline int leading_digits(std::uint64_t word) {
    const std::uint64_t not_digits = ((word & (0xF0 * each_byte)) ^ (0x30 * each_byte)) |
                                     (((word & (0x0F * each_byte)) + 0x06 * each_byte) & (0xF0 * each_byte));
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

// The bytes of `word` that are not `c`, each marked by its high bit. Every byte
// is tested on its own: adding 0x7F to its low seven bits carries into its high
// bit only, never into the next byte.
inline std::uint64_t bytes_other_than(std::uint64_t word, unsigned char c) {
    const std::uint64_t x = word ^ (c * each_byte);
    return (((x & (0x7F * each_byte)) + 0x7F * each_byte) | x) & (0x80 * each_byte);
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
