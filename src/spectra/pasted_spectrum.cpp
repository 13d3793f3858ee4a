#include "pasted_spectrum.h"

#include <filesystem>
#include <fstream>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

#include "detect_format.h"
#include "os_path.h"
#include "spectrum_store.h"
#include "free_format.h"
#include "input_file.h"
#include "text_utils.h"
#include "write_spectrum_file.h"

namespace vorelbox::spectra {
namespace {

// Non-blank lines looked at to see how many values a line holds.
constexpr int lines_to_look_at = 20;
// The smallest positive value while none has been seen.
constexpr double no_positive_value = 1.0E20;
// Values all at most this large, with a positive step below step_limit, look
// like fractions of a count and may be rescaled.
constexpr double small_values_limit = 2.0;
constexpr double step_limit = 0.99;

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_line_end(char c) { return c == '\r' || c == '\n'; }
bool is_token_separator(char c) { return c == ' ' || c == '\t' || is_line_end(c); }

std::string_view without_bom(std::string_view text) {
    constexpr std::string_view bom = "\xEF\xBB\xBF";
    if (text.substr(0, bom.size()) == bom) {
        text.remove_prefix(bom.size());
    }
    return text;
}

// The line with every comma that stands between two digits made a decimal point,
// so that "1,5" counts as one value and not as two.
std::string with_decimal_points(std::string_view line) {
    std::string out(line);
    for (std::size_t i = 1; i + 1 < out.size(); ++i) {
        if (out[i] == ',' && is_digit(out[i - 1]) && is_digit(out[i + 1])) {
            out[i] = '.';
        }
    }
    return out;
}

// The most values found on one of the first non-blank lines; 0 when none holds
// values. CR, LF and CR LF all end a line.
int values_per_line(std::string_view text) {
    int most = 0;
    int looked_at = 0;
    std::size_t pos = 0;
    while (pos < text.size() && looked_at < lines_to_look_at) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (common::is_blank(line)) {
            continue;
        }
        ++looked_at;
        most = std::max(most, DETECT_FORMAT(with_decimal_points(line)).n);
    }
    return most;
}

struct PastedValues {
    std::vector<double> values;
    double largest = std::numeric_limits<double>::lowest();
    double smallest_positive = no_positive_value;
};

// Every value of the text in order; nothing, after a warning, when a token is not a number.
std::optional<PastedValues> read_values(common::Ui& ui, std::string_view text) {
    PastedValues read;
    std::string number;
    std::size_t pos = 0;
    while (true) {
        while (pos < text.size() && is_token_separator(text[pos])) {
            ++pos;
        }
        if (pos == text.size()) {
            break;
        }
        const std::size_t begin = pos;
        while (pos < text.size() && !is_token_separator(text[pos])) {
            ++pos;
        }
        const std::string_view token = text.substr(begin, pos - begin);
        if (token.find(';') != std::string_view::npos) {
            WARN(ui, "You seem to be pasting more than one coloumn - retry with a single");
            return std::nullopt;
        }
        // A comma at the end separates values; any other comma is a decimal comma.
        number.assign(token);
        if (number.back() == ',') {
            number.pop_back();
        }
        std::replace(number.begin(), number.end(), ',', '.');
        const auto value = common::parse_free_real(number);
        if (!value) {
            std::string message = "The pasted data contains non-numbers: \"";
            message += token;
            message += '"';
            WARN(ui, message);
            return std::nullopt;
        }
        if (read.values.size() == static_cast<std::size_t>(MAX_CHANNELS)) {
            WARN(ui, "The pasted data holds more than " + std::to_string(MAX_CHANNELS) + " values; at most " +
                         std::to_string(MAX_CHANNELS) + " channels can be read");
            return std::nullopt;
        }
        read.values.push_back(*value);
        read.largest = std::max(read.largest, *value);
        if (*value > 0.0) {
            read.smallest_positive = std::min(read.smallest_positive, *value);
        }
    }
    return read;
}

// The value in its shortest form without an exponent, e.g. "0.1" or "0.00025".
std::string plain_number(double value) {
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed);
    if (result.ec != std::errc{}) {
        return {};
    }
    return std::string(buffer.data(), result.ptr);
}

}  // namespace

bool CLIPBOARDTOFILE(common::Clipboard& clipboard, RawFileTable& files, common::Ui& ui,
                     const std::string& file_name) {
    const auto text = clipboard.text();
    if (!text) {
        WARN(ui, "Lock error");
        return false;
    }
    CLOSE_FILE(files, CLIPBOARD_UNIT);
    const common::SaveResult stored = common::replace_file(file_name, [&text](std::ostream& out) {
        out << *text;
        return static_cast<bool>(out);
    });
    if (!stored) {
        WARN(ui, common::save_failure_text("Problem storing text in " + file_name, stored));
        return false;
    }
    return true;
}

void WRITETOCLIPBOARD(common::Clipboard& clipboard, std::string_view text) {
    clipboard.set_text(std::string(common::trim_right(text)));
}

