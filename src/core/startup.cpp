#include "startup.h"

#include "adder_commands.h"
#include "app_state.h"
#include "text_utils.h"

namespace vorelbox::core {
namespace {

void apply_settings(AppState& state, const Settings& s) {
    state.settings = s;
    state.program = s.program;
    state.adder.recent_lists = s.recent_lists;
    state.adder.list.file_name = s.spectrum_list;
    state.adder.page.input_file = s.spectrum_file;
    state.adder.page.display_selection = s.show_selected;
    state.adder.page.show_sum = s.show_sum;
    state.recent_converter_files = s.recent_converter_files;
    state.converter.state.file = s.converter_file;
}

void restore_adder(AppState& state, common::Ui& ui, common::Clipboard& clipboard) {
    adder::AdderState& adder = state.adder;
    const std::string list = adder.list.file_name;
    adder.list.not_saved = false;
    const bool loaded = adder::LOAD_SPECTLIST(adder.list, state.store, state.raw_files, adder.recent_lists, ui, list);
    if (!loaded && !common::is_blank(list)) {
        common::WARN(ui, "Unable to load Spectrum list: " + list);
        adder.list.file_name.clear();
        if (adder.recent_lists.entries[0] == list) {
            adder.recent_lists.entries[0].clear();
        }
        adder::SORT_VSL(adder.recent_lists, "");
        ui.set_status_text(2, "No data");
    }
    adder.page.list_view = adder::FILL_SPECT_LIST(adder.list);
    const std::string input = adder.page.input_file;
    if (!input.empty()) {
        adder::load_input_file(state.store, state.raw_files, adder, ui, clipboard, input);
    }
    adder::refresh_page(adder);
    if (loaded) {
        ui.set_status_text(1, state.control_parameters_changed ? "Control parameters changed" : "Ready for Analysis");
        ui.set_status_text(2, "Spectrum list [" + common::name_with_extension(list) + "] loaded");
        // A row selected in the restored list becomes the current spectrum.
        adder::LOAD_SPECTRUM_IN_LIST(adder.list, state.store, ui, adder.list.selected_row);
    }
}

}  // namespace

int VORELBOXINI(AppState& state, common::Ui& ui, common::Clipboard& clipboard, const std::string& settings_path,
                const std::vector<std::string>& arguments) {
    apply_settings(state, read_settings_file(settings_path, ui));
    state.startup_file = arguments.empty() ? std::string() : arguments.front();
    if (!state.settings.start_empty) {
        adder::SORT_CONV(state.recent_converter_files, state.converter.state.file);
        adder::SORT_VSL(state.adder.recent_lists, state.adder.list.file_name);
    }

    if (!state.startup_file.empty()) {
        // A file named on the command line chooses the program by its extension and is opened.
        const bool list = common::LOWCASE(common::SPLITPATH(state.startup_file).extension) == ".vsl";
        state.program = list ? PROGRAM_ADDER : PROGRAM_CONVERTER;
        if (list) {
            state.adder.list.file_name = state.startup_file;
            state.adder.page.input_file.clear();
            restore_adder(state, ui, clipboard);
        } else {
            state.converter.state.file = state.startup_file;
        }
    } else if (state.settings.start_empty) {
        // An empty start opens nothing: neither program's previous files.
        ui.set_status_text(2, "No data");
        state.adder.list.file_name.clear();
        state.adder.page.input_file.clear();
        state.converter.state.file.clear();
    } else if (state.program == PROGRAM_ADDER) {
        state.startup_file = state.adder.list.file_name;
        restore_adder(state, ui, clipboard);
    } else {
        state.startup_file = state.converter.state.file;
    }
    // The converter's file is opened when its page is set up (its "&Reload").
    return state.program == PROGRAM_ADDER ? PROGRAM_ADDER : PROGRAM_CONVERTER;
}

void toggle_start_empty(AppState& state, common::Ui& ui) {
    state.settings.start_empty = !state.settings.start_empty;
    common::TELL(ui, state.settings.start_empty
                         ? "The next startup of Vorelbox will begin with an empty dataset"
                         : "The next startup of Vorelbox will begin with the dataset previously opened");
}

}  // namespace vorelbox::core
