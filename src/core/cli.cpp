#include "cli.h"

#include "json_writer.h"

namespace vorelbox::core {
namespace {

constexpr const char* usage_text =
    "usage: vorelbox-cli info [--counts] [--answer yes|no] FILE\n";

}  // namespace

int run_cli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!args.empty() && args.front() == "info") {
        return cli_info({args.begin() + 1, args.end()}, out, err);
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

}  // namespace vorelbox::core