std::optional<PastedSpectrum> check_pasted_text(common::Ui& ui, std::string_view text, int list_channels) {
    text = without_bom(text);
    const int per_line = values_per_line(text);
    if (per_line == 0) {
        WARN(ui, "The Clipboard contains no spectrum");
        return std::nullopt;
    }
    if (per_line > 1) {
        std::string question = "You seem to be pasting more than one coloumn";
        question += '\r';
        question += "Accept as a multicoloumn spectrum (Yes) or Retry with a single (No)";
        if (!ASK_YN(ui, question)) {
            return std::nullopt;
        }
    }
    auto read = read_values(ui, text);
    if (!read) {
        return std::nullopt;
    }
    PastedSpectrum pasted{std::move(read->values)};
    std::vector<double>& counts = pasted.counts;

    if (list_channels > 0) {
        const auto wanted = static_cast<std::size_t>(list_channels);
        if (counts.size() > wanted) {
            counts.resize(wanted);
            TELL(ui, "Reduce number of pasted channels");
        } else if (counts.size() < wanted) {
            counts.resize(wanted, 0.0);
            TELL(ui, "The pasted spectrum is padded with 0-es to fit the number of channels in the list");
        }
    }

    // The largest and smallest positive values are those of everything pasted,
    // including values cut off above.
    if (read->largest <= small_values_limit && read->smallest_positive < step_limit) {
        std::string question = "All values are small (< 2.0) shall I rescale using then smallest step ";
        question += plain_number(read->smallest_positive);
        question += " as a single count?";
        if (ASK_YN(ui, question)) {
            const double scale = 1.0 / read->smallest_positive;
            for (double& c : counts) {
                c *= scale;
            }
        }
    }
    if (read->largest <= 0.0) {
        WARN(ui, "The spectrum contains all zeroes");
    }
    return pasted;
}

common::SaveResult write_pasted_spectrum(const std::string& path, const PastedSpectrum& pasted) {
    // Spectrum files hold whole counts: a value that is not a whole number (one
    // pasted with decimals, or rescaled) is rounded to the nearest integer, halves
    // away from zero, so 1.5 is written as 2 and 0.3 as 0.
    std::vector<double> counts(pasted.counts.size());
    std::transform(pasted.counts.begin(), pasted.counts.end(), counts.begin(),
                   [](double c) { return std::round(c); });
    const std::vector<SpectrumToWrite> spectra{{std::string(PASTED_HEADER), counts}};
    return write_spectrum_file(path, spectra, count_format_for(spectra));
}

PasteResult CHECK_PASTED_SPECTRA(common::Ui& ui, const std::string& file_name, int list_channels) {
    PasteResult result;
    std::string cannot_open = "Error opening the newly pasted spectrum in ";
    cannot_open += file_name;
    const common::InputFile file = common::read_input_file(file_name);
    if (!file.ok()) {
        WARN(ui, common::input_problem_text(file, file_name, cannot_open));
        return result;
    }
    const auto pasted = check_pasted_text(ui, file.text, list_channels);
    if (!pasted) {
        return result;
    }
    if (const common::SaveResult saved = write_pasted_spectrum(file_name, *pasted); !saved) {
        WARN(ui, common::save_failure_text(cannot_open, saved));
        return result;
    }
    result.ok = true;
    result.channels = static_cast<int>(pasted->counts.size());
    return result;
}

std::string pasted_spectrum_path(const std::string& program_folder) {
    namespace fs = std::filesystem;
    constexpr const char* pasted_name = "pasted_spectrum.tmp";
    std::error_code ec;
    if (!program_folder.empty()) {
        const fs::path probe = common::os_path(program_folder) / pasted_name;
        const bool existed = fs::exists(probe, ec);
        if (std::ofstream(probe, std::ios::app)) {
            if (!existed) {
                fs::remove(probe, ec);
            }
            return common::utf8_path(probe);
        }
    }
    return common::utf8_path(fs::temp_directory_path(ec) / pasted_name);
}

std::string new_pasted_spectrum_path(const std::string& program_folder) {
    const std::string first = pasted_spectrum_path(program_folder);
    const common::PathParts parts = common::SPLITPATH(first);
    std::string path = first;
    std::error_code ec;
    for (int n = 2; std::filesystem::exists(common::os_path(path), ec); ++n) {
        path = parts.drive + parts.directory + parts.name + "_" + std::to_string(n) + parts.extension;
    }
    return path;
}

bool is_pasted_spectrum_file(const std::string& path) {
    const common::PathParts parts = common::SPLITPATH(path);
    constexpr std::string_view stem = "pasted_spectrum";
    if (common::LOWCASE(parts.extension) != ".tmp" || parts.name.rfind(stem, 0) != 0) {
        return false;
    }
    const std::string_view rest = std::string_view(parts.name).substr(stem.size());
    return rest.empty() || (rest.size() > 1 && rest[0] == '_' &&
                            std::all_of(rest.begin() + 1, rest.end(), [](char c) { return is_digit(c); }));
}

}  // namespace vorelbox::spectra
