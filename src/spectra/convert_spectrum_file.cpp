#include "convert_spectrum_file.h"

#include <sstream>

#include "auto_answer_ui.h"
#include "check_spectrum_file.h"
#include "foreign_formats.h"
#include "input_file.h"
#include "load_spectrum_file.h"
#include "os_path.h"
#include "safe_file.h"
#include "maestro_chn.h"
#include "tagged_spe.h"
#include "tembra_file.h"
#include "text_utils.h"
#include "write_spectrum_file.h"

namespace vorelbox::spectra {
namespace {

constexpr std::size_t converted_header_max = 200;

// True when both texts read as the same spectra: headers (as far as the reader
// keeps them) and counts. Copies written by another page or an older version of
// the program differ only in their layout.
bool same_spectra(std::string_view old_text, std::string_view new_text, const std::string& name) {
    common::AutoAnswerUi silent(false);
    SpectrumStore old_store;
    SpectrumStore new_store;
    const int old_channels = load_spectrum_text(old_store, silent, old_text, name, true).channel_count;
    const int new_channels = load_spectrum_text(new_store, silent, new_text, name, true).channel_count;
    const int count = new_store.FILE_SPECTRUM_COUNT;
    if (count < 1 || old_store.FILE_SPECTRUM_COUNT != count || old_channels != new_channels) {
        return false;
    }
    const auto n = static_cast<std::ptrdiff_t>(new_channels);
    for (std::size_t k = 0; k < static_cast<std::size_t>(count); ++k) {
        if (old_store.FILE_SPECTRUM_HEADERS[k] != new_store.FILE_SPECTRUM_HEADERS[k] ||
            !std::equal(old_store.FILE_SPECTRA[k].begin(), old_store.FILE_SPECTRA[k].begin() + n,
                        new_store.FILE_SPECTRA[k].begin())) {
            return false;
        }
    }
    return true;
}

// The copy of a single spectrum, eight counts a line.
ConvertResult write_copy(common::Ui& ui, const std::string& source, const std::string& target,
                         const std::string& header, const std::vector<double>& counts, ExistingFile existing,
                         common::FileOps& ops) {
    return write_copy_to_read(ui, source, target, {SpectrumToWrite{header, counts, converted_header_max}},
                              eight_per_line_format(counts), existing, ops);
}

}  // namespace

ConvertResult write_copy_to_read(common::Ui& ui, const std::string& source, const std::string& target,
                                 const std::vector<SpectrumToWrite>& spectra, std::string_view format,
                                 ExistingFile existing, common::FileOps& ops) {
    ConvertResult r;
    r.target = source;
    const NativeCopy copy = write_native_copy(ui, source, target, spectra, format, existing,
                                              "No keeps it, and " + source + " is not read", ops);
    switch (copy.outcome) {
        case CopyOutcome::Written:
        case CopyOutcome::Unchanged:
            r.written = true;
            r.target = target;
            return r;
        case CopyOutcome::Kept:
            r.kept_existing = true;
            break;
        case CopyOutcome::Failed:
            common::WARN(ui, common::save_failure_text("Unable to write spectrum file " + common::shown_name(target),
                                                       copy.saved));
            break;
    }
    r.failed = true;
    return r;
}

NativeCopy write_native_copy(common::Ui& ui, const std::string& source, const std::string& target,
                             const SpectrumToWrite& spectrum, std::string_view format, ExistingFile existing,
                             std::string_view when_kept, common::FileOps& ops) {
    return write_native_copy(ui, source, target, std::vector<SpectrumToWrite>{spectrum}, format, existing, when_kept,
                             ops);
}

NativeCopy write_native_copy(common::Ui& ui, const std::string& source, const std::string& target,
                             const std::vector<SpectrumToWrite>& spectra, std::string_view format,
                             ExistingFile existing, std::string_view when_kept, common::FileOps& ops) {
    std::ostringstream out;
    if (!write_spectra(out, spectra, format)) {
        return {CopyOutcome::Failed, {common::SaveProblem::Content, {}}};
    }
    const std::string content = out.str();
    if (const auto old = read_whole_file(target)) {
        if (*old == content || same_spectra(*old, content, target)) {
            return {CopyOutcome::Unchanged, {}};
        }
        bool replace = existing == ExistingFile::Replace;
        if (existing == ExistingFile::Ask) {
            std::string question = "The file " + target + " already exists\rand holds other data than the spectrum of " +
                                   source + "\rReplace it?";
            if (!when_kept.empty()) {
                question += " (" + std::string(when_kept) + ")";
            }
            replace = common::ASK_YN(ui, question);
        }
        if (!replace) {
            return {CopyOutcome::Kept, {}};
        }
    }
    const common::SaveResult saved = common::replace_file(
        target,
        [&content](std::ostream& o) {
            o << content;
            return static_cast<bool>(o);
        },
        ops);
    return {saved ? CopyOutcome::Written : CopyOutcome::Failed, saved};
}

std::string native_copy_name(const std::string& source, const std::string& output_dir) {
    const common::PathParts parts = common::SPLITPATH(source);
    if (output_dir.empty()) {
        return parts.drive + parts.directory + parts.name + ".dat";
    }
    std::string dir = output_dir;
    if (dir.back() != '/' && dir.back() != '\\') {
        dir += common::path_separator();
    }
    return dir + parts.name + ".dat";
}

ConvertResult CONVERT_SPECTRUM_FILE(RawFileTable& files, common::Ui& ui, const std::string& source,
                                    const std::string& output_dir, ExistingFile existing, common::FileOps& ops) {
    ConvertResult r;
    r.target = source;
    const std::string extension = common::LOWCASE(common::SPLITPATH(source).extension);
    if (extension == ".spe") {
        const common::InputFile file = common::read_input_file(source);
        if (!file.ok()) {
            common::WARN(ui, common::input_problem_text(file, source, "Error opening the spectrum file: " + source));
            r.failed = true;
            return r;
        }
        const SpeFile spe = read_spe_text(ui, file.text, source, SpeMode::Convert);
        if (!spe.has_data) {
            r.failed = true;
            return r;
        }
        r = write_copy(ui, source, native_copy_name(source, output_dir), spe.header, spe.counts, existing, ops);
    } else if (extension == ".chn") {
        const ChnRead chn = read_chn_file(files, CHN_UNIT, source);
        if (chn.problem != ChnProblem::None) {
            common::WARN(ui, chn_problem_text(chn.problem, source));
            r.failed = true;
            return r;
        }
        const std::vector<double> counts(chn.file.counts.begin(), chn.file.counts.end());
        r = write_copy(ui, source, native_copy_name(source, output_dir), chn_header(chn.file), counts, existing, ops);
    } else if (extension == ".dat") {
        const common::InputFile file = common::read_input_file(source);
        if (!file.ok()) {
            common::WARN(ui, common::input_problem_text(file, source, "Unable to open spectrum file " + source));
            r.failed = true;
            return r;
        }
        r.is_tembra = is_tembra_text(file.text);
        return r;
    } else if (const auto kind = foreign_kind(extension)) {
        return convert_foreign_file(ui, *kind, source, output_dir, existing, ops);
    } else {
        return r;
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
            folder += common::path_separator();
        }
    }
    return folder + parts.name + "_tembra.dat";
}

ConvertResult convert_tembra_file(common::Ui& ui, const std::string& source, const std::string& output_dir,
                                  ExistingFile existing, common::FileOps& ops) {
    ConvertResult r;
    r.target = source;
    r.is_tembra = true;
    const common::InputFile file = common::read_input_file(source);
    if (!file.ok()) {
        common::WARN(ui, common::input_problem_text(file, source, "Unable to open: " + source));
        r.failed = true;
        return r;
    }
    const TembraFile t = read_tembra_text(ui, file.text, source);
    if (!t.ok) {
        r.failed = true;
        return r;
    }
    r = write_copy(ui, source, tembra_copy_name(source, output_dir), t.pane.sample.empty() ? t.pane.file : t.pane.sample,
                   t.counts, existing, ops);
    r.is_tembra = true;
    return r;
}

}  // namespace vorelbox::spectra
