#include "column_text.h"

#include <algorithm>

#include "free_format.h"
#include "maestro_chn.h"
#include "spectrum_store.h"
#include "text_lines.h"
#include "text_utils.h"

namespace vorelbox::spectra {
namespace {

enum class Separator { Comma, Semicolon, Tab, Blanks };

struct Columns {
    std::vector<double> first;   // channel or energy (two columns only)
    std::vector<double> counts;
    std::vector<int> line_of;    // the line number of each count
    std::string header;          // the last header line before the numbers
    bool has_header = false;
    bool two_columns = false;
    bool decimal_comma = false;
    Separator separator = Separator::Blanks;
    std::string problem;         // why the text is no column text
    bool too_many = false;       // more than MAX_CHANNELS lines of numbers
};

std::vector<std::string_view> split(std::string_view line, Separator separator) {
    std::vector<std::string_view> fields;
    if (separator == Separator::Blanks) {
        std::size_t i = 0;
        while (i < line.size()) {
            while (i < line.size() && common::is_blank_char(line[i])) {
                ++i;
            }
            const std::size_t start = i;
            while (i < line.size() && !common::is_blank_char(line[i])) {
                ++i;
            }
            if (i > start) {
                fields.push_back(line.substr(start, i - start));
            }
        }
        return fields;
    }
    const char sep = separator == Separator::Comma ? ',' : separator == Separator::Semicolon ? ';' : '\t';
    std::size_t start = 0;
    while (true) {
        const std::size_t end = line.find(sep, start);
        fields.push_back(common::trim(line.substr(start, end == std::string_view::npos ? line.size() - start : end - start)));
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    // A separator at the end of the line ends it.
    if (fields.size() > 1 && fields.back().empty()) {
        fields.pop_back();
    }
    return fields;
}

// The numbers of a line in one layout; nothing when a field is not a number.
std::optional<std::vector<double>> numbers(std::string_view line, Separator separator, bool& decimal_comma) {
    std::vector<double> values;
    for (std::string_view field : split(line, separator)) {
        std::string text(field);
        if (separator != Separator::Comma && std::count(text.begin(), text.end(), ',') == 1) {
            std::replace(text.begin(), text.end(), ',', '.');
            decimal_comma = true;
        }
        const auto value = text.find(',') == std::string::npos ? common::parse_free_real(text) : std::nullopt;
        if (!value) {
            return std::nullopt;
        }
        values.push_back(*value);
    }
    if (values.empty()) {
        return std::nullopt;
    }
    return values;
}

// The separator a line of numbers is written with; nothing when it is no such line.
std::optional<Separator> separator_of(std::string_view line) {
    bool comma = false;
    if (line.find(';') != std::string_view::npos) {
        return numbers(line, Separator::Semicolon, comma) ? std::optional(Separator::Semicolon) : std::nullopt;
    }
    if (line.find('\t') != std::string_view::npos) {
        return numbers(line, Separator::Tab, comma) ? std::optional(Separator::Tab) : std::nullopt;
    }
    if (line.find(',') != std::string_view::npos && numbers(line, Separator::Comma, comma)) {
        return Separator::Comma;
    }
    return numbers(line, Separator::Blanks, comma) ? std::optional(Separator::Blanks) : std::nullopt;
}

std::string shown(std::string_view line) { return common::cut_chars(one_line(line), 60); }

Columns read_columns(std::string_view text) {
    Columns c;
    common::Lines lines(common::without_bom(text));
    int line_number = 0;
    std::optional<Separator> separator;
    std::size_t width = 0;
    while (const auto line = lines.next()) {
        ++line_number;
        if (common::is_blank(*line)) {
            continue;
        }
        if (!separator) {
            separator = separator_of(*line);
            if (!separator) {
                c.header = one_line(*line);
                c.has_header = true;
                continue;
            }
            c.separator = *separator;
        }
        const auto values = numbers(*line, *separator, c.decimal_comma);
        if (!values) {
            c.problem = "Line " + std::to_string(line_number) + " is not a line of numbers: " + shown(*line);
            return c;
        }
        if (width == 0) {
            width = values->size();
            if (width > 2) {
                c.problem = "Line " + std::to_string(line_number) + " holds " + std::to_string(width) +
                            " numbers; a column text file holds one column of counts, or two: channel or energy, "
                            "then the count";
                return c;
            }
            c.two_columns = width == 2;
        } else if (values->size() != width) {
            c.problem = "Line " + std::to_string(line_number) + " holds " + std::to_string(values->size()) +
                        (values->size() == 1 ? " number" : " numbers") + " where the lines before it hold " +
                        std::to_string(width);
            return c;
        }
        if (c.counts.size() >= static_cast<std::size_t>(MAX_CHANNELS)) {
            c.too_many = true;
            return c;
        }
        const double count = values->back();
        if (!is_whole_count(count)) {
            c.problem = "Line " + std::to_string(line_number) + " holds a count that is not a whole number: " + shown(*line);
            return c;
        }
        if (c.two_columns) {
            c.first.push_back(values->front());
        }
        c.counts.push_back(count);
        c.line_of.push_back(line_number);
    }
    if (c.counts.empty()) {
        c.problem = "The file holds no line of numbers";
    }
    return c;
}

// A first column of channel numbers counts up by one; one of energies rises.
std::string first_column_problem(const Columns& c) {
    const bool channels = std::all_of(c.first.begin(), c.first.end(), [](double v) { return is_whole_count(v); });
    for (std::size_t i = 1; i < c.first.size(); ++i) {
        const double step = c.first[i] - c.first[i - 1];
        if (channels ? step != 1 : !(step > 0)) {
            return "Line " + std::to_string(c.line_of[i]) +
                   (channels ? ": the channel numbers of the first column do not count up by one"
                             : ": the energies of the first column do not rise");
        }
    }
    return {};
}

const char* separator_name(Separator s) {
    switch (s) {
        case Separator::Comma:
            return "comma-separated";
        case Separator::Semicolon:
            return "semicolon-separated";
        case Separator::Tab:
            return "tab-separated";
        case Separator::Blanks:
            break;
    }
    return "blank-separated";
}

}  // namespace

ForeignRead read_column_text_bytes(std::string_view bytes, const std::string& file_name) {
    Columns c = read_columns(bytes);
    if (c.too_many) {
        return failed_read(too_many_channels_text(file_name, 0));
    }
    if (c.problem.empty() && c.two_columns) {
        c.problem = first_column_problem(c);
    }
    if (!c.problem.empty()) {
        return read_error(file_name, c.problem);
    }
    const bool channels = c.two_columns && is_whole_count(c.first.front());
    ForeignRead r;
    r.pane.format = std::string("Column text, ") + separator_name(c.separator) +
                    (c.two_columns ? (channels ? ": channel, count" : ": energy, count") : ": counts");
    r.pane.sample = c.header;
    r.pane.spectra_in_file = 1;
    if (c.two_columns && !channels) {
        // The energies of the first and the last channel, as calibration points.
        r.pane.points = {{0.0, c.first.front()}, {static_cast<double>(c.first.size() - 1), c.first.back()}};
    }
    r.description = c.header;
    if (channels && c.first.front() > 1) {
        r.notes.push_back("The first column of " + file_name + " starts at channel " + shown(std::to_string(static_cast<long long>(c.first.front()))) +
                          "; its counts are read as channels 1 to " + std::to_string(c.counts.size()));
    }
    ForeignSpectrum s;
    s.header = foreign_header({c.has_header ? std::string_view(c.header) : std::string_view(),
                               common::name_with_extension(file_name)});
    s.counts = std::move(c.counts);
    r.spectra.push_back(std::move(s));
    return r;
}

ForeignRead read_column_text_file(const std::string& path) {
    return read_foreign_bytes_of(path, read_column_text_bytes);
}

bool txt_is_column_text(std::string_view bytes) {
    const Columns c = read_columns(bytes);
    if (!c.problem.empty() || c.too_many) {
        return false;
    }
    return !c.has_header || c.two_columns || c.decimal_comma || c.separator == Separator::Semicolon;
}

}  // namespace vorelbox::spectra
