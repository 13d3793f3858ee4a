#pragma once
// What the readers of other instruments' files (Canberra CNF, N42, Amptek MCA,
// IEC 61455, TKA, column text) hand on: the spectra with their headers, the
// acquisition data for the page's pane, and what the user should be told.
// Each reader has a bytes layer (read_X_bytes) and a path layer (read_X_file).

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "digit_run.h"
#include "text_utils.h"

namespace vorelbox::spectra {

// What belongs to one spectrum of a file that holds several (the detectors or
// the time slices of an N42 file).
struct SpectrumFacts {
    std::string detector;
    std::string start;
    std::optional<double> real_time;
    std::optional<double> live_time;
    std::vector<double> energy;
};

// The acquisition data of a file, as the shared pane of these kinds shows them.
// Texts are one line each; a field the file does not hold stays empty.
struct AcquisitionPane {
    std::string format;      // "Canberra CNF", "ANSI N42.42-2012", ...
    std::string instrument;  // maker, model, serial number
    std::string detector;
    std::string sample;      // the sample title or description
    std::string start;       // start date and time, as the file writes it
    std::optional<double> real_time;  // seconds
    std::optional<double> live_time;
    // Energy = e0 + e1 * channel + e2 * channel^2 ... (channels counted from 0).
    std::vector<double> energy;
    // Calibration points: channel, energy.
    std::vector<std::pair<double, double>> points;
    int spectra_in_file = 0;  // every spectrum the file holds, those left out too
    // Each spectrum read, when there are several; the fields above then
    // describe the first.
    std::vector<SpectrumFacts> spectra;
};

// The pane as it describes spectrum k (1-based) of the file: that spectrum's
// own detector, start, times and energy calibration where the file holds
// several, blank where that spectrum has none.
AcquisitionPane pane_of_spectrum(const AcquisitionPane& pane, int k);

struct ForeignSpectrum {
    std::string header;  // one line: sample, detector, start
    std::vector<double> counts;
    std::string detector;
    std::string start;
    std::optional<double> real_time;
    std::optional<double> live_time;
    std::vector<double> energy;  // its own energy calibration, where the file gives each spectrum one
};

struct ForeignRead {
    std::vector<ForeignSpectrum> spectra;  // at least one unless `problem` is set
    AcquisitionPane pane;
    std::string description;  // the sample description of the page
    // What the user is told although the file was read: spectra left out,
    // counts beyond the declared channels. One message each.
    std::vector<std::string> notes;
    // Why nothing was read, naming the file; empty when the file was read.
    std::string problem;
    bool ok() const { return problem.empty() && !spectra.empty(); }
};

// A failed read with its message.
ForeignRead failed_read(std::string message);
// "Error reading file: NAME" and, on a line of its own, what is wrong.
ForeignRead read_error(const std::string& file_name, const std::string& reason);

// The bytes layer of a reader: the file's bytes and its name for the messages.
using ForeignParser = ForeignRead (*)(std::string_view bytes, const std::string& file_name);
// The path layer: reads the whole file (a regular file, within the input size
// limit) and hands its bytes to `parse`; a file that cannot be read is named
// with "Error opening the spectrum file: NAME" or the size limit's message.
ForeignRead read_foreign_bytes_of(const std::string& path, ForeignParser parse);

// The header of a converted spectrum: the non-empty parts joined by " - ", one line.
std::string foreign_header(std::initializer_list<std::string_view> parts);

// A time for a header, to two places: "live time 3385.54 s"; empty when unknown.
std::string time_part(const char* name, const std::optional<double>& seconds);
// "(f10.2)"-style seconds for the pane, blank when unknown.
std::string seconds_text(const std::optional<double>& seconds);
// A number with six significant digits at most: "552.31", "1e+06".
std::string compact_number(double value);
// Coefficients written with six significant digits, separated by blanks.
std::string coefficients_text(const std::vector<double>& values);
// "552.31 ch = 5.9, 607.2 ch = 6.49".
std::string points_text(const std::vector<std::pair<double, double>>& points);

// A count must be a whole number that a double holds exactly (|c| < 2^53); the
// native copy writes whole counts, so a fraction would be changed silently.
inline bool is_whole_count(double count) {
    constexpr double largest = 9007199254740992.0;  // 2^53
    // Below 2^53 the conversion to a 64-bit integer cannot overflow, and gives
    // the count back only when it has no fraction.
    return std::abs(count) < largest && static_cast<double>(static_cast<std::int64_t>(count)) == count;
}

// The numbers of a text, also when they touch: "8.0E-01-2.9E-08" is two numbers.
// Blanks, tabs, line ends, commas and semicolons separate numbers too. Nothing (std::nullopt)
// when the text holds anything else.
std::optional<std::vector<double>> touching_numbers(std::string_view text);

// Blanks, line ends, commas and semicolons separate numbers.
inline bool separates_numbers(char c) { return common::is_blank_char(c) || c == '\n' || c == ',' || c == ';'; }

// The same numbers read one at a time, for a reader that keeps no list of them.
class TouchingNumbers {
public:
    explicit TouchingNumbers(std::string_view text) : text_(text) {}

    // The next number; nothing at the end of the text, and nothing from then on
    // once something other than a number or a separator was met (failed()).
    std::optional<double> next() {
        while (at_ < text_.size() && separates_numbers(text_[at_])) {
            ++at_;
        }
        if (at_ == text_.size()) {
            return std::nullopt;
        }
        // A whole number of up to 15 digits that a separator or the end follows,
        // by far the most common, is read at once; it is exact in a double.
        const char* const begin = text_.data() + at_;
        const char* const end = text_.data() + text_.size();
        if (*begin >= '0' && *begin <= '9') {
            const DigitRun d = digit_run(begin, end, end);
            const char* const after = begin + d.count;
            if (d.count <= 15 && (after == end || separates_numbers(*after))) {
                at_ += static_cast<std::size_t>(d.count);
                return static_cast<double>(static_cast<std::int64_t>(d.value));
            }
        }
        return next_of_any_form();
    }
    bool failed() const { return failed_; }

private:
    std::optional<double> next_of_any_form();

    std::string_view text_;
    std::size_t at_ = 0;
    bool failed_ = false;
};

}  // namespace vorelbox::spectra
