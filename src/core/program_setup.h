#pragma once
// Fixed texts of the program: its version, the main-window caption, the page names.

#include <array>
#include <string>
#include <string_view>

#include "version.h"

namespace vorelbox::core {

// What part 1 of the status bar shows once the program has started.
inline constexpr std::string_view STATUS_READY_TEXT = "Ready";

// "Vorelbox - Version " VERSION_TEXT " - " DATE_TEXT.
std::string main_window_caption();

// Captions of the three pages. Page 1 belongs to the active program:
// "Spectrum adder" for program 1, "Spectrum converter" for program 2, empty
// while no program is set.
std::array<std::string, 3> SET_VORELBOXTABNAMES(int program);

}  // namespace vorelbox::core

#include <vector>

namespace vorelbox::core {

struct AppState;

// Command identifiers of the main window's menus, buttons and tool bar.
namespace command {
constexpr int exit = 2;
constexpr int save_as = 1001;
constexpr int save_result = 1002;
constexpr int about = 1080;
constexpr int program_adder = 1364;
constexpr int program_converter = 1365;
constexpr int load_spectrum = 30002;
constexpr int print = 30006;
constexpr int page_setup = 30007;
constexpr int save_sum = 30018;
constexpr int show_input = 30019;
constexpr int show_temporary_control_file = 30020;  // no operation in this program
constexpr int recent_first = 30021;  // "&1." .. "&8." are 30021..30028
constexpr int show_graphics_file = 30030;  // no operation in this program
constexpr int show_logfile = 30031;
constexpr int options = 30042;          // no operation in this program
constexpr int show_table_file = 30046;  // no operation in this program
constexpr int show_spectrum_text = 30045;
constexpr int show_report = 30047;
constexpr int new_list = 30057;
constexpr int load_list_or_file = 30058;
}  // namespace command

// The File-menu texts of a program, by command.
struct MenuText {
    int command = 0;
    std::string text;
};
struct FileMenu {
    bool new_list_entry = false;  // "Make &new list" at position 2
    std::vector<MenuText> texts;
};
FileMenu SETUP_VORELBOX_MENU(int program);

// One tool-bar button: an image name ("open", "save", "print", "new_list",
// "page_setup"), the command it sends and its tooltip; or a separator.
struct ToolButton {
    bool separator = false;
    std::string image;
    int command = 0;
    std::string tooltip;
};
// The tool bar of a program. Program 1 shows its first 8 buttons while the
// Spectrum adder page is the selected page, all 10 otherwise.
std::vector<ToolButton> BUILDVORELBOXTOOLBAR(int program, bool adder_page_selected);

// The main window's file line: label, modified marker and path.
struct FileLine {
    std::string_view label;
    char marker = ' ';  // '*' when there are unsaved changes
    std::string path;
    bool valid = true;  // false: no program is active ("Illegal internal condition")
};
// `tab` is the selected page, 1..3.
FileLine SHOW_VORELBOXPARAMETERS(const AppState& state, int tab);

// The file the active program works on: the adder's input file or the converter's
// file; empty when there is none. The Multispectrum page shows it.
const std::string& active_program_file(const AppState& state);

// The folder of the file the user works on, where the file dialogs start when
// they have no folder of their own: on the Multispectrum page its file; in the
// adder the spectrum list, else the input file; in the converter its file.
// Empty when there is none.
std::string folder_in_use(const AppState& state, int tab);

}  // namespace vorelbox::core
