#include "write_spectrum_file.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "detect_format.h"
#include "edit_format.h"
#include "safe_file.h"
#include "text_lines.h"
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

// The widest count is the largest or the smallest one: the digits grow with the
// size of a count, and a negative count has its minus too.
int widest_columns(std::span<const double> counts) {
    int width = 0;
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (const double c : counts) {
        if (std::isnan(c)) {
            width = std::max(width, columns_needed(c));
        } else {
            low = std::min(low, c);
            high = std::max(high, c);
        }
    }
    if (low <= high) {
        width = std::max({width, columns_needed(low), columns_needed(high)});
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

std::string header_line(std::string_view header, int number, std::size_t limit) {
    // Byte-order marks are no text; the reader drops one at the start of a file.
    while (common::without_bom(header).size() != header.size()) {
        header = common::without_bom(header);
    }
    const std::string text(common::trim_right(common::blank_control_chars(common::cut_chars(header, limit))));
    const std::string numbered = "Spectrum " + std::to_string(number);
    if (common::is_blank(text)) {
        return numbered;
    }
    if (reads_as_data(text)) {
        return std::string(common::trim_right(common::cut_chars(numbered + ": " + text, limit)));
    }
    return text;
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
        out << header_line(s.header, number, s.header_limit) << '\n';
        common::write_counts(out, *format, s.counts);
    }
    return static_cast<bool>(out);
}

common::SaveResult write_spectrum_file(const std::string& path, const std::vector<SpectrumToWrite>& spectra,
                                       std::string_view format_text, common::FileOps& ops) {
    if (!common::parse_edit_format(format_text)) {
        return {common::SaveProblem::Content, {}};
    }
    return common::replace_file(
        path, [&](std::ostream& out) { return write_spectra(out, spectra, format_text); }, ops,
        common::system_line_ends());
}

namespace {

// The first bytes of a text, at most `bytes` of them, not splitting a UTF-8 character.
std::string_view leading(std::string_view text, std::size_t bytes) {
    if (bytes >= text.size()) {
        return text;
    }
    while (bytes > 0 && (static_cast<unsigned char>(text[bytes]) & 0xC0U) == 0x80U) {
        --bytes;
    }
    return text.substr(0, bytes);
}

// The last bytes of a text, at most `bytes` of them, not splitting a UTF-8 character.
std::string_view trailing(std::string_view text, std::size_t bytes) {
    if (bytes >= text.size()) {
        return text;
    }
    std::size_t start = text.size() - bytes;
    while (start < text.size() && (static_cast<unsigned char>(text[start]) & 0xC0U) == 0x80U) {
        ++start;
    }
    return text.substr(start);
}

}  // namespace

std::string LONG_TITLE(std::string_view title, std::string_view path) {
    constexpr std::size_t columns = line_columns;
    constexpr std::string_view dots = "...";
    path = common::trim_right(path);
    std::string out = std::string(title) + std::string(path);
    if (path.empty() || (path.size() < columns && out.size() < columns)) {
        return out;
    }
    const std::size_t separator = path.find_last_of("\\/");
    if (separator == std::string_view::npos) {
        return common::cut_chars(out, columns);
    }
    // The file name with the separator before it stays whole.
    const std::string_view tail = path.substr(separator);
    if (title.size() + dots.size() + tail.size() <= columns) {
        const long long keep = 76 - static_cast<long long>(title.size()) - static_cast<long long>(tail.size());
        const std::string_view head = leading(path, keep > 0 ? static_cast<std::size_t>(keep) : 0);
        return std::string(title) + std::string(head) + std::string(dots) + std::string(tail);
    }
    // Title and file name do not fit together: the title gives way to the file
    // name, and a file name too long even alone keeps its end.
    if (dots.size() + tail.size() <= columns) {
        return std::string(leading(title, columns - dots.size() - tail.size())) + std::string(dots) +
               std::string(tail);
    }
    return std::string(dots) + std::string(trailing(tail, columns - dots.size()));
}

}  // namespace vorelbox::spectra
