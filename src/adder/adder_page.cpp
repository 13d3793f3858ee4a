#include "adder_page.h"

#include "adder_commands.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <limits>

#include "convert_spectrum_file.h"
#include "foreign_formats.h"
#include "load_spectrum_file.h"
#include "os_path.h"
#include "pasted_spectrum.h"
#include "save_list_spectra.h"
#include "tembra_file.h"
#include "text_utils.h"
#include "write_spectrum_file.h"
#include "zoom.h"

namespace vorelbox::adder {
namespace {

namespace fs = std::filesystem;

std::string spectrum_filter() {
    return "Vorelix spectrum file (*.dat)|*.dat|Other spectrum file (*.spe)|*.spe|" + spectra::foreign_files_filter() +
           "all files|*.*||";
}

// The command being carried out, with everything it works on.
struct Page {
    spectra::SpectrumStore& store;
    spectra::RawFileTable& files;
    AdderState& adder;
    common::Ui& ui;
    common::Clipboard& clipboard;
    SpectrumList& list = adder.list;
    AdderPageState& page = adder.page;
};

std::string folder_of(const std::string& path) {
    const common::PathParts parts = common::SPLITPATH(path);
    return parts.drive + parts.directory;
}

void select_input_spectrum(Page& p, int k) {
    if (k < 1 || k > p.page.input_spectra || k > p.store.FILE_SPECTRUM_COUNT) {
        return;
    }
    p.page.selected_input = k;
    const auto& column = p.store.FILE_SPECTRA[static_cast<std::size_t>(k - 1)];
    std::copy_n(column.begin(), p.page.input_channels, p.store.CURRENT_SPECTRUM.begin());
    p.store.CHANNEL_COUNT = p.page.input_channels;
}

void reset_window(Page& p) {
    p.page.zoom_index = 0;
    p.page.scroll_position = 1;
    p.page.redraw_request = true;
}

// Loads a spectrum file as the input file: converts a foreign file, reads its
// spectra and offers their headers. A file without channels blanks the input.
void load_input(Page& p, const std::string& chosen) {
    AdderPageState& page = p.page;
    page.input_channels = 0;
    page.input_spectra = 0;
    page.selected_input = 0;
    page.selection_items.clear();
    page.input_file.clear();
    const spectra::ConvertResult converted = spectra::CONVERT_SPECTRUM_FILE(p.files, p.ui, chosen);
    if (converted.failed) {
        return;
    }
    int channels = 0;
    if (converted.is_tembra) {
        const spectra::TembraFile t = spectra::LOAD_TEMBRA_FILE(p.store, p.ui, chosen);
        channels = t.ok ? t.channels : 0;
        if (t.ok) {
            p.store.LOADED_SPECTRUM_FILE = chosen;
        }
    } else {
        channels = spectra::LOAD_SPECTRUM_FILE(p.store, p.ui, converted.target).channel_count;
    }
    if (channels <= 0) {
        return;
    }
    page.input_file = p.store.LOADED_SPECTRUM_FILE;
    page.input_spectra = p.store.FILE_SPECTRUM_COUNT;
    page.selection_items.assign(p.store.FILE_SPECTRUM_HEADERS.begin(),
                                p.store.FILE_SPECTRUM_HEADERS.begin() + page.input_spectra);
    if (channels > p.store.CHANNEL_CAPACITY) {
        common::WARN(p.ui, "Spectrumdata limited to " + std::to_string(p.store.CHANNEL_CAPACITY) + " channels");
        channels = p.store.CHANNEL_CAPACITY;
    }
    page.input_channels = channels;
    select_input_spectrum(p, 1);
    reset_window(p);
}

// The spectra of the input file must be in the store when they are included or
// shown; loading a list, or the converter, may have put other spectra there
// since. The file is then read again as it was first read: a Tembra file by its
// own reader, any other (a foreign file's native copy included) as a native file.
bool input_in_store(Page& p) {
    const std::string& path = p.page.input_file;
    if (path.empty()) {
        return false;
    }
    if (p.store.LOADED_SPECTRUM_FILE == path && p.store.FILE_SPECTRUM_COUNT == p.page.input_spectra &&
        p.store.CHANNEL_COUNT == p.page.input_channels) {
        return true;
    }
    int channels = 0;
    if (const auto text = spectra::read_whole_file(path)) {
        if (spectra::is_tembra_text(*text)) {
            const spectra::TembraFile t = spectra::LOAD_TEMBRA_FILE(p.store, p.ui, path);
            if (t.ok) {
                channels = t.channels;
                p.store.LOADED_SPECTRUM_FILE = path;
            }
        } else {
            channels = spectra::load_spectrum_text(p.store, p.ui, *text, path, true).channel_count;
        }
    }
    if (channels == p.page.input_channels && p.store.FILE_SPECTRUM_COUNT == p.page.input_spectra) {
        return true;
    }
    common::WARN(p.ui, "Unable to read the spectrum file " + path + " again");
    return false;
}

void lookup(Page& p) {
    const std::string folder = p.page.input_file.empty() ? std::string() : folder_of(p.page.input_file);
    const std::string chosen = common::FIND_FILEW(p.ui, folder + "*.dat", "Vorelix Spectrum", spectrum_filter());
    if (chosen.empty()) {
        return;
    }
    load_input(p, chosen);
}

// Every paste gets a file of its own, so that several pasted spectra can be in
// the list, and a saved list keeps naming the spectrum that was pasted.
void paste(Page& p) {
    const std::string path = spectra::new_pasted_spectrum_path(p.adder.program_folder);
    std::error_code ec;
    if (!spectra::CLIPBOARDTOFILE(p.clipboard, p.files, p.ui, path) ||
        !spectra::CHECK_PASTED_SPECTRA(p.ui, path, p.list.channels).ok) {
        fs::remove(common::os_path(path), ec);
        return;
    }
    load_input(p, path);
    if (p.page.input_channels <= 0) {
        common::WARN(p.ui, "Unable to load spectrum from ClipBoard");
        p.page.input_file.clear();
    }
}

}  // namespace

void load_input_file(spectra::SpectrumStore& store, spectra::RawFileTable& files, AdderState& adder,
                     common::Ui& ui, common::Clipboard& clipboard, const std::string& path) {
    Page p{store, files, adder, ui, clipboard};
    load_input(p, path);
}

std::optional<std::vector<double>> selected_input_counts(spectra::SpectrumStore& store, spectra::RawFileTable& files,
                                                         AdderState& adder, common::Ui& ui,
                                                         common::Clipboard& clipboard) {
    Page p{store, files, adder, ui, clipboard};
    const int k = adder.page.selected_input;
    if (k < 1 || k > adder.page.input_spectra || !input_in_store(p)) {
        return std::nullopt;
    }
    const auto& column = store.FILE_SPECTRA[static_cast<std::size_t>(k - 1)];
    return std::vector<double>(column.begin(), column.begin() + adder.page.input_channels);
}

void restore_input_spectrum(spectra::SpectrumStore& store, spectra::RawFileTable& files, AdderState& adder,
                            common::Ui& ui, common::Clipboard& clipboard) {
    Page p{store, files, adder, ui, clipboard};
    if (input_in_store(p)) {
        select_input_spectrum(p, adder.page.selected_input);
    }
    adder.page.redraw_request = true;
}

namespace {

void include_spectra(Page& p, bool all) {
    spectra::SpectrumStore& store = p.store;
    common::Ui& ui = p.ui;
    SpectrumList& list = p.list;
    AdderPageState& page = p.page;
    if (!input_in_store(p)) {
        return;
    }
    if (list.rows.empty()) {
        list.channels = 0;
    }
    if (page.input_channels != list.channels) {
        if (list.channels == 0) {
            list.channels = page.input_channels;
        } else {
            if (!common::ASK_YN(ui, "The number of channels in the file: " + std::to_string(page.input_channels) +
                                        " - differs from the number in the list\rReplace all?")) {
                return;
            }
            list.channels = page.input_channels;
            list.rows.clear();
            list.selected_row = 0;
            page.list_view = FILL_SPECT_LIST(list);
        }
    }
    const int first = all ? 1 : page.selected_input;
    const int last = all ? page.input_spectra : page.selected_input;
    const int available = std::min(static_cast<int>(page.selection_items.size()), store.FILE_SPECTRUM_COUNT);
    for (int k = std::max(first, 1); k <= std::min(last, available); ++k) {
        const std::string header =
            common::cut_chars(page.selection_items[static_cast<std::size_t>(k - 1)], LIST_HEADER_LENGTH);
        const bool included = std::any_of(list.rows.begin(), list.rows.end(), [&](const ListRow& row) {
            return row.header == common::trim_right(header) && row.file == page.input_file;
        });
        if (included) {
            common::WARN(ui, "Spectrum #" + std::to_string(k) + " is already included");
            continue;
        }
        CHECK_LIST_ALLOCATION(list, store, ui, list.row_count() + 1);
        ListRow row;
        row.header = std::string(common::trim_right(header));
        row.index = k;
        row.file = page.input_file;
        const auto& column = store.FILE_SPECTRA[static_cast<std::size_t>(k - 1)];
        row.counts.assign(column.begin(), column.begin() + page.input_channels);
        row.maximum = row_maximum(row.counts, page.input_channels);
        list.rows.push_back(row);
        page.list_view.rows.push_back(
            {ABC_NUMBER(list.row_count()), row.header, std::to_string(row.index), row.file, false});
    }
    list.channels = page.input_channels;
    list.not_saved = true;
    page.channels_in_spectra = std::to_string(list.channels);
    if (!all && page.selected_input < page.input_spectra) {
        select_input_spectrum(p, page.selected_input + 1);
    }
}

}  // namespace

void refresh_page(AdderState& adder) {
    AdderPageState& page = adder.page;
    const SpectrumList& list = adder.list;
    page.displayed_channels = page.display_selection ? page.input_channels : list.channels;
    page.include_enabled = !page.input_file.empty();
    page.list_commands_enabled = !list.rows.empty();
    page.row_commands_enabled = list.selected_row >= 1 && list.selected_row <= list.row_count();
    for (std::size_t i = 0; i < page.list_view.rows.size(); ++i) {
        page.list_view.rows[i].selected = static_cast<int>(i) + 1 == list.selected_row;
    }
    const common::PathParts parts = common::SPLITPATH(page.input_file);
    page.input_file_text = page.input_file.empty() ? std::string() : parts.name + parts.extension;
    page.number_of_channels = page.input_channels > 0 ? std::to_string(page.input_channels) : std::string();
    page.number_of_spectra = page.input_spectra > 0 ? std::to_string(page.input_spectra) : std::string();
    page.spin_maximum = std::max(1, page.input_spectra);
    page.spin_visible = page.input_spectra > 1;
    page.channels_in_spectra = list.channels > 0 ? std::to_string(list.channels) : std::string();
    const common::ChannelWindow window =
        common::channel_window(page.displayed_channels, page.zoom_index, page.scroll_position);
    page.scroll_position = window.first;
    page.first_displayed = window.first;
    page.last_displayed = window.last;
    page.center_peak_enabled = page.zoom_index > 1;
}

namespace {

// The counts the plot shows: the selected input spectrum, or per channel the
// largest count of the list's rows.
std::vector<double> displayed_data(const spectra::SpectrumStore& store, const AdderState& adder) {
    const AdderPageState& page = adder.page;
    if (page.display_selection) {
        const auto n = static_cast<std::size_t>(std::min(page.input_channels, store.CHANNEL_CAPACITY));
        return {store.CURRENT_SPECTRUM.begin(), store.CURRENT_SPECTRUM.begin() + static_cast<std::ptrdiff_t>(n)};
    }
    std::vector<double> highest(static_cast<std::size_t>(std::max(adder.list.channels, 0)),
                                -std::numeric_limits<double>::infinity());
    for (const ListRow& row : adder.list.rows) {
        for (std::size_t j = 0; j < highest.size() && j < row.counts.size(); ++j) {
            highest[j] = std::max(highest[j], row.counts[j]);
        }
    }
    return highest;
}

}  // namespace

void SPECTADD_APPLY_SUB(spectra::SpectrumStore& store, spectra::RawFileTable& files, AdderState& adder,
                        common::Ui& ui, common::Clipboard& clipboard, AdderCommand command, int argument) {
    Page p{store, files, adder, ui, clipboard};
    AdderPageState& page = adder.page;
    page.displayed_channels = page.display_selection ? page.input_channels : adder.list.channels;
    switch (command) {
        case AdderCommand::Lookup:
            lookup(p);
            break;
        case AdderCommand::Paste:
            paste(p);
            break;
        case AdderCommand::SpectrumSelection:
            if (input_in_store(p)) {
                select_input_spectrum(p, argument);
            }
            page.redraw_request = true;
            break;
        case AdderCommand::Include:
        case AdderCommand::IncludeAll:
            include_spectra(p, command == AdderCommand::IncludeAll);
            break;
        case AdderCommand::SaveSpectra:
            save_spectra(store, files, adder, ui, clipboard);
            break;
        case AdderCommand::DisplayList:
        case AdderCommand::DisplaySelection:
            page.display_selection = command == AdderCommand::DisplaySelection;
            page.displayed_channels = page.display_selection ? page.input_channels : adder.list.channels;
            reset_window(p);
            break;
        case AdderCommand::Log:
        case AdderCommand::Lin:
            page.log_scale = command == AdderCommand::Log;
            page.redraw_request = true;
            break;
        case AdderCommand::ListSelection:
        case AdderCommand::ShowSum:
        case AdderCommand::EnhanceSelected:
        case AdderCommand::Redraw:
            page.redraw_request = true;
            break;
        case AdderCommand::CenterPeak: {
            const std::vector<double> data = displayed_data(store, adder);
            if (!data.empty()) {
                const auto peak = static_cast<int>(std::max_element(data.begin(), data.end()) - data.begin()) + 1;
                page.scroll_position =
                    common::centred_window(static_cast<int>(data.size()), page.zoom_index, peak).first;
            }
            page.redraw_request = true;
            break;
        }
        case AdderCommand::XZoom:
        case AdderCommand::Scroll:
            page.redraw_request = true;
            break;
        case AdderCommand::LoadList:
        case AdderCommand::RecentList:
            list_command(store, files, adder, ui, command, argument);
            // Loading the list's files replaced the input file's spectra in the store.
            if (page.input_spectra > 0) {
                restore_input_spectrum(store, files, adder, ui, clipboard);
            }
            break;
        case AdderCommand::Remove:
        case AdderCommand::RemoveAll:
        case AdderCommand::MoveUp:
        case AdderCommand::MoveDown:
        case AdderCommand::SaveAs:
        case AdderCommand::NewList:
            list_command(store, files, adder, ui, command, argument);
            break;
        case AdderCommand::Other:
            common::WARN(ui, "Spectrum Adder action - not yet programmed");
            break;
    }
    refresh_page(adder);
}

}  // namespace vorelbox::adder
