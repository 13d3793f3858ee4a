#include "convert_spectrum_file.h"

#include "check_spectrum_file.h"
#include "load_spectrum_file.h"
#include "maestro_chn.h"
#include "tagged_spe.h"
#include "tembra_file.h"
#include "text_utils.h"
#include "write_spectrum_file.h"

namespace vorelbox::spectra {
namespace {

constexpr std::size_t converted_header_max = 200;

bool write_copy(common::Ui& ui, const std::string& target, const std::string& header,
                const std::vector<double>& counts) {
    const std::vector<SpectrumToWrite> spectra{{header, counts, converted_header_max}};
    if (!write_spectrum_file(target, spectra, eight_per_line_format(counts))) {
        common::WARN(ui, "Unable to write spectrum file " + target);
        return false;
    }
    return true;
}

}  // namespace

std::string native_copy_name(const std::string& source, const std::string& output_dir) {
    const common::PathParts parts = common::SPLITPATH(source);
    if (output_dir.empty()) {
        return parts.drive + parts.directory + parts.name + ".dat";
    }
    std::string dir = output_dir;
    if (dir.back() != '/' && dir.back() != '\\') {
        dir += '/';
    }
    return dir + parts.name + ".dat";
}

ConvertResult CONVERT_SPECTRUM_FILE(RawFileTable& files, common::Ui& ui, const std::string& source,
                                    const std::string& output_dir) {
    ConvertResult r;
    r.target = source;
    const std::string extension = common::LOWCASE(common::SPLITPATH(source).extension);
    if (extension == ".spe") {
        const auto text = read_whole_file(source);
        if (!text) {
            common::WARN(ui, "Error opening the spectrum file: " + source);
            r.failed = true;
            return r;
        }
        const SpeFile spe = read_spe_text(ui, *text, source, SpeMode::Convert);
        if (!spe.has_data) {
            r.failed = true;
            return r;
        }
        r.target = native_copy_name(source, output_dir);
        r.written = write_copy(ui, r.target, spe.header, spe.counts);
    } else if (extension == ".chn") {
        const ChnRead chn = read_chn_file(files, CHN_UNIT, source);
        if (chn.problem != ChnProblem::None) {
            common::WARN(ui, chn_problem_text(chn.problem, source));
            r.failed = true;
            return r;
        }
        r.target = native_copy_name(source, output_dir);
        const std::vector<double> counts(chn.file.counts.begin(), chn.file.counts.end());
        r.written = write_copy(ui, r.target, chn_header(chn.file), counts);
    } else if (extension == ".dat") {
        const auto text = read_whole_file(source);
        if (!text) {
            common::WARN(ui, "Unable to open spectrum file " + source);
            r.failed = true;
            return r;
        }
        r.is_tembra = is_tembra_text(*text);
        return r;
    } else {
        return r;
    }
    if (!r.written) {
        r.failed = true;
        r.target = source;
    }
    return r;
}

}  // namespace vorelbox::spectra

namespace vorelbox::spectra {

std::string tembra_copy_name(const std::string& source, const std::string& output_dir) {
    const common::PathParts parts = common::SPLITPATH(source);
    std::string folder = parts.drive + parts.directory;
    if (!output_dir.empty()) {
        folder = output_dir;
        if (folder.back() != '/' && folder.back() != '\\') {
            folder += '/';
        }
    }
    return folder + parts.name + "_tembra.dat";
}

ConvertResult convert_tembra_file(common::Ui& ui, const std::string& source, const std::string& output_dir) {
    ConvertResult r;
    r.target = source;
    r.is_tembra = true;
    const auto text = read_whole_file(source);
    if (!text) {
        common::WARN(ui, "Unable to open: " + source);
        r.failed = true;
        return r;
    }
    const TembraFile t = read_tembra_text(ui, *text, source);
    if (!t.ok) {
        r.failed = true;
        return r;
    }
    const std::string target = tembra_copy_name(source, output_dir);
    if (!write_copy(ui, target, t.pane.sample.empty() ? t.pane.file : t.pane.sample, t.counts)) {
        r.failed = true;
        return r;
    }
    r.target = target;
    r.written = true;
    return r;
}

}  // namespace vorelbox::spectra
