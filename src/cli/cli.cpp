#include "cli.h"

#include "cli_column.h"
#include "json_writer.h"

namespace vorelbox::cli {
namespace {

constexpr const char* usage_text =
    "usage: vorelbox-cli info [--counts] [--answer yes|no] FILE\n"
    "       vorelbox-cli convert [--output-dir DIR] FILE...\n"
    "       vorelbox-cli column [--channels N] [--answer yes|no] TEXTFILE -o OUT.dat\n"
    "       vorelbox-cli sum LIST.vsl --mode spectra|sum|both -o OUT.dat [--label TEXT]\n"
    "       vorelbox-cli extract FILE [--spectrum K] [--first F] [--last L] [--append] -o OUT.dat\n"
    "       vorelbox-cli plot FILE [--spectra 1,2,3] [--first N] [--last N] [--log] -o OUT.(emf|png|svg|pdf)\n";

}  // namespace

int run_cli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const std::vector<std::string> rest = args.empty() ? args : std::vector<std::string>(args.begin() + 1, args.end());
    if (!args.empty() && args.front() == "info") {
        return cli_info(rest, out, err);
    }
    if (!args.empty() && args.front() == "convert") {
        return cli_convert(rest, out, err);
    }
    if (!args.empty() && args.front() == "extract") {
        return cli_extract(rest, out, err);
    }
    if (!args.empty() && args.front() == "sum") {
        return cli_sum(rest, out, err);
    }
    if (!args.empty() && args.front() == "column") {
        return cli_column(rest, out, err);
    }
    if (!args.empty() && (args.front() == "--help" || args.front() == "-h")) {
        out << usage_text;
        return CLI_OK;
    }
    err << usage_text;
    out << "{\"error\":" << common::json_string(args.empty() ? "no command given"
                                                            : "unknown command: " + args.front())
        << "}\n";
    return CLI_USAGE;
}

}  // namespace vorelbox::cli
