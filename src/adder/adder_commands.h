#pragma once
// The page's commands, shared between the files that carry them out.

#include <optional>
#include <string>
#include <vector>

#include "adder_page.h"

namespace vorelbox::adder {

// Loads a spectrum file as the page's input file (converting a foreign one).
void load_input_file(spectra::SpectrumStore& store, spectra::RawFileTable& files, AdderState& adder,
                     common::Ui& ui, common::Clipboard& clipboard, const std::string& path);

// The counts of the selected spectrum of the input file, read from the file
// again when the store holds other spectra; nothing when there is none.
std::optional<std::vector<double>> selected_input_counts(spectra::SpectrumStore& store, spectra::RawFileTable& files,
                                                         AdderState& adder, common::Ui& ui,
                                                         common::Clipboard& clipboard);

// Puts the selected input spectrum back into the store as the current spectrum
// (after a list load or the converter replaced it) and asks for a redraw.
void restore_input_spectrum(spectra::SpectrumStore& store, spectra::RawFileTable& files, AdderState& adder,
                            common::Ui& ui, common::Clipboard& clipboard);

// The page becomes active again (program 1 selected): a saved list is read
// again from its file, and the selected input spectrum is put back into the
// store, which the converter may have used meanwhile.
void reload_adder(spectra::SpectrumStore& store, spectra::RawFileTable& files, AdderState& adder, common::Ui& ui,
                  common::Clipboard& clipboard);

// Remove, Remove All, Move up/down, New list, Load list, the recent lists and Save as.
void list_command(spectra::SpectrumStore& store, spectra::RawFileTable& files, AdderState& adder,
                  common::Ui& ui, AdderCommand command, int argument);

// "&Save spectra".
void save_spectra(spectra::SpectrumStore& store, spectra::RawFileTable& files, AdderState& adder,
                  common::Ui& ui, common::Clipboard& clipboard);

// Saves the list under a name the user chooses; false when cancelled or not written.
bool save_list_as(AdderState& adder, common::Ui& ui);

}  // namespace vorelbox::adder
