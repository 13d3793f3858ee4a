#include "count_line.h"

#include <algorithm>
#include <bit>
#include <cstdint>

#include "detect_format.h"
#include "digit_run.h"
#include "free_format.h"

namespace vorelbox::spectra {
namespace {

// Bytes looked at for the separators of one block of a line.
constexpr std::ptrdiff_t block_bytes = 64;

// One bit for each byte of the block at p, the first byte lowest: set for a
// blank, a tab or a comma, and for every byte at or after `end`. The block's
// bytes must be readable.
std::uint64_t separator_bits(const char* p, const char* end) {
    using namespace digit_words;
    const std::ptrdiff_t in_line = end - p;
    const std::ptrdiff_t words = std::min<std::ptrdiff_t>(block_bytes / 8, (in_line + 7) / 8);
    std::uint64_t bits = 0;
    for (std::ptrdiff_t w = 0; w < words; ++w) {
        bits |= std::uint64_t{gather_high_bits(separator_bytes(word_at(p + 8 * w)))} << (8 * w);
    }
    if (in_line < block_bytes) {
        bits |= ~std::uint64_t{0} << in_line;
    }
    return bits;
}

// Reads the value that starts at p, a byte of the line that is no separator.
// Returns the end of the value (a separator or the end of the line), or nothing
// when the line holds something other than values there.
[[gnu::always_inline]] inline const char* read_value(const char* p, const char* end, const char* readable_end,
                                                      double& value) {
    const char* const start = p;
    // The common case, a plain integer, is read here in one pass; 15 digits
    // are exact in a double.
    const bool negative = *p == '-';
    if (negative) {
        ++p;
    }
    const DigitRun d = digit_run(p, end, readable_end);
    const char* const after = p + d.count;
    if (d.count > 0 && d.count <= 15 && (after == end || is_separator(*after))) {
        // At most 15 digits: the value is exact as a signed integer and as a double.
        const auto v = static_cast<double>(static_cast<std::int64_t>(d.value));
        value = negative ? -v : v;
        return after;
    }
    // Decimals, very long numbers and malformed tokens.
    p = start;
    while (p != end && is_data_char(*p)) {
        ++p;
    }
    if (p != end && !is_separator(*p)) {
        return nullptr;
    }
    const std::string_view token(start, static_cast<std::size_t>(p - start));
    if (token.find_first_of("0123456789") == std::string_view::npos) {
        // A lone "-" or "." (an empty cell of a spreadsheet) is a count of 0.
        value = 0.0;
        return p;
    }
    const auto parsed = common::parse_count(token);
    if (!parsed) {
        return nullptr;
    }
    value = *parsed;
    return p;
}

// Width of the fields of the program's own files and of most others: (10i8).
constexpr std::size_t field_bytes = 8;

// Whether the line at p is `fields` fields of eight bytes, each a plain integer
// set to the right: blanks, then at least one digit. Every field but the first
// must start with a blank, so that no two values touch: such a line reads as
// the same values whether it is read by fields or by separators.
bool is_eight_wide_fields(const char* p, std::size_t fields) {
    using namespace digit_words;
    constexpr std::uint64_t high_bits = 0x80 * each_byte;
    std::uint64_t faults = 0;
    for (std::size_t k = 0; k < fields; ++k) {
        const std::uint64_t word = word_at(p + field_bytes * k);
        const std::uint64_t blanks = ~bytes_other_than(word, ' ') & high_bits;
        const std::uint64_t digits = digit_bytes(word);
        // Each byte a blank or a digit; no blank after a digit; the last byte a
        // digit; the first a blank, except in the line's first field.
        faults |= (blanks | digits) ^ high_bits;
        faults |= (digits << 8) & blanks;
        faults |= ~digits & (std::uint64_t{1} << 63);
        faults |= k == 0 ? 0 : ~blanks & 0x80;
    }
    return faults == 0;
}

// Reads the fields of a line that is_eight_wide_fields accepts.
void read_eight_wide_fields(const char* p, std::size_t fields, double* out) {
    using namespace digit_words;
    for (std::size_t k = 0; k < fields; ++k) {
        // A blank's low half is 0, as a digit 0's: the field reads as eight
        // digits with zeros before the value.
        const std::uint64_t v = digits_value(word_at(p + field_bytes * k), static_cast<int>(field_bytes));
        out[k] = static_cast<double>(static_cast<std::int64_t>(v));
    }
}

}  // namespace

std::optional<std::size_t> read_line_counts(std::string_view text, std::size_t line_length, double* out,
                                            std::size_t limit) {
    line_length = std::min(line_length, text.size());
    // Lines written with (10i8) and the like are read a field at a time.
    if (const std::size_t fields = line_length / field_bytes;
        fields > 0 && fields * field_bytes == line_length && fields <= limit &&
        is_eight_wide_fields(text.data(), fields)) {
        read_eight_wide_fields(text.data(), fields, out);
        return fields;
    }
    const char* p = text.data();
    const char* const end = p + line_length;
    const char* const readable_end = p + text.size();
    std::size_t taken = 0;
    // p is always at the start of the line, at a separator or at the start of
    // a value.
    while (true) {
        if (taken < limit && p != end && readable_end - p >= block_bytes) {
            // The values of a block are found from the bits of its separators,
            // so that finding the next value never waits for reading the last.
            const std::uint64_t separators = separator_bits(p, end);
            // A value starts at a byte that is no separator where the byte
            // before is one (p's is, or p starts the line).
            std::uint64_t starts = ~separators & ((separators << 1) | 1U);
            const char* next = p + std::min(block_bytes, end - p);
            if ((separators >> 63) == 0) {
                // The last value may go on after the block: the next block starts with it.
                const int last = 63 - std::countl_zero(starts);
                next = p + last;
                starts &= ~(std::uint64_t{1} << last);
            }
            for (; starts != 0; starts &= starts - 1) {
                const char* const after =
                    read_value(p + std::countr_zero(starts), end, readable_end, out[taken]);
                if (after == nullptr) {
                    return std::nullopt;
                }
                if (++taken == limit) {
                    next = after;
                    break;
                }
            }
            if (next != p) {
                p = next;
                continue;
            }
            // A value of more than a block's bytes is read on its own below.
        }
        while (p != end && is_separator(*p)) {
            ++p;
        }
        if (p == end) {
            break;
        }
        if (taken == limit) {
            // Values beyond the limit are not read, but they must still be counts.
            if (!is_data_char(*p)) {
                return std::nullopt;
            }
            ++p;
            continue;
        }
        const char* const after = read_value(p, end, readable_end, out[taken]);
        if (after == nullptr) {
            return std::nullopt;
        }
        ++taken;
        p = after;
    }
    return taken;
}

}  // namespace vorelbox::spectra
