#pragma once
// Start-up: the settings are read and applied, the previous dataset (or a file
// named on the command line) is loaded, and the program to show is chosen.

#include <string>
#include <vector>

#include "clipboard.h"
#include "ui.h"

namespace vorelbox::core {

struct AppState;

// The program the window starts with: 1 when the settings (or a ".vsl" file on
// the command line) choose the Spectrum adder, 2 in every other case.
int VORELBOXINI(AppState& state, common::Ui& ui, common::Clipboard& clipboard, const std::string& settings_path,
                const std::vector<std::string>& arguments);

// "The next startup of Vorelbox will begin with ..." and the new choice.
void toggle_start_empty(AppState& state, common::Ui& ui);

}  // namespace vorelbox::core
