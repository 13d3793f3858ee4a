#include "converter_page.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "converter_commands.h"
#include "convert_spectrum_file.h"
#include "edit_format.h"
#include "foreign_formats.h"
#include "load_spectrum_file.h"
#include "os_path.h"
#include "pasted_spectrum.h"
#include "safe_file.h"
#include "text_utils.h"
#include "write_spectrum_file.h"
#include "zoom.h"

namespace vorelbox::converter {
namespace {

namespace fs = std::filesystem;

std::string find_filter() {
    return "Any spectrum file (*.dat;*.chn;*.spe)|*.dat;*.chn;*.spe|" + spectra::foreign_files_filter() +
           "Spectrum in control file (*.lmc,*.cvc)|*.lmc;*.cvc|all files|*.*||";
}

struct Page {
    spectra::SpectrumStore& store;
    spectra::RawFileTable& files;
    Converter& converter;
    adder::RecentFiles& recent;
    common::Ui& ui;
    common::Clipboard& clipboard;
    ConverterState& state = converter.state;
    ConverterPageState& page = converter.page;
};

void select_spectrum(Page& p, int k) {
    if (k < 1 || k > p.state.spectra || k > p.store.FILE_SPECTRUM_COUNT) {
        return;
    }
    p.state.selected = k;
    const auto& column = p.store.FILE_SPECTRA[static_cast<std::size_t>(k - 1)];
    std::copy_n(column.begin(), p.state.channels, p.store.CURRENT_SPECTRUM.begin());
    p.store.CHANNEL_COUNT = p.state.channels;
    p.page.redraw_request = true;
}

void clear(Page& p) {
    ConverterState empty;
    empty.trim = p.state.trim;
    p.state = empty;
    p.page.peak_channel.clear();
}

// The spectra are in the store: show them, spectrum 1 selected, the window the whole spectrum.
void show_loaded(Page& p, const std::vector<std::string>& headers) {
    ConverterState& s = p.state;
    s.channels = p.store.CHANNEL_COUNT;
    s.spectra = p.store.FILE_SPECTRUM_COUNT;
    s.headers.clear();
    for (const std::string& h : headers) {
        s.headers.push_back(common::cut_chars(h, CONVERTER_HEADER_LENGTH));
    }
    s.first = s.saved_first = 1;
    s.last = s.saved_last = s.channels;
    p.page.zoom_index = 0;
    p.page.scroll_position = 1;
    p.page.channels_in_spectrum = s.channels;
    p.page.peak_channel.clear();
    select_spectrum(p, 1);
}

// The name of the native copy of a file of a foreign kind.
std::string native_copy_of(const spectra::CheckResult& r) {
    if (r.type_code == spectra::TYPE_TEMBRA) {
        return r.tembra_name;
    }
    if (r.type_code == spectra::TYPE_INTRINSIC) {
        // Beside the control file, named so that it never replaces a spectrum file of the same name.
        const common::PathParts parts = common::SPLITPATH(r.file_name);
        return parts.drive + parts.directory + parts.name + "_intrinsic.dat";
    }
    return spectra::native_copy_name(r.file_name);
}

// A paste's file is a native spectrum file under a name the identification
// does not know; it is read as such, so that a paste survives Reload and the
// next start.
spectra::CheckResult read_pasted(spectra::SpectrumStore& store, common::Ui& ui, const std::string& path) {
    spectra::CheckResult r;
    r.file_name = path;
    if (spectra::LOAD_SPECTRUM_FILE(store, ui, path).channel_count <= 0) {
        return r;
    }
    r.type_code = spectra::TYPE_NATIVE;
    r.type_text = spectra::TYPE_TEXT_NATIVE;
    r.channels = store.CHANNEL_COUNT;
    r.spectra = store.FILE_SPECTRUM_COUNT;
    r.headers.assign(store.FILE_SPECTRUM_HEADERS.begin(), store.FILE_SPECTRUM_HEADERS.begin() + r.spectra);
    return r;
}

// A file read into a store of its own: the spectra shown stay until it has been read.
struct ReadFile {
    spectra::CheckResult result;
    spectra::SpectrumStore store;
};

ReadFile read_file(Page& p, common::Ui& ui, const std::string& name) {
    ReadFile read;
    read.result = spectra::is_pasted_spectrum_file(name) ? read_pasted(read.store, ui, name)
                                                         : spectra::CHECK_SPECTRUM_FILE(read.store, p.files, ui, name);
    return read;
}

// After a file could not be read the page keeps what it shows, as long as the
// store still holds it; the adder may have used the store meanwhile.
void keep_or_clear(Page& p) {
    const ConverterState& s = p.state;
    if (!s.file.empty() && p.store.LOADED_SPECTRUM_FILE == s.file && p.store.FILE_SPECTRUM_COUNT == s.spectra &&
        p.store.CHANNEL_COUNT == s.channels) {
        select_spectrum(p, s.selected);
    } else {
        clear(p);
    }
}

void show_read(Page& p, ReadFile& read) {
    const spectra::CheckResult& r = read.result;
    p.store = std::move(read.store);
    p.store.LOADED_SPECTRUM_FILE = r.file_name;
    clear(p);
    ConverterState& s = p.state;
    s.file = r.file_name;
    s.type_code = r.type_code;
    s.type_text = r.type_text;
    s.maestro = r.maestro;
    s.spe = r.spe;
    s.tembra = r.tembra;
    s.foreign = r.foreign;
    show_loaded(p, r.headers);
}

// The native copy of a converted file, written at once. A file of its name that
// holds another spectrum is replaced only when the user agrees; otherwise the
// converted spectrum stays unsaved.
void save_native_copy(Page& p, const spectra::CheckResult& r) {
    ConverterState& s = p.state;
    const std::string copy = native_copy_of(r);
    // Every spectrum of the file: an N42 file may hold several.
    std::vector<std::vector<double>> counts;
    std::vector<spectra::SpectrumToWrite> spectra;
    for (int k = 1; k <= s.spectra; ++k) {
        counts.push_back(window_counts(p.store.FILE_SPECTRA[static_cast<std::size_t>(k - 1)], 1, s.channels, false));
    }
    std::vector<double> all;  // for the count format, which the widest count of all decides
    for (std::size_t k = 0; k < counts.size(); ++k) {
        spectra.push_back({s.headers[k], counts[k], CONVERTER_HEADER_LENGTH});
        all.insert(all.end(), counts[k].begin(), counts[k].end());
    }
    const spectra::NativeCopy written = spectra::write_native_copy(
        p.ui, r.file_name, copy, spectra, spectra::eight_per_line_format(all), spectra::ExistingFile::Ask,
        "No keeps it; the converted spectrum stays unsaved");
    switch (written.outcome) {
        case spectra::CopyOutcome::Written:
        case spectra::CopyOutcome::Unchanged:
            s.unsaved_conversion = false;
            break;
        case spectra::CopyOutcome::Kept:
            s.unsaved_conversion = true;
            break;
        case spectra::CopyOutcome::Failed:
            s.unsaved_conversion = true;
            common::WARN(p.ui, common::save_failure_text("Problem reading " + copy, written.saved));
            break;
    }
}

void load(Page& p, const std::string name) {  // a copy: clearing the page empties the file name
    // The identification names most problems itself; one message a failure.
    common::CountingUi counting(p.ui);
    ReadFile read = read_file(p, counting, name);
    if (read.result.channels <= 0) {
        if (counting.shown() == 0) {
            common::WARN(p.ui, "This is not a proper spectrum file");
        }
        keep_or_clear(p);
        return;
    }
    show_read(p, read);
    if (read.result.converted) {
        save_native_copy(p, read.result);
    }
    adder::SORT_CONV(p.recent, p.state.file);
}

void find_file(Page& p) {
    const common::PathParts parts = common::SPLITPATH(p.state.file);
    const std::string chosen =
        common::FIND_FILEW(p.ui, parts.drive + parts.directory, "Vorelix Spectrum Converter", find_filter());
    if (!chosen.empty()) {
        load(p, chosen);
    }
}

void recent_file(Page& p, int entry) {
    if (entry < 1 || entry > static_cast<int>(p.recent.entries.size())) {
        return;
    }
    std::string& recent = p.recent.entries[static_cast<std::size_t>(entry - 1)];
    const std::string name(common::trim_right(recent));
    if (name.empty()) {
        return;
    }
    std::error_code ec;
    if (!fs::exists(common::os_path(name), ec) && name.rfind("Untitled", 0) != 0) {
        common::WARN(p.ui, "The spectrum file " + name + " has been removed");
        recent.clear();
        adder::SORT_CONV(p.recent, p.state.file);
        return;
    }
    load(p, name);
}

// Every paste gets a file of its own, which the page then shows like any file:
// it survives Reload, a visit to the adder and the next start.
void paste(Page& p) {
    const std::string path = spectra::new_pasted_spectrum_path(p.converter.program_folder);
    std::error_code ec;
    if (!spectra::CLIPBOARDTOFILE(p.clipboard, p.files, p.ui, path) ||
        !spectra::CHECK_PASTED_SPECTRA(p.ui, path, 0).ok) {
        fs::remove(common::os_path(path), ec);
        return;
    }
    ReadFile read;
    read.result = read_pasted(read.store, p.ui, path);
    if (read.result.channels <= 0) {
        common::WARN(p.ui, "Unable to load spectrum from ClipBoard");
        fs::remove(common::os_path(path), ec);
        return;
    }
    show_read(p, read);
}

void edit_header(Page& p) {
    if (p.state.selected < 1 || p.state.selected > static_cast<int>(p.state.headers.size())) {
        return;
    }
    std::string& header = p.state.headers[static_cast<std::size_t>(p.state.selected - 1)];
    common::LabelRequest request;
    request.title = "Vorelbox Edit Header";
    request.text_caption = "Old header";
    request.text = header;
    request.field_caption = "New header";
    request.label = header;
    request.caret_at_start = true;
    if (const auto edited = p.ui.ask_label(request)) {
        header = common::cut_chars(*edited, CONVERTER_HEADER_LENGTH);
    }
}

void refresh(const spectra::SpectrumStore& store, Converter& converter) {
    const ConverterState& s = converter.state;
    ConverterPageState& page = converter.page;
    const common::PathParts parts = common::SPLITPATH(s.file);
    page.file_text = s.file.empty() ? std::string() : parts.name + parts.extension;
    page.modified_mark = s.unsaved_conversion;
    page.type_text = s.type_text;
    page.number_of_channels = s.channels > 0 ? std::to_string(s.channels) : std::string();
    page.number_of_spectra = s.spectra > 0 ? std::to_string(s.spectra) : std::string();
    page.spin_maximum = std::max(1, s.spectra);
    page.first_channel_maximum = std::max(1, s.channels);
    // The length can reach the end of the spectrum from the first channel on;
    // it follows every load and every change of "Trim".
    page.channels_in_spectrum_maximum = s.trim ? std::max(0, s.channels + 1 - s.first) : s.channels;
    const common::ChannelWindow window = common::channel_window(s.channels, page.zoom_index, page.scroll_position);
    page.scroll_position = window.first;
    page.first_displayed = window.first;
    page.last_displayed = window.last;
    page.center_peak_enabled = page.zoom_index > 1;
    (void)store;
}

}  // namespace

std::vector<double> window_counts(const std::vector<double>& counts, int first, int last, bool round) {
    std::vector<double> out;
    const int n = static_cast<int>(counts.size());
    first = std::max(first, 1);
    last = std::min(last, n);
    for (int i = first; i <= last; ++i) {
        const double c = counts[static_cast<std::size_t>(i - 1)];
        out.push_back(round ? std::round(c) : std::trunc(c));
    }
    return out;
}

common::SaveResult write_converted_spectrum(const std::string& path, const std::string& header,
                                            const std::vector<double>& counts, bool append, common::FileOps& ops) {
    const std::vector<spectra::SpectrumToWrite> spectra{{header, counts, CONVERTER_HEADER_LENGTH}};
    const std::string format = spectra::eight_per_line_format(counts);
    if (!append) {
        return spectra::write_spectrum_file(path, spectra, format, ops);
    }
    return common::append_to_file(
        path, [&](std::ostream& out) { return spectra::write_spectra(out, spectra, format); }, ops,
        common::system_line_ends());
}

void SPECTCONV_APPLY_SUB(spectra::SpectrumStore& store, spectra::RawFileTable& files, Converter& converter,
                         adder::RecentFiles& recent, common::Ui& ui, common::Clipboard& clipboard,
                         ConverterCommand command, int argument) {
    Page p{store, files, converter, recent, ui, clipboard};
    switch (command) {
        case ConverterCommand::FindFile:
            find_file(p);
            break;
        case ConverterCommand::Reload:
            if (!p.state.file.empty()) {
                load(p, p.state.file);
            }
            break;
        case ConverterCommand::RecentFile:
            recent_file(p, argument);
            break;
        case ConverterCommand::Paste:
            paste(p);
            break;
        case ConverterCommand::HeaderSelection:
        case ConverterCommand::SpinSelection:
            select_spectrum(p, argument);
            break;
        case ConverterCommand::EditHeader:
            edit_header(p);
            break;
        case ConverterCommand::Trim:
        case ConverterCommand::FirstChannel:
        case ConverterCommand::ChannelsInSpectrum:
        case ConverterCommand::CenterPeak:
            window_command(store, converter, ui, command, argument);
            break;
        case ConverterCommand::SaveAs:
        case ConverterCommand::AppendTo:
        case ConverterCommand::MenuSaveAs:
            save_command(store, converter, ui, command);
            break;
        case ConverterCommand::Log:
        case ConverterCommand::Lin:
            converter.page.log_scale = command == ConverterCommand::Log;
            converter.page.redraw_request = true;
            break;
        case ConverterCommand::Redraw:
        case ConverterCommand::XZoom:
        case ConverterCommand::Scroll:
            converter.page.redraw_request = true;
            break;
        case ConverterCommand::NewList:
            common::WARN(ui, "Can't create a new list (yet)");
            break;
        case ConverterCommand::OtherClicked:
            common::WARN(ui, "Converter clicked - not yet programmed");
            break;
        case ConverterCommand::OtherSelection:
            common::WARN(ui, "Converter dlg_selchange - not yet programmed");
            break;
        case ConverterCommand::OtherValue:
            common::WARN(ui, "Converter dlg_change - not yet programmed");
            break;
    }
    refresh(store, converter);
}

}  // namespace vorelbox::converter
