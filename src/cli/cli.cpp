#include "cli.h"

#include "cli_column.h"
#include "cli_help.h"
#include "json_writer.h"
#include "text_utils.h"

namespace vorelbox::cli {
namespace {

using Command = int (*)(const std::vector<std::string>&, std::ostream&, std::ostream&);

Command command_named(const std::string& name) {
    if (name == "info") {
        return cli_info;
    }
    if (name == "extract") {
        return cli_extract;
    }
    if (name == "sum") {
        return cli_sum;
    }
    if (name == "column") {
        return cli_column;
    }
    if (name == "samples") {
        return cli_samples;
    }
    return nullptr;
}

}  // namespace

std::string bad_name_error(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        if (common::has_control_char(name)) {
            return "the file name " + common::shown_name(name) + " holds a control character";
        }
    }
    return {};
}

std::string save_error(const std::string& headline, const common::SaveResult& result) {
    return headline + ": " + common::save_problem_text(result);
}

void Progress::show(std::ostream& err, std::string_view verb, std::size_t done, std::size_t total) const {
    if (!on_terminal) {
        return;
    }
    err << '\r' << verb << ' ' << done << '/' << total << (done >= total ? "\n" : "") << std::flush;
}

void Progress::clear(std::ostream& err) const {
    if (on_terminal) {
        err << "\r\x1b[K" << std::flush;
    }
}

int run_cli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, Progress progress) {
    if (args.empty()) {
        write_overview(err);
        out << "{\"error\":" << common::json_string("no command given") << "}\n";
        return CLI_USAGE;
    }
    const std::string& name = args.front();
    if (name == "--help" || name == "-h" || name == "help") {
        const CommandHelp* help = args.size() > 1 ? find_command_help(args[1]) : nullptr;
        help != nullptr ? write_command_help(out, *help) : write_overview(out);
        return CLI_OK;
    }
    if (name == "--version" || name == "-V") {
        out << version_line() << "\n";
        return CLI_OK;
    }
    const CommandHelp* help = find_command_help(name);
    if (help == nullptr) {
        err << "vorelbox-cli: unknown command: " << name << "\n\n";
        write_overview(err);
        out << "{\"error\":" << common::json_string("unknown command: " + name) << "}\n";
        return CLI_USAGE;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (asks_for_help(rest)) {
        write_command_help(out, *help);
        return CLI_OK;
    }
    if (name == "convert") {
        return cli_convert(rest, out, err, progress);
    }
    if (const Command command = command_named(name)) {
        return command(rest, out, err);
    }
    // The plot command runs in the vorelbox-plot program.
    err << "vorelbox-cli: " << name << " is not available in this build\n";
    return CLI_FAILED;
}

}  // namespace vorelbox::cli
