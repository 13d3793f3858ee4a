// The command line's help, version, usage errors and progress.

#include <gtest/gtest.h>

#include <sstream>

#include "cli.h"
#include "cli_help.h"
#include "version.h"

using namespace vorelbox;

namespace {

struct CliRun {
    int code = 0;
    std::string out;
    std::string err;
};

CliRun run(const std::vector<std::string>& args, cli::Progress progress = {}) {
    std::ostringstream out, err;
    CliRun r;
    r.code = cli::run_cli(args, out, err, progress);
    r.out = out.str();
    r.err = err.str();
    return r;
}

// The options a command's synopsis names ("--counts", "-o", ...).
std::vector<std::string> options_of(std::string_view synopsis) {
    std::vector<std::string> options;
    std::size_t at = 0;
    while ((at = synopsis.find('-', at)) != std::string_view::npos) {
        const std::size_t end = synopsis.find_first_of(" ]=", at);
        options.emplace_back(synopsis.substr(at, end - at));
        at = end == std::string_view::npos ? synopsis.size() : end;
    }
    return options;
}

}  // namespace

TEST(CliHelp, EveryCommandDescribesEveryOptionOfItsSynopsis) {
    for (const cli::CommandHelp& help : cli::command_helps()) {
        const CliRun r = run({std::string(help.name), "--help"});
        EXPECT_EQ(r.code, cli::CLI_OK) << help.name;
        EXPECT_EQ(r.out.rfind("usage: vorelbox-cli " + std::string(help.name) + " ", 0), 0u) << r.out;
        const std::string details(help.details);
        for (const std::string& option : options_of(help.synopsis)) {
            EXPECT_NE(details.find("  " + option + " "), std::string::npos)
                << help.name << " does not describe " << option;
        }
        const CliRun overview = run({"--help"});
        EXPECT_NE(overview.out.find("  " + std::string(help.name) + " "), std::string::npos) << help.name;
    }
    EXPECT_EQ(run({"help", "sum"}).out, run({"sum", "-h"}).out);
}

TEST(CliHelp, VersionComesFromTheProject) {
    const CliRun r = run({"--version"});
    EXPECT_EQ(r.code, cli::CLI_OK);
    EXPECT_EQ(r.out, "vorelbox-cli " + std::string(core::VERSION_TEXT) + " (" + std::string(core::DATE_TEXT) + ")\n");
    EXPECT_FALSE(core::VERSION_TEXT.empty());
}

TEST(CliHelp, UnknownOptionsAndMissingArgumentsAreUsageErrors) {
    const std::vector<std::vector<std::string>> mistakes{
        {},
        {"frobnicate"},
        {"convert"},
        {"convert", "--output-dir"},
        {"convert", "--bogus", "a.spe"},
        {"sum", "list.vsl", "-o", "out.dat"},
        {"sum", "list.vsl", "--mode", "most", "-o", "out.dat"},
        {"extract", "a.dat"},
        {"extract", "a.dat", "--spectrum", "two", "-o", "b.dat"},
        {"column", "-o"},
        {"samples", "--output-dir"},
        {"samples", "stray.dat"},
    };
    for (const auto& args : mistakes) {
        const CliRun r = run(args);
        EXPECT_EQ(r.code, cli::CLI_USAGE) << (args.empty() ? "" : args.front());
        EXPECT_NE(r.err.find("usage: vorelbox-cli "), std::string::npos) << r.err;
        EXPECT_EQ(r.out.rfind("{\"error\":", 0), 0u) << r.out;
    }
    EXPECT_NE(run({"convert", "--output-dir"}).err.find("--output-dir needs a value"), std::string::npos);
}

TEST(CliProgress, ShownOnATerminalOnly) {
    const std::vector<std::string> args{"convert", "/nonexistent/a.spe", "/nonexistent/b.chn"};
    const CliRun quiet = run(args);
    EXPECT_EQ(quiet.err.find("converted"), std::string::npos) << quiet.err;

    cli::Progress terminal;
    terminal.on_terminal = true;
    const CliRun shown = run(args, terminal);
    EXPECT_NE(shown.err.find("\rconverted 1/2"), std::string::npos) << shown.err;
    EXPECT_NE(shown.err.find("\rconverted 2/2\n"), std::string::npos) << shown.err;
}
