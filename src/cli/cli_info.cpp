#include <algorithm>
#include <numeric>
#include <span>

#include "app_state.h"
#include "argument_reader.h"
#include "auto_answer_ui.h"
#include "check_spectrum_file.h"
#include "cli.h"
#include "cli_help.h"
#include "foreign_formats.h"
#include "free_format.h"
#include "json_writer.h"
#include "load_spectrum_file.h"
#include "text_utils.h"

namespace vorelbox::cli {
namespace {

struct InfoOptions {
    bool counts = false;
    bool answer_yes = false;
    std::string file;
    std::string error;  // a usage error
};

InfoOptions parse_info_options(const std::vector<std::string>& args) {
    InfoOptions o;
    common::ArgumentReader read(args);
    while (read.next()) {
        if (read.is_flag("--counts")) {
            o.counts = true;
        } else if (const auto answer = read.value("--answer")) {
            if (*answer != "yes" && *answer != "no") {
                read.fail("--answer takes yes or no");
            }
            o.answer_yes = *answer == "yes";
        } else if (read.plain(o.file)) {
            o.file = read.current();
        }
    }
    o.error = read.error();
    if (o.error.empty()) {
        o.error = bad_name_error({o.file});
    }
    if (o.error.empty() && o.file.empty()) {
        o.error = "no file given";
    }
    return o;
}

// A pane field shown as a number, as a JSON number; null when it is blank.
void number_field(common::JsonWriter& json, const char* key, const std::string& shown) {
    json.key(key);
    const auto value = common::parse_free_real(shown);
    if (value) {
        json.value(*value);
    } else {
        json.null();
    }
}

void text_field(common::JsonWriter& json, const char* key, const std::string& text) {
    json.key(key);
    json.value(text);
}

template <typename Range>
void number_array(common::JsonWriter& json, const char* key, const Range& values) {
    json.key(key);
    json.begin_array();
    for (const auto& v : values) {
        if constexpr (std::is_same_v<std::decay_t<decltype(v)>, std::string>) {
            const auto parsed = common::parse_free_real(v);
            parsed ? json.value(*parsed) : json.null();
        } else {
            json.value(static_cast<double>(v));
        }
    }
    json.end_array();
}

// The acquisition data of the other instruments' kinds; a field the file does not hold is null.
void write_foreign_acquisition(common::JsonWriter& json, const spectra::AcquisitionPane& p) {
    json.key("acquisition");
    json.begin_object();
    text_field(json, "format", p.format);
    text_field(json, "instrument", p.instrument);
    text_field(json, "detector", p.detector);
    text_field(json, "sample", p.sample);
    text_field(json, "start", p.start);
    for (const auto& [key, seconds] : {std::pair{"real_time_s", p.real_time}, std::pair{"live_time_s", p.live_time}}) {
        json.key(key);
        seconds ? json.value(*seconds) : json.null();
    }
    number_array(json, "energy_calibration", p.energy);
    json.key("calibration_points");
    json.begin_array();
    for (const auto& [channel, energy] : p.points) {
        json.begin_array();
        json.value(channel);
        json.value(energy);
        json.end_array();
    }
    json.end_array();
    json.key("spectra_in_file");
    json.value(p.spectra_in_file);
    json.end_object();
}

void write_acquisition(common::JsonWriter& json, const spectra::CheckResult& r) {
    if (r.maestro) {
        const auto& p = *r.maestro;
        json.key("acquisition");
        json.begin_object();
        json.key("detector_number");
        json.value(p.detector_number);
        json.key("segment_number");
        json.value(p.segment_number);
        text_field(json, "date", p.date);
        text_field(json, "start_time", p.start_time);
        number_field(json, "real_time_s", p.real_time);
        number_field(json, "live_time_s", p.live_time);
        text_field(json, "detector", p.detector);
        number_array(json, "energy_calibration", p.energy);
        number_array(json, "peak_shape_calibration", p.shape);
        json.end_object();
    } else if (r.spe) {
        const auto& p = *r.spe;
        json.key("acquisition");
        json.begin_object();
        number_field(json, "detector_number", p.detector_number);
        number_field(json, "segment_number", p.segment_number);
        number_field(json, "real_time_s", p.real_time);
        number_field(json, "live_time_s", p.live_time);
        text_field(json, "date_and_time", p.date_and_time);
        text_field(json, "detector", p.detector);
        json.key("energy_calibration");
        json.begin_array();
        for (const std::string& factor : {p.factor_a, p.factor_b}) {
            if (const auto v = common::parse_free_real(factor)) {
                json.value(*v);
            }
        }
        json.end_array();
        number_array(json, "fwhm_calibration", p.factors);
        number_array(json, "mca_calibration", p.mca_calibration);
        json.end_object();
    } else if (r.foreign) {
        write_foreign_acquisition(json, *r.foreign);
    } else if (r.tembra) {
        const auto& p = *r.tembra;
        json.key("acquisition");
        json.begin_object();
        text_field(json, "file", p.file);
        text_field(json, "sample", p.sample);
        text_field(json, "date", p.date);
        text_field(json, "e_kev", p.energy);
        text_field(json, "temp", p.temp);
        json.end_object();
    }
}

}  // namespace

void write_messages(common::JsonWriter& json, const std::vector<std::string>& messages) {
    json.key("messages");
    json.begin_array();
    for (std::string text : messages) {
        std::replace(text.begin(), text.end(), '\r', '\n');
        json.value(text);
    }
    json.end_array();
}

int cli_info(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const InfoOptions options = parse_info_options(args);
    if (!options.error.empty()) {
        return usage_error(out, err, "info", options.error);
    }

    core::AppState state;
    common::AutoAnswerUi ui(options.answer_yes);
    spectra::CheckResult r = spectra::CHECK_SPECTRUM_FILE(state.store, state.raw_files, ui, options.file);
    const std::string extension = common::LOWCASE(common::SPLITPATH(options.file).extension);
    if (r.type_code.empty() && (!spectra::is_identified_spectrum_name(options.file) || extension == ".txt")) {
        // A file whose name does not tell its kind is read as a native spectrum file;
        // so is a .txt file that is neither column text nor a native file, for its message.
        const spectra::LoadResult loaded = spectra::LOAD_SPECTRUM_FILE(state.store, ui, options.file);
        if (loaded.channel_count > 0) {
            r.type_code = spectra::TYPE_NATIVE;
            r.type_text = spectra::TYPE_TEXT_NATIVE;
            r.channels = loaded.channel_count;
            r.spectra = state.store.FILE_SPECTRUM_COUNT;
            r.format = loaded.format;
            r.description = state.store.FILE_SPECTRUM_HEADERS[0];
        }
    }
    const auto& store = state.store;
    const int spectra_count = r.channels > 0 ? r.spectra : 0;
    const auto channels = static_cast<std::size_t>(r.channels);

    common::JsonWriter json(out);
    json.begin_object();
    text_field(json, "file", options.file);
    if (r.file_name != options.file) {
        text_field(json, "identified_file", r.file_name);
    }
    text_field(json, "type", r.type_code);
    text_field(json, "type_text", r.type_text);
    json.key("channels");
    json.value(r.channels);
    json.key("spectra");
    json.value(spectra_count);
    json.key("format");
    r.format.empty() ? json.null() : json.value(r.format);
    text_field(json, "description", r.description);

    auto each_spectrum = [&](const char* name, auto&& write_one) {
        json.key(name);
        json.begin_array();
        for (int k = 1; k <= spectra_count; ++k) {
            const auto& column = store.FILE_SPECTRA[static_cast<std::size_t>(k - 1)];
            write_one(std::span<const double>(column.data(), channels), k);
        }
        json.end_array();
    };
    each_spectrum("headers", [&](std::span<const double>, int k) {
        json.value(store.FILE_SPECTRUM_HEADERS[static_cast<std::size_t>(k - 1)]);
    });
    each_spectrum("sums", [&](std::span<const double> counts, int) {
        json.value(std::accumulate(counts.begin(), counts.end(), 0.0));
    });
    each_spectrum("peaks", [&](std::span<const double> counts, int) {
        const auto peak = std::max_element(counts.begin(), counts.end());
        json.begin_array();
        json.value(static_cast<int>(peak - counts.begin()) + 1);
        json.value(*peak);
        json.end_array();
    });
    if (options.counts) {
        each_spectrum("counts", [&](std::span<const double> counts, int) {
            json.begin_array();
            for (const double c : counts) {
                json.value(c);
            }
            json.end_array();
        });
    }
    write_acquisition(json, r);
    write_messages(json, ui.messages());
    json.end_object();
    out << "\n";
    return spectra_count > 0 ? CLI_OK : CLI_FAILED;
}

}  // namespace vorelbox::cli
