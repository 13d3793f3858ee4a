// The command-line tool. Every command but `plot` runs here without Qt; `plot`
// hands its arguments to the vorelbox-plot program installed beside this one.

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli.h"
#include "cli_help.h"
#include "os_path.h"

#ifndef _WIN32
#include <unistd.h>
#endif

#ifndef VORELBOX_LIBEXEC_DIR
#define VORELBOX_LIBEXEC_DIR ""
#endif

// A build without Qt (the Windows one) has no vorelbox-plot to hand `plot` to.
#ifdef VORELBOX_NO_PLOT
constexpr bool plot_available = false;
#else
constexpr bool plot_available = true;
#endif

namespace {

namespace fs = std::filesystem;

// The folder of this program: the link /proc/self/exe where there is one, else argv[0].
fs::path program_folder(const char* argv0) {
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (ec || self.empty()) {
        self = fs::absolute(fs::path(argv0), ec);
    }
    return self.parent_path();
}

constexpr const char* no_plot_text =
    "This build of vorelbox-cli has no plot: it needs the vorelbox-plot program, which is built\n"
    "with Qt and comes with the window. Every other command works here.\n";

int run_plot(const char* argv0, int argc, char** argv) {
#ifdef _WIN32
    (void)argv0;
    (void)argc;
    (void)argv;
    std::cerr << "vorelbox-cli: plot is not available in this build\n" << no_plot_text;
    return vorelbox::cli::CLI_FAILED;
#else
    // Beside this program in the build tree; installed, in the helper folder,
    // which is given relative to this program's folder.
    const fs::path folder = program_folder(argv0);
    std::vector<fs::path> candidates{folder / "vorelbox-plot"};
    if (std::string(VORELBOX_LIBEXEC_DIR).size() > 0) {
        candidates.emplace_back((folder / VORELBOX_LIBEXEC_DIR / "vorelbox-plot").lexically_normal());
    }
    std::vector<char*> args(argv + 1, argv + argc);  // "plot" and its options
    args.push_back(nullptr);
    for (const auto& candidate : candidates) {
        std::error_code ec;
        if (!fs::is_regular_file(candidate, ec)) {
            continue;
        }
        const std::string program = candidate.string();
        std::vector<char*> call{const_cast<char*>(program.c_str())};
        call.insert(call.end(), args.begin(), args.end());
        std::cout.flush();
        ::execv(program.c_str(), call.data());
        std::cerr << "vorelbox-cli: cannot run " << program << "\n";
        return vorelbox::cli::CLI_FAILED;
    }
    std::cerr << "vorelbox-cli: plot needs the program vorelbox-plot beside vorelbox-cli\n";
    return vorelbox::cli::CLI_FAILED;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    vorelbox::common::use_utf8_console();
    const std::vector<std::string> args = vorelbox::common::program_arguments(argc, argv);
    if (!args.empty() && args.front() == "plot") {
        const bool help = vorelbox::cli::asks_for_help(std::vector<std::string>(args.begin() + 1, args.end()));
        if (help && !plot_available) {
            vorelbox::cli::write_command_help(std::cout, *vorelbox::cli::find_command_help("plot"));
            std::cout << "\n" << no_plot_text;
            return vorelbox::cli::CLI_OK;
        }
        if (!help && !plot_available) {
            std::cerr << "vorelbox-cli: plot is not available in this build\n" << no_plot_text;
            return vorelbox::cli::CLI_FAILED;
        }
        if (!help) {
            return run_plot(argv[0], argc, argv);
        }
    }
    vorelbox::cli::Progress progress;
#ifndef _WIN32
    // Progress is for a person watching, never for a file or a pipe.
    progress.on_terminal = ::isatty(STDERR_FILENO) == 1;
#endif
    return vorelbox::cli::run_cli(args, std::cout, std::cerr, progress);
}
