#include <chrono>
#include <ctime>
#include <filesystem>

#include "adder_commands.h"
#include "safe_file.h"
#include "save_list_spectra.h"
#include "text_utils.h"

namespace vorelbox::adder {
namespace {

constexpr const char* list_filter = "Spectrum list (*.vsl)|*.vsl|All files|*.*||";
constexpr const char* spectrum_file_filter = "Spectrum file (*.dat)|*.dat|All files|*.*||";

void empty_list(AdderState& adder) {
    adder.list.rows.clear();
    adder.list.channels = 0;
    adder.list.selected_row = 0;
    adder.list.file_name = UNTITLED_LIST;
    adder.page.channels_in_spectra.clear();
    adder.page.list_view = FILL_SPECT_LIST(adder.list);
    adder.page.redraw_request = true;
}

void forget_input(AdderState& adder) {
    adder.page.input_channels = 0;
    adder.page.input_spectra = 0;
    adder.page.selected_input = 0;
}

// Asks whether an unsaved list is saved first; false when the user cancels.
bool offer_to_save(AdderState& adder, common::Ui& ui, const char* question) {
    if (!adder.list.not_saved) {
        return true;
    }
    const char answer = common::ASK_YNC(ui, question);
    if (answer == 'C') {
        return false;
    }
    if (answer == 'Y') {
        save_list_as(adder, ui);
    }
    return true;
}

void load_list(spectra::SpectrumStore& store, spectra::RawFileTable& files, AdderState& adder, common::Ui& ui,
               AdderCommand command, int entry) {
    if (!offer_to_save(adder, ui, "The present spectrum list is not saved - save before loading another?")) {
        return;
    }
    std::string name;
    if (command == AdderCommand::RecentList) {
        if (entry < 1 || entry > static_cast<int>(adder.recent_lists.entries.size())) {
            return;
        }
        std::string& recent = adder.recent_lists.entries[static_cast<std::size_t>(entry - 1)];
        name = std::string(common::trim_right(recent));
        if (name.empty()) {
            return;
        }
        if (!common::file_exists(name) && name.rfind("Untitled", 0) != 0) {
            common::WARN(ui, "The spectrum list " + name + " has been removed");
            recent.clear();
            SORT_VSL(adder.recent_lists, adder.list.file_name);
            return;
        }
    } else {
        const common::PathParts parts = common::SPLITPATH(adder.list.file_name);
        name = common::FIND_FILEW(ui, parts.drive + parts.directory + "*.vsl", "Spectrum list", list_filter);
        if (name.empty()) {
            return;
        }
    }
    // A file chosen in place of a missing one marks the loaded list as not saved.
    adder.list.not_saved = false;
    if (LOAD_SPECTLIST(adder.list, store, files, adder.recent_lists, ui, name)) {
        SORT_VSL(adder.recent_lists, name);
        adder.page.list_view = FILL_SPECT_LIST(adder.list);
        adder.page.redraw_request = true;
        return;
    }
    common::WARN(ui, "Error reading Spectrum list: " + name);
    forget_input(adder);
    empty_list(adder);
}

}  // namespace

void reload_adder(spectra::SpectrumStore& store, spectra::RawFileTable& files, AdderState& adder, common::Ui& ui,
                  common::Clipboard& clipboard) {
    SpectrumList& list = adder.list;
    if (!list.not_saved && !list.file_name.empty() && list.file_name != UNTITLED_LIST &&
        common::file_exists(list.file_name)) {
        // Read into a copy: when the file cannot be read now, the rows shown stay.
        SpectrumList reread = list;
        if (LOAD_SPECTLIST(reread, store, files, adder.recent_lists, ui, list.file_name)) {
            reread.selected_row = list.selected_row <= reread.row_count() ? list.selected_row : 0;
            list = std::move(reread);
            adder.page.list_view = FILL_SPECT_LIST(list);
        } else if (reread.file_name.empty()) {
            // The user chose to drop the list.
            empty_list(adder);
            list.file_name.clear();
        }
    }
    if (adder.page.input_spectra > 0) {
        restore_input_spectrum(store, files, adder, ui, clipboard);
    }
    refresh_page(adder);
    adder.page.redraw_request = true;
}

bool save_list_as(AdderState& adder, common::Ui& ui) {
    const std::string name = common::SAVE_FILEWEXT(ui, adder.list.file_name, "Save spectrum list", list_filter, ".vsl");
    if (name.empty()) {
        return false;
    }
    if (const auto saved = write_spectrum_list_file(name, adder.list); !saved) {
        common::WARN(ui, common::save_failure_text("Unable to save the spectrum list " + name, saved));
        return false;
    }
    adder.list.file_name = name;
    adder.list.not_saved = false;
    SORT_VSL(adder.recent_lists, name);
    return true;
}

void list_command(spectra::SpectrumStore& store, spectra::RawFileTable& files, AdderState& adder,
                  common::Ui& ui, AdderCommand command, int argument) {
    SpectrumList& list = adder.list;
    const int selected = list.selected_row;
    switch (command) {
        case AdderCommand::Remove:
            if (selected < 1 || selected > list.row_count()) {
                return;
            }
            list.rows.erase(list.rows.begin() + (selected - 1));
            if (list.rows.empty()) {
                empty_list(adder);
            }
            list.selected_row = 0;
            list.not_saved = true;
            adder.page.list_view = FILL_SPECT_LIST(list);
            adder.page.redraw_request = true;
            return;
        case AdderCommand::RemoveAll:
            empty_list(adder);
            list.not_saved = true;
            return;
        case AdderCommand::MoveUp:
        case AdderCommand::MoveDown: {
            const int other = command == AdderCommand::MoveUp ? selected - 1 : selected + 1;
            if (selected < 1 || selected > list.row_count() || other < 1 || other > list.row_count()) {
                return;
            }
            std::swap(list.rows[static_cast<std::size_t>(selected - 1)], list.rows[static_cast<std::size_t>(other - 1)]);
            list.selected_row = other;
            list.not_saved = true;
            adder.page.list_view = FILL_SPECT_LIST(list);
            adder.page.redraw_request = true;
            return;
        }
        case AdderCommand::NewList:
            if (!offer_to_save(adder, ui, "The present spectrum list is not saved - save before creating the new?")) {
                return;
            }
            empty_list(adder);
            forget_input(adder);
            adder.page.input_file.clear();
            adder.page.selection_items.clear();
            list.not_saved = false;
            return;
        case AdderCommand::LoadList:
        case AdderCommand::RecentList:
            load_list(store, files, adder, ui, command, argument);
            return;
        case AdderCommand::SaveAs:
            save_list_as(adder, ui);
            return;
        default:
            return;
    }
}

void save_spectra(spectra::SpectrumStore& store, spectra::RawFileTable& files, AdderState& adder,
                  common::Ui& ui, common::Clipboard& clipboard) {
    const SpectrumList& list = adder.list;
    if (list.rows.empty()) {
        common::WARN(ui, "There is nothing to save");
        return;
    }
    const int choice = common::ASK_YES_NO_ALL(
        ui,
        "Save spectra in \"spectrum list\" as a new spectrum file [click: Spectrum file ]\r"
        "Save sum spectrum as a new spectrum file [click: Sum ]\r"
        "Save spectra in \"spectrum list\" and sum spectrum in one new spectrum file [click: Both ]\r"
        "Or do nothing (Cancel)",
        {"Spectrum file", "Sum", "Both", "Cancel"});
    SaveMode mode = SaveMode::Spectra;
    if (choice == common::answer::no_button) {
        mode = SaveMode::Sum;
    } else if (choice == common::answer::all) {
        mode = SaveMode::Both;
    } else if (choice != common::answer::yes_button) {
        return;
    }
    // The reader takes at most 100 spectra from a file: a file with more would
    // not read back whole.
    if (const auto warning = too_many_spectra(list, mode)) {
        common::WARN(ui, *warning);
        return;
    }
    // The default names come from the list file's folder and name.
    const common::PathParts parts = common::SPLITPATH(list.file_name.empty() ? UNTITLED_LIST : list.file_name);
    const std::string stem = parts.drive + parts.directory + parts.name;
    const char* suffix = mode == SaveMode::Spectra ? ".dat" : mode == SaveMode::Sum ? "_sum.dat" : "_with_sum.dat";
    const char* title = mode == SaveMode::Both ? "Save the list in a spectrum file"
                                               : "Save the collected spectra in a spectrum file";
    const std::string path = common::SAVE_FILEWEXT(ui, stem + suffix, title, spectrum_file_filter, ".dat");
    if (path.empty()) {
        return;
    }

    std::optional<std::string> label;
    if (mode != SaveMode::Spectra) {
        common::LabelRequest request;
        request.title = "Vorelix Query";
        request.text = "Include sum in " + path;
        request.field_caption = "Sum Spectrum Label:";
        request.label = default_sum_label(list.channels, local_time_now());
        for (;;) {
            label = ui.ask_label(request);
            if (!label) {
                common::WARN(ui, "The sum spectrum is dropped");
                break;
            }
            if (!common::is_blank(*label)) {
                break;
            }
            common::WARN(ui, "You must specify a label");
            request.label = *label;
        }
        // Without its sum, a "Sum" file would hold nothing: the old file stays.
        if (!label && mode == SaveMode::Sum) {
            return;
        }
    }
    if (const auto saved = write_list_spectra(path, list, mode, label); !saved) {
        common::WARN(ui, common::save_failure_text("Unable to write spectrum file " + path, saved));
        return;
    }
    load_input_file(store, files, adder, ui, clipboard, path);
}

}  // namespace vorelbox::adder
