#include <algorithm>

#include "app_state.h"
#include "argument_reader.h"
#include "auto_answer_ui.h"
#include "cli.h"
#include "cli_help.h"
#include "convert_spectrum_file.h"
#include "text_utils.h"

namespace vorelbox::cli {

int cli_convert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, Progress progress) {
    std::string output_dir;
    std::vector<std::string> files;
    bool force = false;
    common::ArgumentReader read(args);
    while (read.next()) {
        if (const auto dir = read.value("--output-dir")) {
            output_dir = *dir;
        } else if (read.is_flag("--force")) {
            force = true;
        } else if (read.is_option()) {
            read.fail("unknown option: " + read.current());
        } else {
            files.push_back(read.current());
        }
    }
    if (!read.error().empty()) {
        return usage_error(out, err, "convert", read.error());
    }
    if (files.empty()) {
        return usage_error(out, err, "convert", "no file given");
    }
    std::vector<std::string> names = files;
    names.push_back(output_dir);
    if (const std::string bad = bad_name_error(names); !bad.empty()) {
        err << "vorelbox-cli convert: " << bad << "\n";
        return CLI_USAGE;
    }

    core::AppState state;
    bool all_written = true;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string& file = files[i];
        common::AutoAnswerUi ui(false);
        // A file of the copy's name that holds another spectrum is only replaced with --force.
        const auto existing = force ? spectra::ExistingFile::Replace : spectra::ExistingFile::Keep;
        spectra::ConvertResult r = spectra::CONVERT_SPECTRUM_FILE(state.raw_files, ui, file, output_dir, existing);
        if (r.is_tembra) {
            r = spectra::convert_tembra_file(ui, file, output_dir, existing);
        }
        progress.clear(err);
        for (std::string message : ui.messages()) {
            std::replace(message.begin(), message.end(), '\r', '\n');
            err << file << ": " << message << "\n";
        }
        if (r.written) {
            out << r.target << std::endl;
        } else {
            all_written = false;
            if (r.kept_existing) {
                const std::string copy = r.is_tembra ? spectra::tembra_copy_name(file, output_dir)
                                                     : spectra::native_copy_name(file, output_dir);
                err << file << ": " << copy
                    << " exists and holds another spectrum; it is left as it is (--force replaces it)\n";
            } else if (!r.failed) {
                err << file << ": not a file of another kind (.spe, .chn, a Tembra .dat, .cnf, .n42, .mca, .iec, .tka, column text); nothing written\n";
            }
        }
        progress.show(err, "converted", i + 1, files.size());
    }
    return all_written ? CLI_OK : CLI_FAILED;
}

}  // namespace vorelbox::cli
