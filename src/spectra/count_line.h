#pragma once
// Reading the counts of one data line of a native spectrum file.

#include <cstddef>
#include <optional>
#include <string_view>

namespace vorelbox::spectra {

// Reads the values of the first `line_length` bytes of `text` into out[0..limit).
// Values are separated by blanks, tabs and commas. A plain integer of up to 15
// digits is read exactly; longer numbers and decimals go through
// common::parse_count; a value of nothing but '-' and '.' is a count of 0.
// Values past the limit are not read, but must still be made of "0123456789.-".
// Returns how many values were read, or nothing when the line holds anything
// else. Bytes of `text` after the line may be looked at (to read eight at a
// time) but never change the result.
std::optional<std::size_t> read_line_counts(std::string_view text, std::size_t line_length, double* out,
                                            std::size_t limit);

}  // namespace vorelbox::spectra
