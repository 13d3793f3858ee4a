// The command-line tool. Every command but `plot` runs here without Qt; `plot`
// hands its arguments to the vorelbox-plot program installed beside this one.

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli.h"
#include "cli_help.h"
#include "os_path.h"
#include "process.h"

#ifndef _WIN32
#include <unistd.h>
#endif
#ifdef __GLIBC__
#include <malloc.h>
#endif

#ifndef VORELBOX_LIBEXEC_DIR
#define VORELBOX_LIBEXEC_DIR ""
#endif

// A build without Qt (the Windows one from Linux) has no vorelbox-plot to hand `plot` to.
#ifdef VORELBOX_NO_PLOT
constexpr bool plot_available = false;
#else
constexpr bool plot_available = true;
#endif

namespace {

namespace fs = std::filesystem;
using vorelbox::common::os_path;
using vorelbox::common::utf8_path;

constexpr const char* no_plot_text =
    "This build of vorelbox-cli has no plot: it needs the vorelbox-plot program, which is built\n"
    "with Qt and comes with the window. Every other command works here.\n";

int run_plot(const char* argv0, const std::vector<std::string>& args) {
    // Beside this program in the build tree; installed, in the helper folder,
    // which is given relative to this program's folder.
    const fs::path folder = os_path(vorelbox::common::own_program_file(argv0)).parent_path();
    const std::string plot = vorelbox::common::program_file_name("vorelbox-plot");
    std::vector<fs::path> candidates{folder / plot};
    if (std::string(VORELBOX_LIBEXEC_DIR).size() > 0) {
        candidates.emplace_back((folder / VORELBOX_LIBEXEC_DIR / plot).lexically_normal());
    }
    for (const auto& candidate : candidates) {
        std::error_code ec;
        if (!fs::is_regular_file(candidate, ec)) {
            continue;
        }
        const std::string program = utf8_path(candidate);
        const int status = vorelbox::common::run_program(program, args);  // "plot" and its options
        if (status >= 0) {
            return status;
        }
        std::cerr << "vorelbox-cli: cannot run " << program << "\n";
        return vorelbox::cli::CLI_FAILED;
    }
    std::cerr << "vorelbox-cli: plot needs the program vorelbox-plot beside vorelbox-cli\n";
    return vorelbox::cli::CLI_FAILED;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef __GLIBC__
    // A file's spectra are held in one array of up to 512 kB each. glibc would
    // map every array of 128 kB or more on its own and unmap it again at the
    // end, which made 100 spectra of 16,384 channels cost three times as much
    // as 100 of 8192; below 4 MB they come from the heap.
    mallopt(M_MMAP_THRESHOLD, 4 * 1024 * 1024);
#endif
    vorelbox::common::use_utf8_console();
    const std::vector<std::string> args = vorelbox::common::program_arguments(argc, argv);
    if (!args.empty() && args.front() == "plot") {
        const bool help = vorelbox::cli::asks_for_help(std::vector<std::string>(args.begin() + 1, args.end()));
        if (!plot_available) {
            if (help) {
                vorelbox::cli::write_command_help(std::cout, *vorelbox::cli::find_command_help("plot"));
                std::cout << "\n" << no_plot_text;
                return vorelbox::cli::CLI_OK;
            }
            std::cerr << "vorelbox-cli: plot is not available in this build\n" << no_plot_text;
            return vorelbox::cli::CLI_FAILED;
        }
        if (!help) {
            return run_plot(argc > 0 ? argv[0] : nullptr, args);
        }
    }
    vorelbox::cli::Progress progress;
#ifndef _WIN32
    // Progress is for a person watching, never for a file or a pipe.
    progress.on_terminal = ::isatty(STDERR_FILENO) == 1;
#endif
    return vorelbox::cli::run_cli(args, std::cout, std::cerr, progress);
}
