#pragma once
// "Vorelbox.ini": the working state carried from one run to the next.

#include <array>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "page_setup.h"
#include "safe_file.h"
#include "spectrum_list.h"
#include "ui.h"

namespace vorelbox::core {

struct WindowPlacement {
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
    int flags = 0;
    int show = 1;  // 3: maximised
};

// The rectangle a window line asks for: at (max(left,0), max(top,0)) with at least 680 × 380.
struct WindowRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool maximised = false;
};
WindowRect window_rect(const WindowPlacement& placement);

struct Settings {
    int program = 0;  // 1 adder, 2 converter, 0 none
    adder::RecentFiles recent_lists;
    std::string spectrum_list;
    std::string spectrum_file;  // the adder's input file
    bool show_selected = false;
    bool show_sum = true;
    adder::RecentFiles recent_converter_files;
    std::string converter_file;
    bool start_empty = false;
    print::PageSetup page_setup;  // fonts, sizes and margins
    std::optional<WindowPlacement> window;  // nothing: as the window was created
};

// Reads settings lines; unknown keys and lines without "=" are reported and passed over.
// Files that the settings name are tested for existence as the rules say.
Settings read_settings(std::istream& in, common::Ui& ui);
Settings read_settings_file(const std::string& path, common::Ui& ui);

// Writes every setting in the fixed order; an unsaved list is not named.
void write_settings(std::ostream& out, const Settings& settings, bool list_not_saved);
// Replaces the settings file in one step; the result says why it could not be written.
common::SaveResult write_settings_file(const std::string& path, const Settings& settings, bool list_not_saved,
                                       common::FileOps& ops = common::system_file_ops());

// Where the settings live: VORELBOX_INI when set, else "Vorelbox.ini" in the
// program's folder when that folder can be written, else in the user's
// configuration folder.
std::string settings_path(const std::string& environment_override, const std::string& program_folder,
                          const std::string& user_config_folder);

}  // namespace vorelbox::core
