#include <algorithm>

#include "app_state.h"
#include "auto_answer_ui.h"
#include "check_spectrum_file.h"
#include "cli.h"
#include "cli_help.h"
#include "argument_reader.h"
#include "json_writer.h"

namespace vorelbox::cli {
namespace {

struct ExtractOptions {
    std::string file;
    std::string out_file;
    long long spectrum = 1;
    std::optional<long long> first;
    std::optional<long long> last;
    bool append = false;
    bool force = false;  // append to a file whose spectra have another channel count
    std::string error;
};

ExtractOptions parse_extract_options(const std::vector<std::string>& args) {
    ExtractOptions o;
    common::ArgumentReader read(args);
    while (read.next()) {
        if (const auto k = read.number("--spectrum")) {
            o.spectrum = *k;
        } else if (const auto f = read.number("--first")) {
            o.first = f;
        } else if (const auto l = read.number("--last")) {
            o.last = l;
        } else if (read.is_flag("--append")) {
            o.append = true;
        } else if (read.is_flag("--force")) {
            o.force = true;
        } else if (const auto out = read.value("-o")) {
            o.out_file = *out;
        } else if (read.plain(o.file)) {
            o.file = read.current();
        }
    }
    o.error = read.error();
    if (o.error.empty() && (o.file.empty() || o.out_file.empty())) {
        o.error = "a file and -o are needed";
    }
    if (o.error.empty()) {
        o.error = bad_name_error({o.file, o.out_file});
    }
    return o;
}

}  // namespace

int cli_extract(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const ExtractOptions o = parse_extract_options(args);
    if (!o.error.empty()) {
        return usage_error(out, err, "extract", o.error);
    }
    core::AppState state;
    common::AutoAnswerUi ui(false);
    const spectra::CheckResult r = spectra::CHECK_SPECTRUM_FILE(state.store, state.raw_files, ui, o.file);
    std::string error;
    int first = 1;
    int last = r.channels;
    std::string header;
    if (r.channels <= 0) {
        error = "This is not a proper spectrum file";
    } else if (o.spectrum < 1 || o.spectrum > r.spectra) {
        error = "the file holds no spectrum " + std::to_string(o.spectrum);
    } else {
        // A window outside the spectrum is clamped to it.
        first = static_cast<int>(std::clamp<long long>(o.first.value_or(1), 1, r.channels));
        last = static_cast<int>(std::clamp<long long>(o.last.value_or(r.channels), first, r.channels));
        header = r.headers[static_cast<std::size_t>(o.spectrum - 1)];
        const auto& column = state.store.FILE_SPECTRA[static_cast<std::size_t>(o.spectrum - 1)];
        const std::vector<double> counts(column.begin(), column.begin() + r.channels);
        const auto mismatch = o.append && !o.force ? converter::append_mismatch(o.out_file, last - first + 1)
                                                   : std::nullopt;
        if (mismatch) {
            error = *mismatch + "; nothing is appended (--force appends anyway)";
            std::replace(error.begin(), error.end(), '\r', ' ');
        } else if (const common::SaveResult saved = converter::write_converted_spectrum(
                       o.out_file, header, converter::window_counts(counts, first, last, false), o.append);
                   !saved) {
            error = save_error(
                (o.append ? "Error writing the new spectrum file " : "Error creating the new spectrum file ") + o.out_file,
                saved);
        }
    }

    common::JsonWriter json(out);
    json.begin_object();
    json.key("file");
    json.value(o.out_file);
    json.key("source");
    json.value(r.file_name);
    json.key("type");
    json.value(r.type_code);
    json.key("spectrum");
    json.value(static_cast<double>(o.spectrum));
    json.key("first");
    json.value(error.empty() ? first : 0);
    json.key("last");
    json.value(error.empty() ? last : 0);
    json.key("header");
    json.value(header);
    json.key("appended");
    json.value(o.append && error.empty());
    write_messages(json, ui.messages());
    if (!error.empty()) {
        json.key("error");
        json.value(error);
        err << "vorelbox-cli extract: " << error << "\n";
    }
    json.end_object();
    out << "\n";
    return error.empty() ? CLI_OK : CLI_FAILED;
}

}  // namespace vorelbox::cli
