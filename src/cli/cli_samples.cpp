#include <filesystem>

#include "argument_reader.h"
#include "cli.h"
#include "cli_help.h"
#include "os_path.h"
#include "safe_file.h"
#include "sample_spectra.h"
#include "spectrum_list.h"
#include "write_spectrum_file.h"

namespace vorelbox::cli {
namespace {

namespace fs = std::filesystem;

// The first spectrum of pals-4096.dat, as an instrument would have saved it.
Acquisition first_polymer_acquisition(const SampleSpectrum& s) {
    Acquisition a;
    a.sample = "PMMA 20 C (made-up sample)";
    a.detector = "BaF2 start-stop timing (made-up)";
    a.year = 2024;
    a.month = 3;
    a.day = 12;
    a.hour = 10;
    a.minute = 15;
    a.second = 0;
    a.real_time_s = 3600.0;
    a.live_time_s = 3600.0;
    a.channel_ns = s.model.channel_ns;
    return a;
}

common::SaveResult write_text(const std::string& path, const std::string& bytes) {
    return common::replace_file(path, [&bytes](std::ostream& out) {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return static_cast<bool>(out);
    });
}

}  // namespace

int cli_samples(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string output_dir = ".";
    std::string list_folder;
    common::ArgumentReader read(args);
    while (read.next()) {
        if (const auto dir = read.value("--output-dir")) {
            output_dir = *dir;
        } else if (const auto folder = read.value("--list-folder")) {
            list_folder = *folder;
        } else if (read.is_option()) {
            read.fail("unknown option: " + read.current());
        } else {
            read.fail("samples takes no file: " + read.current());
        }
    }
    if (read.error().empty()) {
        read.fail(bad_name_error({output_dir, list_folder}));
    }
    if (!read.error().empty()) {
        return usage_error(out, err, "samples", read.error());
    }

    std::error_code ec;
    fs::create_directories(common::os_path(output_dir), ec);
    const fs::path folder = fs::absolute(common::os_path(output_dir), ec);
    bool all_written = true;
    const auto written = [&](const fs::path& path, const common::SaveResult& saved) {
        if (saved) {
            out << common::utf8_path(path) << "\n";
        } else {
            err << "vorelbox-cli samples: " << save_error("cannot write " + common::utf8_path(path), saved) << "\n";
            all_written = false;
        }
    };

    const std::vector<SampleFile> files = sample_files();
    for (const SampleFile& file : files) {
        std::vector<spectra::SpectrumToWrite> spectra;
        for (const SampleSpectrum& s : file.spectra) {
            spectra.push_back({s.header, s.counts});
        }
        const fs::path path = folder / file.name;
        written(path, spectra::write_spectrum_file(common::utf8_path(path), spectra, spectra::count_format_for(spectra)));
    }

    const SampleFile& polymer = files[1];
    const SampleSpectrum& first = polymer.spectra.front();
    const Acquisition acquisition = first_polymer_acquisition(first);
    written(folder / "pals-maestro.chn",
            write_text(common::utf8_path(folder / "pals-maestro.chn"), chn_bytes(first.counts, acquisition)));
    written(folder / "pals-tagged.spe",
            write_text(common::utf8_path(folder / "pals-tagged.spe"), spe_text(first.counts, acquisition)));

    adder::SpectrumList list;
    list.channels = first.model.channels;
    for (std::size_t i = 0; i < polymer.spectra.size(); ++i) {
        adder::ListRow row;
        row.header = polymer.spectra[i].header;
        row.index = static_cast<int>(i) + 1;
        // Without --list-folder the rows name the file alone: the list's own folder.
        row.file = list_folder.empty() ? polymer.name : common::utf8_path(common::os_path(list_folder) / polymer.name);
        list.rows.push_back(row);
    }
    const fs::path list_path = folder / "pals-4096.vsl";
    written(list_path, adder::write_spectrum_list_file(common::utf8_path(list_path), list));
    return all_written ? CLI_OK : CLI_FAILED;
}

}  // namespace vorelbox::cli
