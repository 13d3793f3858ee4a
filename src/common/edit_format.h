#pragma once
// Edit formats: the notation in which counts are read and written, e.g. "(10i8)"
// (ten integers a line, each right-justified in 8 columns), "(i12,9i7)", "(10f7.0)",
// "(f10.0)", and "*" for free reading.

#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vorelbox::common {

struct FormatItem {
    int repeat = 1;
    char kind = 'i';  // 'i' integer, 'f' fixed-point real
    int width = 0;
    int decimals = 0;  // for 'f'
};

struct EditFormat {
    bool free = false;  // "*"
    std::vector<FormatItem> items;
    // Values on one full line: the sum of the repeats (0 for a free format).
    int values_per_line() const;
};

// Reads a format text; case and blanks do not matter. Nothing when the text is not a format.
std::optional<EditFormat> parse_edit_format(std::string_view text);

// "(" n "i" width ")", e.g. integer_format(10, 8) == "(10i8)".
std::string integer_format(int per_line, int width);

// Writes counts in the format: right-justified fields, values_per_line() to a line,
// the last line shorter, every line ended by '\n'. Integer fields take the count
// rounded to the nearest integer. A value too wide for its field is written in full
// after one blank, so that no count is ever lost to overflow, and so is one that
// fills its field exactly, unless it starts the line: values never run together.
// A free format writes
// ten values a line, each after one blank.
void write_counts(std::ostream& out, const EditFormat& format, std::span<const double> counts);

// One value in one field item, right-justified.
std::string format_field(const FormatItem& item, double value);

// A value written with the first item of a format text such as "(f10.2)";
// the plain shortest text of the value when the format cannot be read.
std::string format_real(std::string_view format_text, double value);

}  // namespace vorelbox::common
