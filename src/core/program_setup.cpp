#include "program_setup.h"

#include "app_state.h"
#include "text_utils.h"

namespace vorelbox::core {

std::string main_window_caption() {
    std::string caption = "Vorelbox - Version ";
    caption += common::trim(VERSION_TEXT);
    caption += " - ";
    caption += common::trim(DATE_TEXT);
    return caption;
}

std::array<std::string, 3> SET_VORELBOXTABNAMES(int program) {
    std::array<std::string, 3> names{"", "Text output", "Multispectrum plot"};
    if (program == PROGRAM_ADDER) {
        names[0] = "Spectrum adder";
    } else if (program == PROGRAM_CONVERTER) {
        names[0] = "Spectrum converter";
    }
    return names;
}

}  // namespace vorelbox::core

#include "app_state.h"

namespace vorelbox::core {

FileMenu SETUP_VORELBOX_MENU(int program) {
    FileMenu menu;
    menu.new_list_entry = program == 1;
    if (program == 1) {
        menu.texts = {{command::load_list_or_file, "Load spectrum list"},
                      {command::save_as, "Save spectrum list as"},
                      {command::show_report, "Show last spectrum adder log"},
                      {command::show_spectrum_text, "Show displayed spectrum as text"},
                      {command::show_input, "Show spectrum list"}};
    } else {
        menu.texts = {{command::load_list_or_file, "Load Spectrum file"},
                      {command::save_as, "Save converted spectrum as"},
                      {command::show_report, "Show last spectrum converter log"},
                      {command::show_spectrum_text, "Show final spectrum as text"},
                      {command::show_input, "Show original file"}};
    }
    return menu;
}

std::vector<ToolButton> BUILDVORELBOXTOOLBAR(int program, bool adder_page_selected) {
    const ToolButton separator{true, {}, 0, {}};
    if (program == 1) {
        std::vector<ToolButton> buttons{{false, "new_list", command::new_list, "New spectrum list"},
                                        {false, "open", command::load_list_or_file, "Load spectrum list"},
                                        {false, "save", command::save_as, "Save spectrum list"},
                                        separator,
                                        {false, "open", command::load_spectrum, "Load spectrum file"},
                                        {false, "save", command::save_sum, "Save spectrum files"},
                                        separator,
                                        {false, "page_setup", command::page_setup, "Setup page and print font"},
                                        {false, "print", command::print, "Nothing to print"},
                                        {false, "save", command::save_result, "Nothing to save"}};
        if (adder_page_selected) {
            buttons.resize(8);
        }
        return buttons;
    }
    return {{false, "open", command::load_list_or_file, "Load spectrum file"},
            {false, "save", command::save_as, "Save spectrum file"},
            separator,
            {false, "page_setup", command::page_setup, "Setup page and print font"},
            {false, "print", command::print, "Nothing to print"},
            {false, "save", command::save_result, "Save last result"}};
}

FileLine SHOW_VORELBOXPARAMETERS(const AppState& state, int tab) {
    FileLine line;
    if (tab == 3) {
        // The file the Multispectrum page shows.
        line.label = "Spectrum file";
        line.path = state.multispectrum.file_name;
        return line;
    }
    if (state.adder_active()) {
        line.label = "Spectrum list";
        line.marker = state.adder.list.not_saved ? '*' : ' ';
        line.path = state.adder.list.file_name;
        return line;
    }
    if (state.converter_active()) {
        line.label = "Original file";
        line.path = state.converter.state.file;
        return line;
    }
    line.valid = false;
    return line;
}

const std::string& active_program_file(const AppState& state) {
    return state.converter_active() ? state.converter.state.file : state.adder.page.input_file;
}

std::string folder_in_use(const AppState& state, int tab) {
    std::vector<std::string> candidates;
    if (tab == 3) {
        candidates.push_back(state.multispectrum.file_name);
    }
    if (state.adder_active()) {
        candidates.push_back(state.adder.list.file_name);
        candidates.push_back(state.adder.page.input_file);
    } else {
        candidates.push_back(state.converter.state.file);
    }
    for (const std::string& file : candidates) {
        const common::PathParts parts = common::SPLITPATH(file);
        if (!common::is_blank(file) && !(parts.drive + parts.directory).empty()) {
            return parts.drive + parts.directory;
        }
    }
    return {};
}

}  // namespace vorelbox::core
