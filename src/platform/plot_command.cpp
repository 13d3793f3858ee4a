#include "plot_command.h"

#include "argument_reader.h"

#include <QFileInfo>
#include <QGuiApplication>

#include <algorithm>
#include <optional>

#include "auto_answer_ui.h"
#include "cli.h"
#include "cli_help.h"
#include "free_format.h"
#include "json_writer.h"
#include "multispectrum_paint.h"
#include "plot_area.h"
#include "text_utils.h"

namespace vorelbox::platform {
namespace {

struct PlotOptions {
    std::string file;
    std::string out_file;
    std::vector<long long> spectra;
    std::optional<long long> first;
    std::optional<long long> last;
    bool log = false;
    std::string error;
};

std::optional<std::vector<long long>> number_list(const std::string& text) {
    std::vector<long long> numbers;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const auto n = common::parse_free_integer(text.substr(start, comma - start));
        if (!n) {
            return std::nullopt;
        }
        numbers.push_back(*n);
        start = comma + 1;
    }
    return numbers;
}

PlotOptions parse_plot_options(const std::vector<std::string>& args) {
    PlotOptions o;
    common::ArgumentReader read(args);
    while (read.next()) {
        if (const auto spectra = read.value("--spectra")) {
            if (const auto list = number_list(*spectra)) {
                o.spectra = *list;
            } else {
                read.fail("--spectra takes whole numbers separated by commas");
            }
        } else if (const auto f = read.number("--first")) {
            o.first = f;
        } else if (const auto l = read.number("--last")) {
            o.last = l;
        } else if (read.is_flag("--log")) {
            o.log = true;
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
        o.error = cli::bad_name_error({o.file, o.out_file});
    }
    const std::string kind = common::LOWCASE(common::SPLITPATH(o.out_file).extension);
    if (o.error.empty() && kind != ".emf" && kind != ".png" && kind != ".svg" && kind != ".pdf") {
        o.error = "the picture's name must end in .emf, .png, .svg or .pdf";
    }
    return o;
}

int plot(const PlotOptions& o, std::ostream& out, std::ostream& err) {
    display::MultispectrumState state;
    common::AutoAnswerUi ui(false);
    std::string error;
    if (!display::load_multispectrum_file(state, ui, o.file)) {
        error = "This is not a proper spectrum file";
    }
    const int s = display::spectrum_count(state);
    const int nc = display::channel_count(state);
    for (const long long k : o.spectra) {
        if (error.empty() && (k < 1 || k > s)) {
            error = "the file holds no spectrum ";
            error += std::to_string(k);
        }
    }
    if (error.empty()) {
        if (!o.spectra.empty()) {
            state.page.highlighted.assign(o.spectra.begin(), o.spectra.end());
            display::SETUPVORELBOXMULTISPECTRUM(state, ui, display::MultiCommand::SelectionOk);
        }
        // A window outside the spectrum is clamped to it.
        const auto first = std::clamp<long long>(o.first.value_or(1), 1, nc);
        const auto last = std::clamp<long long>(o.last.value_or(nc), first, nc);
        state.page.lower_channel = std::to_string(first);
        state.page.upper_channel = std::to_string(last);
        display::MULTISPECTRUM_RANGES_FOR_VORELBOX(state, ui, display::MultiControl::LowerChannel,
                                                   display::MultiReason::Change);
        state.page.log = o.log;
        display::MULTISPECTRUM_RANGES_FOR_VORELBOX(state, ui, display::MultiControl::Log,
                                                   display::MultiReason::Click);
        display::MULTISPECTRUM_RANGES_FOR_VORELBOX(state, ui, display::MultiControl::None,
                                                   display::MultiReason::Refresh);
        display::prepare_multispectra(state, ui);
        const print::PageSetup setup;
        const auto draw = [&](display::Canvas& canvas) {
            display::paint_multispectra(canvas, display::PlotTarget::Save, state, setup);
        };
        const common::SaveResult saved =
            save_picture(draw, o.out_file, display::PICTURE_PROGRAM, common::SPLITPATH(state.file_name).name);
        if (!saved) {
            error = cli::save_error("Error creating the picture file " + o.out_file, saved);
        }
    }

    common::JsonWriter json(out);
    json.begin_object();
    json.key("file");
    json.value(o.out_file);
    json.key("source");
    json.value(o.file);
    json.key("type");
    json.value(state.file_type);
    json.key("spectra");
    json.begin_array();
    for (int i = 1; error.empty() && i <= s; ++i) {
        if (state.drawn[static_cast<std::size_t>(i - 1)]) {
            json.value(i);
        }
    }
    json.end_array();
    json.key("first");
    json.value(error.empty() ? state.lo : 0);
    json.key("last");
    json.value(error.empty() ? state.hi : 0);
    json.key("log");
    json.value(o.log);
    cli::write_messages(json, ui.messages());
    if (!error.empty()) {
        json.key("error");
        json.value(error);
        err << "vorelbox-cli plot: " << error << "\n";
    }
    json.end_object();
    out << "\n";
    return error.empty() ? cli::CLI_OK : cli::CLI_FAILED;
}

}  // namespace

int run_plot_command(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (cli::asks_for_help(args)) {
        cli::write_command_help(out, *cli::find_command_help("plot"));
        return cli::CLI_OK;
    }
    const PlotOptions o = parse_plot_options(args);
    if (!o.error.empty()) {
        return cli::usage_error(out, err, "plot", o.error);
    }
    if (QGuiApplication::instance() != nullptr) {
        return plot(o, out, err);
    }
    // Fonts and pictures need the application object; no window is ever shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "vorelbox-cli";
    char* argv[] = {name, nullptr};
    const QGuiApplication app(argc, argv);
    return plot(o, out, err);
}

}  // namespace vorelbox::platform
