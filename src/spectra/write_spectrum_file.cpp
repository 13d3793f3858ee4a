#include "write_spectrum_file.h"

#include <algorithm>
#include <cmath>

#include "edit_format.h"
#include "safe_file.h"
#include "text_utils.h"

namespace vorelbox::spectra {

namespace {
constexpr int line_columns = 80;
constexpr int usual_width = 8;
constexpr int usual_per_line = 10;
}  // namespace

int columns_needed(double count) {
    const long long value = std::llround(count);
    return static_cast<int>(std::to_string(value).size()) + 1;
}

namespace {

int widest_columns(std::span<const double> counts) {
    int width = 0;
    for (const double c : counts) {
        width = std::max(width, columns_needed(c));
    }
    return width;
}

std::string format_for_width(int width) {
    if (width <= usual_width) {
        return common::integer_format(usual_per_line, usual_width);
    }
    return common::integer_format(std::max(1, line_columns / width), width);
}

}  // namespace

std::string count_format_for(std::span<const double> counts) {
    return format_for_width(widest_columns(counts));
}

std::string count_format_for(const std::vector<SpectrumToWrite>& spectra) {
    int width = 0;
    for (const auto& s : spectra) {
        width = std::max(width, widest_columns(s.counts));
    }
    return format_for_width(width);
}

std::string eight_per_line_format(std::span<const double> counts) {
    return common::integer_format(8, std::max(10, widest_columns(counts)));
}

bool write_spectra(std::ostream& out, const std::vector<SpectrumToWrite>& spectra,
                   std::string_view format_text) {
    const auto format = common::parse_edit_format(format_text);
    if (!format) {
        return false;
    }
    int number = 0;
    for (const auto& s : spectra) {
        ++number;
        std::string header(
            common::trim_right(common::blank_control_chars(common::cut_chars(s.header, s.header_limit))));
        if (common::is_blank(header)) {
            header = "Spectrum " + std::to_string(number);
        }
        out << header << '\n';
        common::write_counts(out, *format, s.counts);
    }
    return static_cast<bool>(out);
}

bool write_spectrum_file(const std::string& path, const std::vector<SpectrumToWrite>& spectra,
                         std::string_view format_text) {
    if (!common::parse_edit_format(format_text)) {
        return false;
    }
    return common::replace_file(path, [&](std::ostream& out) { return write_spectra(out, spectra, format_text); });
}

std::string LONG_TITLE(std::string_view title, std::string_view path) {
    path = common::trim_right(path);
    std::string out = std::string(title) + std::string(path);
    if (path.empty() || (path.size() < line_columns && title.size() + path.size() < line_columns)) {
        return out;
    }
    const std::size_t separator = path.find_last_of("\\/");
    if (separator == std::string_view::npos) {
        return common::cut_chars(out, line_columns);
    }
    const std::string_view tail = path.substr(separator);
    const long long keep = 76 - static_cast<long long>(title.size()) - static_cast<long long>(tail.size());
    const std::size_t head = keep > 0 ? static_cast<std::size_t>(keep) : 0;
    return std::string(title) + std::string(path.substr(0, head)) + "..." + std::string(tail);
}

}  // namespace vorelbox::spectra
