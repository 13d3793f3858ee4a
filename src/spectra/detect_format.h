#pragma once
// Tells a data line of a spectrum file from a header line and derives the edit
// format in which the line's values are written.

#include <string>
#include <string_view>

namespace vorelbox::spectra {

struct DetectedFormat {
    std::string read_format = "?";  // "(10f7.0)", "*" for a free layout, "?" when none
    std::string integer_format;     // "(10i7)"; empty when a decimal point was seen
    int n = 0;                      // values on the line; 0 for a header line
    std::string_view kind = "fixed";  // "fixed" or "free"
    bool has_point = false;

    // A line that holds values in a layout that could be derived.
    bool is_data() const { return n > 0 && read_format != "?"; }
};

// Data lines hold only "0123456789.-", blanks, tabs and commas.
inline bool is_data_char(char c) { return (c >= '0' && c <= '9') || c == '.' || c == '-'; }
inline bool is_separator(char c) { return c == ' ' || c == '\t' || c == ','; }

DetectedFormat DETECT_FORMAT(std::string_view line);

// True when the native reader could take the line for a line of counts: it holds
// at least one value and nothing but "0123456789.-", blanks, tabs and commas
// (DETECT_FORMAT(line).n > 0, whatever the widths). A header written into a
// spectrum file must not be such a line.
bool reads_as_data(std::string_view line);

// The number of values on a line when it is a data line, 0 otherwise. Agrees with
// DETECT_FORMAT(line).is_data() ? n : 0, without building the format texts.
int count_data_values(std::string_view line);

}  // namespace vorelbox::spectra
