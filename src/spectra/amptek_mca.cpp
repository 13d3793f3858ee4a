#include "amptek_mca.h"

#include "free_format.h"
#include "maestro_chn.h"
#include "spectrum_store.h"
#include "text_lines.h"
#include "text_utils.h"

namespace vorelbox::spectra {
namespace {

// "<<DATA>>" gives "DATA"; a line that is no section heading gives nothing.
std::optional<std::string> section_name(std::string_view line) {
    line = common::trim(line);
    if (line.size() < 4 || line.substr(0, 2) != "<<" || line.substr(line.size() - 2) != ">>") {
        return std::nullopt;
    }
    return common::CAPS(common::trim(line.substr(2, line.size() - 4)));
}

// "LIVE_TIME - 200.0" and "Serial Number: 2524": the key and the value.
std::optional<std::pair<std::string, std::string>> key_value(std::string_view line, std::string_view separator) {
    const std::size_t at = line.find(separator);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    return std::pair{common::CAPS(common::trim(line.substr(0, at))),
                     one_line(line.substr(at + separator.size()))};
}

struct Mca {
    std::string description, start, device, serial;
    std::optional<double> live_time, real_time;
    std::vector<std::pair<double, double>> points;
    std::vector<double> counts;
    bool has_data = false;
};

}  // namespace

ForeignRead read_mca_bytes(std::string_view bytes, const std::string& file_name) {
    Mca m;
    std::string section;
    common::Lines lines(common::without_bom(bytes));
    int line_number = 0;
    while (const auto line = lines.next()) {
        ++line_number;
        if (const auto name = section_name(*line)) {
            section = *name;
            m.has_data = m.has_data || section == "DATA";
            continue;
        }
        if (common::is_blank(*line)) {
            continue;
        }
        if (section == "PMCA SPECTRUM") {
            const auto kv = key_value(*line, " - ");
            if (!kv) {
                continue;
            }
            const auto& [key, value] = *kv;
            if (key == "DESCRIPTION") {
                m.description = value;
            } else if (key == "START_TIME") {
                m.start = value;
            } else if (key == "LIVE_TIME") {
                m.live_time = common::parse_free_real(value);
            } else if (key == "REAL_TIME") {
                m.real_time = common::parse_free_real(value);
            } else if (key == "SERIAL_NUMBER" && m.serial.empty() && value != "0") {
                m.serial = value;
            }
        } else if (section == "CALIBRATION") {
            const auto pair = touching_numbers(*line);
            if (pair && pair->size() == 2) {
                m.points.emplace_back((*pair)[0], (*pair)[1]);
            }
        } else if (section == "DATA") {
            const auto count = common::parse_free_real(*line);
            if (!count || !is_whole_count(*count)) {
                return read_error(file_name, "Line " + std::to_string(line_number) +
                                                 " of the <<DATA>> section is not a count: " +
                                                 common::cut_chars(one_line(*line), 40));
            }
            if (m.counts.size() >= static_cast<std::size_t>(MAX_CHANNELS)) {
                return failed_read(too_many_channels_text(file_name, 0));
            }
            m.counts.push_back(*count);
        } else if (section == "DPP STATUS") {
            if (const auto kv = key_value(*line, ":")) {
                if (kv->first == "DEVICE TYPE") {
                    m.device = kv->second;
                } else if (kv->first == "SERIAL NUMBER") {
                    m.serial = kv->second;
                }
            }
        }
    }
    if (!m.has_data) {
        return read_error(file_name, "An Amptek MCA file holds its counts in a <<DATA>> section; this file has none");
    }
    if (m.counts.empty()) {
        return read_error(file_name, "The <<DATA>> section holds no counts");
    }
    ForeignRead r;
    r.pane.format = "Amptek MCA";
    r.pane.instrument = foreign_header({m.device, m.serial.empty() ? "" : "serial " + m.serial});
    r.pane.sample = m.description;
    r.pane.start = m.start;
    r.pane.live_time = m.live_time;
    r.pane.real_time = m.real_time;
    r.pane.points = m.points;
    r.pane.spectra_in_file = 1;
    r.description = m.description;
    ForeignSpectrum s;
    s.header = foreign_header({m.description.empty() ? common::name_with_extension(file_name) : m.description, m.start});
    s.start = m.start;
    s.live_time = m.live_time;
    s.real_time = m.real_time;
    s.counts = std::move(m.counts);
    r.spectra.push_back(std::move(s));
    return r;
}

ForeignRead read_mca_file(const std::string& path) { return read_foreign_bytes_of(path, read_mca_bytes); }

}  // namespace vorelbox::spectra
