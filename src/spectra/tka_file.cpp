#include "tka_file.h"

#include "free_format.h"
#include "maestro_chn.h"
#include "spectrum_store.h"
#include "text_lines.h"
#include "text_utils.h"

namespace vorelbox::spectra {

ForeignRead read_tka_bytes(std::string_view bytes, const std::string& file_name) {
    std::vector<double> values;
    common::Lines lines(common::without_bom(bytes));
    int line_number = 0;
    while (const auto line = lines.next()) {
        ++line_number;
        if (common::is_blank(*line)) {
            continue;
        }
        const auto value = common::parse_free_real(*line);
        if (!value) {
            return read_error(file_name, "Line " + std::to_string(line_number) + " is not a number: " +
                                             common::cut_chars(one_line(*line), 40));
        }
        if (values.size() >= 2 && !is_whole_count(*value)) {
            return read_error(file_name, "Line " + std::to_string(line_number) +
                                             " holds a count that is not a whole number: " + std::string(common::trim(*line)));
        }
        if (values.size() >= static_cast<std::size_t>(MAX_CHANNELS)) {
            return failed_read(too_many_channels_text(file_name, 0));
        }
        values.push_back(*value);
    }
    if (values.size() < 3) {
        return read_error(file_name, "A TKA file holds the live time, the real time and then the counts; this one holds " +
                                         std::to_string(values.size()) + " numbers");
    }
    ForeignRead r;
    ForeignSpectrum s;
    s.live_time = values[0];
    s.real_time = values[1];
    values[0] = 0;
    values[1] = 0;
    s.counts = std::move(values);
    s.header = foreign_header({common::name_with_extension(file_name), time_part("live time", s.live_time),
                               time_part("real time", s.real_time)});
    r.pane.format = "TKA";
    r.pane.live_time = s.live_time;
    r.pane.real_time = s.real_time;
    r.pane.spectra_in_file = 1;
    r.spectra.push_back(std::move(s));
    return r;
}

ForeignRead read_tka_file(const std::string& path) { return read_foreign_bytes_of(path, read_tka_bytes); }

}  // namespace vorelbox::spectra
