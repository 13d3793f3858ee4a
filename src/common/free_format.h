#pragma once
// Free-format number reading, as the program reads numbers typed into dialogs and
// numbers in list-directed data.
//
// Accepted, with blanks (spaces, tabs) around the number allowed:
//   integers        "12", "-12", "+7"
//   decimal numbers "1.5", "-.5", "3.", "+0.25"
//   an exponent     "1e3", "2.5E-2", "1d3" (the letter d as in FORTRAN output)
// A single trailing comma is taken as the end of the value ("12," reads 12).
// Anything else fails: letters, two numbers, "1-2", "--1", ".", "".

#include <optional>
#include <string_view>

namespace vorelbox::common {

std::optional<long long> parse_free_integer(std::string_view text);
std::optional<double> parse_free_real(std::string_view text);

// A count token of a spectrum data line: digits with at most one point and an
// optional leading minus, nothing else ("12", "-3", "1.5", ".5", "5."). Exact for
// every integer below 2^53.
std::optional<double> parse_count(std::string_view token);

}  // namespace vorelbox::common

#include <vector>

#include "text_lines.h"

namespace vorelbox::common {

struct FreeValues {
    std::vector<double> values;
    bool ok = false;  // false when a token was not a number or the text ended first
};

// Reads `count` numbers in free format from the lines that follow, separated by
// blanks, tabs, commas and line ends. The rest of the line holding the last value
// is passed over. Memory is taken as the values come, so a count that the text
// cannot hold costs nothing.
FreeValues read_free_values(Lines& lines, std::size_t count);

}  // namespace vorelbox::common
