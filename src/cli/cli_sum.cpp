#include <chrono>
#include <ctime>

#include "app_state.h"
#include "argument_reader.h"
#include "auto_answer_ui.h"
#include "cli.h"
#include "cli_help.h"
#include "json_writer.h"
#include "input_file.h"
#include "save_list_spectra.h"
#include "text_lines.h"
#include "text_utils.h"

namespace vorelbox::cli {
namespace {

struct SumOptions {
    std::string list_file;
    std::string out_file;
    std::optional<adder::SaveMode> mode;
    std::optional<std::string> label;
    std::string error;
};

SumOptions parse_sum_options(const std::vector<std::string>& args) {
    SumOptions o;
    common::ArgumentReader read(args);
    while (read.next()) {
        if (const auto m = read.value("--mode")) {
            if (*m == "spectra") {
                o.mode = adder::SaveMode::Spectra;
            } else if (*m == "sum") {
                o.mode = adder::SaveMode::Sum;
            } else if (*m == "both") {
                o.mode = adder::SaveMode::Both;
            } else {
                read.fail("--mode takes spectra, sum or both");
            }
        } else if (const auto out = read.value("-o")) {
            o.out_file = *out;
        } else if (const auto label = read.value("--label")) {
            o.label = *label;
        } else if (read.plain(o.list_file)) {
            o.list_file = read.current();
        }
    }
    o.error = read.error();
    if (o.error.empty() && (o.list_file.empty() || o.out_file.empty() || !o.mode)) {
        o.error = "a list, --mode and -o are needed";
    }
    if (o.error.empty()) {
        o.error = bad_name_error({o.list_file, o.out_file});
    }
    return o;
}

// The first row of the list file whose spectrum file does not exist, as a message.
std::optional<std::string> missing_row(const std::string& text) {
    common::Lines lines(common::without_bom(text));
    lines.next();
    int row = 0;
    while (auto line = lines.next()) {
        if (common::is_blank(*line)) {
            continue;
        }
        ++row;
        const auto fields = adder::split_row_line(*line);
        if (fields && common::has_control_char(fields->file)) {
            return "row " + std::to_string(row) + " names a spectrum file with a control character in its name: " +
                   common::shown_name(fields->file);
        }
        if (fields && !fields->file.empty() && !common::file_exists(fields->file)) {
            return "row " + std::to_string(row) + " names a spectrum file that does not exist: " + fields->file;
        }
    }
    return std::nullopt;
}

}  // namespace

int cli_sum(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const SumOptions o = parse_sum_options(args);
    if (!o.error.empty()) {
        return usage_error(out, err, "sum", o.error);
    }
    core::AppState state;
    common::AutoAnswerUi ui(false);
    std::string error;
    const common::InputFile text = common::read_input_file(o.list_file);
    if (!text.ok()) {
        error = common::input_problem_text(text, o.list_file, "Can't open the file: " + o.list_file);
    } else if (const auto missing = missing_row(text.text)) {
        error = *missing;
    } else if (!adder::LOAD_SPECTLIST(state.adder.list, state.store, state.raw_files, state.adder.recent_lists, ui,
                                      o.list_file)) {
        error = "Error reading Spectrum list: " + o.list_file;
    } else if (state.adder.list.rows.empty()) {
        error = "There is nothing to save";
    } else if (const auto warning = adder::too_many_spectra(state.adder.list, *o.mode)) {
        error = warning->substr(0, warning->find('\r'));
    }
    const adder::SpectrumList& list = state.adder.list;
    std::optional<std::string> label;
    std::string format;
    if (error.empty()) {
        if (*o.mode != adder::SaveMode::Spectra) {
            label = o.label && !common::is_blank(*o.label) ? *o.label
                                                           : adder::default_sum_label(list.channels, adder::local_time_now());
        }
        format = adder::list_count_format(list, *o.mode, adder::list_sum(list));
        if (const auto saved = adder::write_list_spectra(o.out_file, list, *o.mode, label); !saved) {
            error = save_error("Unable to write spectrum file " + o.out_file, saved);
        }
    }

    common::JsonWriter json(out);
    json.begin_object();
    json.key("file");
    json.value(o.out_file);
    json.key("rows");
    json.value(error.empty() ? list.row_count() : 0);
    json.key("channels");
    json.value(error.empty() ? list.channels : 0);
    json.key("format");
    format.empty() || !error.empty() ? json.null() : json.value(format);
    json.key("label");
    label && error.empty() ? json.value(*label) : json.null();
    write_messages(json, ui.messages());
    if (!error.empty()) {
        json.key("error");
        json.value(error);
        err << "vorelbox-cli sum: " << error << "\n";
    }
    json.end_object();
    out << "\n";
    return error.empty() ? CLI_OK : CLI_FAILED;
}

}  // namespace vorelbox::cli
