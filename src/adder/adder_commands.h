#pragma once
// The page's commands, shared between the files that carry them out.

#include <string>

#include "adder_page.h"

namespace vorelbox::adder {

// Loads a spectrum file as the page's input file (converting a foreign one).
void load_input_file(spectra::SpectrumStore& store, spectra::RawFileTable& files, AdderState& adder,
                     common::Ui& ui, common::Clipboard& clipboard, const std::string& path);

// Remove, Remove All, Move up/down, New list, Load list, the recent lists and Save as.
void list_command(spectra::SpectrumStore& store, spectra::RawFileTable& files, AdderState& adder,
                  common::Ui& ui, AdderCommand command, int argument);

// "&Save spectra".
void save_spectra(spectra::SpectrumStore& store, spectra::RawFileTable& files, AdderState& adder,
                  common::Ui& ui, common::Clipboard& clipboard);

// Saves the list under a name the user chooses; false when cancelled or not written.
bool save_list_as(AdderState& adder, common::Ui& ui);

}  // namespace vorelbox::adder
