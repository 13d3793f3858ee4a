#include "cli_column.h"

#include <algorithm>
#include <optional>

#include "auto_answer_ui.h"
#include "cli.h"
#include "cli_help.h"
#include "free_format.h"
#include "json_writer.h"
#include "input_file.h"
#include "spectrum_store.h"
#include "pasted_spectrum.h"

namespace vorelbox::cli {
namespace {

constexpr long long max_channels = spectra::MAX_CHANNELS;

struct ColumnOptions {
    int channels = 0;
    bool answer_yes = false;
    std::string text_file;
    std::string out_file;
    std::string error;  // a usage error
};

// The value of an option given as "--name VALUE" or "--name=VALUE"; nothing when
// `args[i]` is not that option. Moves `i` past a separate value.
std::optional<std::string> option_value(const std::vector<std::string>& args, std::size_t& i,
                                        const std::string& name, bool& missing) {
    const std::string& a = args[i];
    if (a == name) {
        if (i + 1 >= args.size()) {
            missing = true;
            return std::string();
        }
        return args[++i];
    }
    if (a.size() > name.size() && a.compare(0, name.size(), name) == 0 && a[name.size()] == '=') {
        return a.substr(name.size() + 1);
    }
    return std::nullopt;
}

ColumnOptions parse_column_options(const std::vector<std::string>& args) {
    ColumnOptions o;
    bool missing = false;
    for (std::size_t i = 0; i < args.size() && o.error.empty(); ++i) {
        const std::string& a = args[i];
        if (const auto v = option_value(args, i, "--channels", missing)) {
            const auto n = common::parse_free_integer(*v);
            if (missing || !n || *n < 0 || *n > max_channels) {
                o.error = "--channels takes a number of channels";
            } else {
                o.channels = static_cast<int>(*n);
            }
        } else if (const auto v = option_value(args, i, "--answer", missing)) {
            if (*v != "yes" && *v != "no") {
                o.error = "--answer takes yes or no";
            }
            o.answer_yes = *v == "yes";
        } else if (const auto v = option_value(args, i, "-o", missing)) {
            if (missing || v->empty()) {
                o.error = "-o takes the file to write";
            } else if (!o.out_file.empty()) {
                o.error = "only one output file can be given";
            }
            o.out_file = *v;
        } else if (a.size() > 1 && a.front() == '-') {
            o.error = "unknown option: " + a;
        } else if (o.text_file.empty()) {
            o.text_file = a;
        } else {
            o.error = "only one text file can be given";
        }
    }
    if (o.error.empty()) {
        o.error = bad_name_error({o.text_file, o.out_file});
    }
    if (o.error.empty() && o.text_file.empty()) {
        o.error = "no text file given";
    } else if (o.error.empty() && o.out_file.empty()) {
        o.error = "no output file given (-o OUT.dat)";
    }
    return o;
}

}  // namespace

int cli_column(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const ColumnOptions options = parse_column_options(args);
    if (!options.error.empty()) {
        return usage_error(out, err, "column", options.error);
    }

    common::AutoAnswerUi ui(options.answer_yes);
    const common::InputFile text = common::read_input_file(options.text_file);
    std::optional<spectra::PastedSpectrum> pasted;
    if (text.ok()) {
        pasted = spectra::check_pasted_text(ui, text.text, options.channels);
    }
    common::SaveResult saved;
    if (pasted) {
        saved = spectra::write_pasted_spectrum(options.out_file, *pasted);
    }
    const bool written = pasted && saved;

    common::JsonWriter json(out);
    json.begin_object();
    json.key("file");
    json.value(options.out_file);
    json.key("channels");
    json.value(written ? static_cast<int>(pasted->counts.size()) : 0);
    write_messages(json, ui.messages());
    if (!text.ok()) {
        json.key("error");
        json.value(common::input_problem_text(text, options.text_file, "Can't open the file: " + options.text_file));
    } else if (pasted && !written) {
        json.key("error");
        json.value(save_error("Can't write the file: " + options.out_file, saved));
    }
    json.end_object();
    out << "\n";
    return written ? CLI_OK : CLI_FAILED;
}

}  // namespace vorelbox::cli
