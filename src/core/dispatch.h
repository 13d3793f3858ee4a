#pragma once
// The main window's commands: the buttons, menu items, tool-bar buttons and keys
// all end here, and are routed by the active program to the pages.

#include <functional>
#include <string>

#include "clipboard.h"
#include "draw_spectrum_list.h"
#include "settings_file.h"
#include "timers.h"
#include "ui.h"

namespace vorelbox::core {

struct AppState;

// What the dispatcher needs from the window.
struct Services {
    Services(common::Ui& ui_, common::Clipboard& clipboard_, Timers& timers_, const Redraws& redraws_)
        : ui(ui_), clipboard(clipboard_), timers(timers_), redraws(redraws_) {}

    common::Ui& ui;
    common::Clipboard& clipboard;
    Timers& timers;
    const Redraws& redraws;
    std::function<int()> selected_tab;                 // 1..3
    std::function<void(int program)> setup_program;    // switch program and show its page
    std::function<bool()> page_setup;                  // the page-setup dialog; true on OK
    std::function<void(const std::string& kind, const std::string& file)> print_file;
    // The Multispectrum plot into a picture file or onto paper.
    std::function<void(display::PlotTarget target)> draw_multispectra;
    std::function<void(const std::string& file, const std::string& kind, const std::string& caption)> show_result;
    std::function<void(const std::string& caption)> set_text_tab_caption;
    std::function<void()> about;
    std::function<void()> close_window;
    std::function<WindowPlacement()> window_placement;
    std::string settings_path;
};

// Carries out a main-window command (the identifiers of `command`); returns
// false when the command ended the program (the window is to close).
bool VORELBOXAPPLY_SUB(AppState& state, Services& services, int command);

// Writes the settings file from the state; warns "Unable to save the setup" when it cannot.
void VORELBOXSAVE(AppState& state, Services& services);

// The settings as the state has them now.
Settings current_settings(const AppState& state, const WindowPlacement& placement);

// Writes a spectrum as text for the viewer: its header, then its counts truncated
// toward zero in "(10i8)" or wider fields for large counts. The result says why it could not be written.
common::SaveResult write_spectrum_text(const std::string& path, const std::string& header,
                                       const std::vector<double>& counts);

}  // namespace vorelbox::core
