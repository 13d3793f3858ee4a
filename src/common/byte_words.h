#pragma once
// Eight bytes of a buffer looked at as one 64-bit word, the first byte lowest
// whatever the host's byte order, and tests on all eight bytes at once.

#include <bit>
#include <cstdint>
#include <cstring>

namespace vorelbox::common::byte_words {

inline constexpr std::uint64_t each_byte = 0x0101010101010101ULL;

// The eight bytes from p on; all eight must be readable.
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

// The bytes of `word` that are not `c`, each marked by its high bit. Every byte
// is tested on its own: adding 0x7F to its low seven bits carries into its high
// bit only, never into the next byte.
inline std::uint64_t bytes_other_than(std::uint64_t word, unsigned char c) {
    const std::uint64_t x = word ^ (c * each_byte);
    return (((x & (0x7F * each_byte)) + 0x7F * each_byte) | x) & (0x80 * each_byte);
}

// One bit a byte from the high bits of a word, the first byte lowest: the
// partial products of the multiplication never meet.
inline unsigned gather_high_bits(std::uint64_t marked) {
    return static_cast<unsigned>((((marked >> 7) & each_byte) * 0x0102040810204080ULL) >> 56);
}

}  // namespace vorelbox::common::byte_words
