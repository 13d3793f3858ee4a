#include "iec_61455.h"

#include <algorithm>

#include "maestro_chn.h"
#include "spectrum_store.h"
#include "text_lines.h"
#include "text_utils.h"

namespace vorelbox::spectra {
namespace {

constexpr std::size_t code_length = 4;
constexpr int first_data_record = 59;

bool is_record(std::string_view line) {
    return line.size() >= code_length && line[0] == 'A' &&
           std::all_of(line.begin() + 1, line.begin() + code_length, [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && common::is_blank_char(text[i])) {
            ++i;
        }
        const std::size_t start = i;
        while (i < text.size() && !common::is_blank_char(text[i])) {
            ++i;
        }
        if (i > start) {
            out.push_back(text.substr(start, i - start));
        }
    }
    return out;
}

std::string record_text(int record) { return "Record " + std::to_string(record); }

}  // namespace

ForeignRead read_iec_bytes(std::string_view bytes, const std::string& file_name) {
    std::string system, detector, start, sample;
    std::optional<double> live_time, real_time;
    long long declared = -1;
    std::vector<double> energy;
    std::vector<std::pair<double, double>> points;
    std::vector<double> counts;
    bool beyond = false;  // counts other than 0 after the declared channels

    common::Lines lines(common::without_bom(bytes));
    int line_number = 0;
    int record = 0;
    while (const auto line = lines.next()) {
        ++line_number;
        if (common::is_blank(*line)) {
            continue;
        }
        if (!is_record(*line)) {
            return read_error(file_name, "Line " + std::to_string(line_number) + " is no IEC 61455 record: " +
                                             common::cut_chars(one_line(*line), 40));
        }
        ++record;
        const std::string_view body = line->substr(code_length);
        if (record == 1) {
            const auto w = words(body);
            // A blank system name leaves the detector first.
            const bool named = !body.empty() && !common::is_blank_char(body.front());
            if (named && !w.empty()) {
                system = one_line(w[0]);
            }
            if (w.size() > (named ? 1u : 0u)) {
                detector = one_line(w[named ? 1 : 0]);
            }
            continue;
        }
        if (record == 3) {
            const auto w = words(body);
            for (std::size_t k = 0; k < std::min<std::size_t>(w.size(), 2); ++k) {
                start += (k ? " " : "") + one_line(w[k]);
            }
            continue;
        }
        if ((record >= 6 && record <= 9)) {
            const std::string text = one_line(body);
            if (!text.empty()) {
                sample += (sample.empty() ? "" : " ") + text;
            }
            continue;
        }
        if (record != 2 && record != 4 && !(record >= 11 && record <= 22) && record < first_data_record) {
            continue;
        }
        const auto values = touching_numbers(body);
        if (!values) {
            return read_error(file_name, record_text(record) + " (line " + std::to_string(line_number) +
                                             ") holds something other than numbers: " + common::cut_chars(one_line(body), 40));
        }
        if (record == 2) {
            if (values->size() != 3 || !is_whole_count((*values)[2]) || (*values)[2] < 1) {
                return read_error(file_name, record_text(2) + " must hold the live time, the real time and the number of channels");
            }
            if ((*values)[2] > MAX_CHANNELS) {
                return failed_read(too_many_channels_text(file_name, static_cast<std::int64_t>((*values)[2])));
            }
            live_time = (*values)[0];
            real_time = (*values)[1];
            declared = static_cast<long long>((*values)[2]);
        } else if (record == 4) {
            if (std::any_of(values->begin(), values->end(), [](double v) { return v != 0; })) {
                energy = *values;
            }
        } else if (record <= 22) {
            // Energy and channel pairs; a pair of zeros is an empty place.
            for (std::size_t k = 0; k + 1 < values->size(); k += 2) {
                if ((*values)[k] != 0 || (*values)[k + 1] != 0) {
                    points.emplace_back((*values)[k + 1], (*values)[k]);
                }
            }
        } else {
            if (declared < 0) {
                return read_error(file_name, record_text(2) + " must hold the live time, the real time and the number of channels");
            }
            if (values->empty()) {
                continue;
            }
            const auto expected = static_cast<double>(counts.size());
            if ((*values)[0] != expected && !(beyond || static_cast<long long>(counts.size()) >= declared)) {
                return read_error(file_name, record_text(record) + " starts at channel " +
                                                 common::cut_chars(one_line(words(body).front()), 20) + " where channel " +
                                                 std::to_string(counts.size()) + " comes next");
            }
            for (std::size_t k = 1; k < values->size(); ++k) {
                const double count = (*values)[k];
                if (static_cast<long long>(counts.size()) >= declared) {
                    beyond = beyond || count != 0;
                    continue;
                }
                if (!is_whole_count(count)) {
                    return read_error(file_name, record_text(record) + " holds a count that is not a whole number");
                }
                counts.push_back(count);
            }
        }
    }
    if (declared < 0) {
        return read_error(file_name, "The file holds no record 2 with the number of channels");
    }
    if (static_cast<long long>(counts.size()) < declared) {
        return read_error(file_name, "The file holds the counts of " + std::to_string(counts.size()) + " of its " +
                                         std::to_string(declared) + " channels");
    }
    ForeignRead r;
    if (beyond) {
        r.notes.push_back("The file " + file_name + " holds counts beyond its " + std::to_string(declared) +
                          " channels; they are not read");
    }
    r.pane.format = "IEC 61455";
    r.pane.instrument = system;
    r.pane.detector = detector;
    r.pane.sample = sample;
    r.pane.start = start;
    r.pane.live_time = live_time;
    r.pane.real_time = real_time;
    r.pane.energy = energy;
    r.pane.points = points;
    r.pane.spectra_in_file = 1;
    r.description = sample;
    ForeignSpectrum s;
    s.header = foreign_header({sample.empty() ? common::name_with_extension(file_name) : sample, start});
    s.detector = detector;
    s.start = start;
    s.live_time = live_time;
    s.real_time = real_time;
    s.counts = std::move(counts);
    r.spectra.push_back(std::move(s));
    return r;
}

ForeignRead read_iec_file(const std::string& path) { return read_foreign_bytes_of(path, read_iec_bytes); }

}  // namespace vorelbox::spectra
