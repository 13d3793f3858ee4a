#include "program_files.h"

#include "os_path.h"

#include <filesystem>

#ifndef VORELBOX_DATA_DIR
#define VORELBOX_DATA_DIR ""
#endif

namespace vorelbox::core {

namespace fs = std::filesystem;

std::vector<std::string> shipped_file_candidates(const std::string& name, const std::string& program_folder) {
    const fs::path folder = common::os_path(program_folder);
    std::vector<std::string> candidates{common::utf8_path(folder / common::os_path(name))};
    const std::string data = VORELBOX_DATA_DIR;
    if (!data.empty()) {
        candidates.push_back(common::utf8_path((folder / data / common::os_path(name)).lexically_normal()));
    }
    return candidates;
}

std::string find_shipped_file(const std::string& name, const std::string& program_folder) {
    for (const std::string& candidate : shipped_file_candidates(name, program_folder)) {
        std::error_code ec;
        if (fs::exists(common::os_path(candidate), ec)) {
            return candidate;
        }
    }
    return {};
}

std::string samples_message(const std::string& program_folder) {
    const std::string folder = find_shipped_file("samples", program_folder);
    if (folder.empty()) {
        return "The sample spectra were not found; vorelbox-cli samples writes them into a folder of your choice";
    }
    return "The sample spectra are in " + folder +
           "\rOpen pals-4096.vsl in the Spectrum adder, or a .dat, .chn or .spe file in the Spectrum converter."
           "\rCopy the folder first to convert the .chn and .spe files, whose native copies are written beside them.";
}

}  // namespace vorelbox::core
