#include "check_spectrum_file.h"

#include <filesystem>

#include "control_file.h"
#include "foreign_formats.h"
#include "input_file.h"
#include "load_spectrum_file.h"
#include "os_path.h"
#include "text_utils.h"

namespace vorelbox::spectra {
namespace {

// How often a control file may name another file before the chain is given up.
constexpr int max_references = 8;

void finish(SpectrumStore& store, CheckResult& r) {
    r.channels = store.CHANNEL_COUNT;
    r.spectra = store.FILE_SPECTRUM_COUNT;
    r.headers.assign(store.FILE_SPECTRUM_HEADERS.begin(), store.FILE_SPECTRUM_HEADERS.begin() + r.spectra);
    r.header = r.headers.empty() ? std::string() : r.headers.front();
}

// Puts a foreign file's one spectrum into the store; false, after a message,
// when the memory cannot be had.
template <typename Counts>
bool stored(SpectrumStore& store, common::Ui& ui, Counts&& counts, const std::string& header,
            const std::string& file_name) {
    const std::size_t channels = counts.size();
    if (store_single_spectrum(store, std::forward<Counts>(counts), header)) {
        return true;
    }
    common::WARN(ui, "Not enough memory to read the " + std::to_string(channels) +
                         " channels of the spectrum file \"" + std::string(common::trim(file_name)) + "\"");
    return false;
}

// A file named in a control file, relative names taken from the control file's folder.
std::string referred_name(const std::string& control_file, const std::string& named) {
    std::error_code ec;
    if (named.empty() || std::filesystem::exists(common::os_path(named), ec)) {
        return named;
    }
    const common::PathParts parts = common::SPLITPATH(named);
    if (!parts.drive.empty() || !parts.directory.empty()) {
        return named;
    }
    const common::PathParts control = common::SPLITPATH(control_file);
    return control.drive + control.directory + named;
}

CheckResult check(SpectrumStore& store, RawFileTable& files, common::Ui& ui, const std::string& file_name,
                  int references) {
    CheckResult r;
    r.file_name = file_name;
    const common::PathParts parts = common::SPLITPATH(file_name);
    const std::string shown_name = parts.name + parts.extension;
    common::STATUS(ui, "Checking file [" + shown_name + "]");
    const std::string extension = common::LOWCASE(parts.extension);

    if (extension == ".dat") {
        const common::InputFile file = common::read_input_file(file_name);
        if (!file.ok()) {
            common::WARN(ui, common::input_problem_text(file, file_name, "Error opening the file: " + file_name));
            return r;
        }
        const std::string& text = file.text;
        if (is_tembra_text(text)) {
            const TembraFile t = LOAD_TEMBRA_FILE(store, ui, file_name);
            if (!t.ok) {
                return r;
            }
            common::STATUS(ui, "Tembra file [" + shown_name);
            r.type_code = TYPE_TEMBRA;
            r.type_text = TYPE_TEXT_TEMBRA;
            r.description = store.FILE_SPECTRUM_HEADERS[0];
            r.tembra = t.pane;
            r.tembra_name = parts.drive + parts.directory + parts.name + "_tembra.dat";
            r.converted = true;
        } else {
            const LoadResult loaded = load_spectrum_text(store, ui, text, file_name);
            if (loaded.channel_count == 0) {
                return r;
            }
            r.type_code = TYPE_NATIVE;
            r.type_text = TYPE_TEXT_NATIVE;
            r.format = loaded.format;
            r.description = store.FILE_SPECTRUM_HEADERS[0];
        }
    } else if (extension == ".chn") {
        ChnRead chn = read_chn_file(files, CHN_UNIT, file_name);
        if (chn.problem != ChnProblem::None) {
            common::WARN(ui, chn_problem_text(chn.problem, file_name));
            return r;
        }
        if (!stored(store, ui, std::move(chn.file.counts), chn_header(chn.file), file_name)) {
            return r;
        }
        common::STATUS(ui, "Maestro file [" + shown_name);
        r.type_code = TYPE_MAESTRO;
        r.type_text = TYPE_TEXT_MAESTRO;
        r.description = one_line(chn.file.sample);
        r.maestro = maestro_pane(chn.file);
        r.converted = true;
    } else if (extension == ".spe") {
        const common::InputFile file = common::read_input_file(file_name);
        if (!file.ok()) {
            common::WARN(ui, common::input_problem_text(file, file_name, "Error opening the spectrum file: " + file_name));
            return r;
        }
        const SpeFile spe = read_spe_text(ui, file.text, file_name, SpeMode::Identify);
        if (!spe.has_data || !stored(store, ui, spe.counts, spe.header, file_name)) {
            return r;
        }
        common::STATUS(ui, "Mirdal file [" + shown_name + "] loaded");
        r.type_code = TYPE_SPE;
        r.type_text = TYPE_TEXT_SPE;
        r.description = spe.description;
        r.spe = spe.pane;
        r.converted = true;
    } else if (extension == ".lmc" || extension == ".cvc") {
        const common::InputFile file = common::read_input_file(file_name);
        if (!file.ok()) {
            common::WARN(ui, common::input_problem_text(file, file_name, "Error opening the file: " + file_name));
            return r;
        }
        const ControlSpectrum c = read_control_text(ui, file.text, file_name);
        if (c.kind == ControlSpectrum::Kind::Reference) {
            const std::string named = referred_name(file_name, c.spectrum_file);
            common::WARN(ui, "The file does not contain an intrinsic spectrum\ropening " + named + " in stead");
            if (references >= max_references) {
                common::WARN(ui, "Too many control files name one another: " + file_name);
                return r;
            }
            return check(store, files, ui, named, references + 1);
        }
        if (c.kind != ControlSpectrum::Kind::Intrinsic || !stored(store, ui, c.counts, c.header, file_name)) {
            return r;
        }
        r.type_code = TYPE_INTRINSIC;
        r.type_text = TYPE_TEXT_INTRINSIC;
        r.description = c.header;
        r.converted = true;
    } else if (const auto kind = foreign_kind(extension)) {
        if (!check_foreign_file(store, ui, *kind, file_name, r)) {
            return r;
        }
    } else {
        // The name tells no kind of spectrum file; the caller decides what to try.
        return r;
    }
    finish(store, r);
    return r;
}

}  // namespace

CheckResult CHECK_SPECTRUM_FILE(SpectrumStore& store, RawFileTable& files, common::Ui& ui,
                                const std::string& file_name) {
    return check(store, files, ui, file_name, 0);
}

}  // namespace vorelbox::spectra
