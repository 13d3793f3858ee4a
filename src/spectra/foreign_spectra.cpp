#include "foreign_spectra.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "dialog_values.h"
#include "input_file.h"
#include "maestro_chn.h"
#include "text_utils.h"

namespace vorelbox::spectra {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }


// The length of the number at the start of `text`: a sign, digits with at most
// one point, an exponent (e or E, a sign, digits). 0 when there is none.
std::size_t number_length(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        ++i;
    }
    std::size_t digits = 0;
    while (i < text.size() && is_digit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && is_digit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return 0;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '-' || text[j] == '+')) {
            ++j;
        }
        const std::size_t exponent_start = j;
        while (j < text.size() && is_digit(text[j])) {
            ++j;
        }
        if (j > exponent_start) {
            i = j;
        }
    }
    return i;
}

}  // namespace

std::string compact_number(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6g", value);
    return buffer;
}

ForeignRead failed_read(std::string message) {
    ForeignRead r;
    r.problem = std::move(message);
    return r;
}

ForeignRead read_error(const std::string& file_name, const std::string& reason) {
    return failed_read("Error reading file: " + file_name + "\r" + reason);
}

ForeignRead read_foreign_bytes_of(const std::string& path, ForeignParser parse) {
    const common::InputFile file = common::read_input_file(path);
    if (!file.ok()) {
        return failed_read(common::input_problem_text(file, path, "Error opening the spectrum file: " + path));
    }
    return parse(file.text, path);
}

std::string foreign_header(std::initializer_list<std::string_view> parts) {
    std::string header;
    for (const std::string_view part : parts) {
        const std::string text = one_line(part);
        if (text.empty()) {
            continue;
        }
        if (!header.empty()) {
            header += " - ";
        }
        header += text;
    }
    return header;
}

std::string time_part(const char* name, const std::optional<double>& seconds) {
    if (!seconds) {
        return {};
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s %.2f s", name, *seconds);
    return buffer;
}

AcquisitionPane pane_of_spectrum(const AcquisitionPane& pane, int k) {
    AcquisitionPane shown = pane;
    if (k >= 1 && static_cast<std::size_t>(k) <= pane.spectra.size()) {
        const SpectrumFacts& f = pane.spectra[static_cast<std::size_t>(k - 1)];
        shown.detector = f.detector;
        shown.start = f.start;
        shown.real_time = f.real_time;
        shown.live_time = f.live_time;
        shown.energy = f.energy;
    }
    return shown;
}

std::string seconds_text(const std::optional<double>& seconds) {
    return seconds ? common::DLGSETREAL("(f10.2)", *seconds) : std::string();
}

std::string coefficients_text(const std::vector<double>& values) {
    std::string text;
    for (const double v : values) {
        if (!text.empty()) {
            text += ' ';
        }
        text += compact_number(v);
    }
    return text;
}

std::string points_text(const std::vector<std::pair<double, double>>& points) {
    std::string text;
    for (const auto& [channel, energy] : points) {
        if (!text.empty()) {
            text += ", ";
        }
        text += compact_number(channel) + " ch = " + compact_number(energy);
    }
    return text;
}


std::optional<double> TouchingNumbers::next_of_any_form() {
    const std::size_t length = number_length(text_.substr(at_));
    std::string_view number = text_.substr(at_, length);
    if (!number.empty() && number.front() == '+') {
        number.remove_prefix(1);
    }
    double value = 0;
    const auto [stop, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (length == 0 || ec != std::errc() || stop != number.data() + number.size() || !std::isfinite(value)) {
        failed_ = true;
        at_ = text_.size();
        return std::nullopt;
    }
    at_ += length;
    return value;
}

std::optional<std::vector<double>> touching_numbers(std::string_view text) {
    TouchingNumbers numbers(text);
    std::vector<double> values;
    while (const auto v = numbers.next()) {
        values.push_back(*v);
    }
    if (numbers.failed()) {
        return std::nullopt;
    }
    return values;
}

}  // namespace vorelbox::spectra
