#include <algorithm>

#include "app_state.h"
#include "auto_answer_ui.h"
#include "cli.h"
#include "convert_spectrum_file.h"
#include "text_utils.h"

namespace vorelbox::cli {

int cli_convert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string output_dir;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--output-dir" && i + 1 < args.size()) {
            output_dir = args[++i];
        } else if (args[i].rfind("--output-dir=", 0) == 0) {
            output_dir = args[i].substr(13);
        } else if (args[i].size() > 1 && args[i].front() == '-') {
            err << "vorelbox-cli convert: unknown option: " << args[i] << "\n";
            files.clear();
            break;
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.empty()) {
        err << "usage: vorelbox-cli convert [--output-dir DIR] FILE...\n";
        return CLI_USAGE;
    }

    core::AppState state;
    bool all_written = true;
    for (const std::string& file : files) {
        common::AutoAnswerUi ui(false);
        spectra::ConvertResult r = spectra::CONVERT_SPECTRUM_FILE(state.raw_files, ui, file, output_dir);
        if (r.is_tembra) {
            r = spectra::convert_tembra_file(ui, file, output_dir);
        }
        for (std::string message : ui.messages()) {
            std::replace(message.begin(), message.end(), '\r', '\n');
            err << file << ": " << message << "\n";
        }
        if (r.written) {
            out << r.target << "\n";
            continue;
        }
        all_written = false;
        if (!r.failed) {
            err << file << ": not a foreign spectrum file (.spe, .chn or a Tembra .dat); nothing written\n";
        }
    }
    return all_written ? CLI_OK : CLI_FAILED;
}

}  // namespace vorelbox::cli
