#include <algorithm>
#include <numeric>
#include <span>

#include "app_state.h"
#include "auto_answer_ui.h"
#include "cli.h"
#include "json_writer.h"
#include "load_spectrum_file.h"

namespace vorelbox::core {
namespace {

struct InfoOptions {
    bool counts = false;
    bool answer_yes = false;
    std::string file;
    std::string error;  // a usage error
};

InfoOptions parse_info_options(const std::vector<std::string>& args) {
    InfoOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--counts") {
            o.counts = true;
        } else if (a == "--answer") {
            if (i + 1 >= args.size() || (args[i + 1] != "yes" && args[i + 1] != "no")) {
                o.error = "--answer takes yes or no";
                return o;
            }
            o.answer_yes = args[++i] == "yes";
        } else if (a.rfind("--answer=", 0) == 0) {
            const std::string v = a.substr(9);
            if (v != "yes" && v != "no") {
                o.error = "--answer takes yes or no";
                return o;
            }
            o.answer_yes = v == "yes";
        } else if (a.size() > 1 && a.front() == '-' ) {
            o.error = "unknown option: " + a;
            return o;
        } else if (o.file.empty()) {
            o.file = a;
        } else {
            o.error = "only one file can be given";
            return o;
        }
    }
    if (o.error.empty() && o.file.empty()) {
        o.error = "no file given";
    }
    return o;
}

void write_messages(common::JsonWriter& json, const std::vector<std::string>& messages) {
    json.key("messages");
    json.begin_array();
    for (std::string text : messages) {
        std::replace(text.begin(), text.end(), '\r', '\n');
        json.value(text);
    }
    json.end_array();
}

}  // namespace

int cli_info(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const InfoOptions options = parse_info_options(args);
    if (!options.error.empty()) {
        err << "vorelbox-cli info: " << options.error << "\n"
            << "usage: vorelbox-cli info [--counts] [--answer yes|no] FILE\n";
        out << "{\"error\":" << common::json_string(options.error) << "}\n";
        return CLI_USAGE;
    }

    AppState state;
    common::AutoAnswerUi ui(options.answer_yes);
    const auto text = spectra::read_whole_file(options.file);
    spectra::LoadResult loaded;
    if (text) {
        loaded = spectra::load_spectrum_text(state.store, ui, *text, options.file);
    }
    const auto& store = state.store;
    const int spectra_count = loaded.channel_count > 0 ? store.FILE_SPECTRUM_COUNT : 0;
    const auto channels = static_cast<std::size_t>(loaded.channel_count);

    common::JsonWriter json(out);
    json.begin_object();
    json.key("file");
    json.value(options.file);
    json.key("type");
    json.value("Dat");
    json.key("type_text");
    json.value("Vorelix (dat)");
    json.key("channels");
    json.value(loaded.channel_count);
    json.key("spectra");
    json.value(spectra_count);
    json.key("format");
    json.value(loaded.format);

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
    write_messages(json, ui.messages());
    if (!text) {
        json.key("error");
        json.value("Can't open the file: " + options.file);
    }
    json.end_object();
    out << "\n";
    return spectra_count > 0 ? CLI_OK : CLI_FAILED;
}

}  // namespace vorelbox::core
