#pragma once
// The converter's commands, shared between the files that carry them out.

#include "converter_page.h"

namespace vorelbox::converter {

// Trim, First channel, Channels in spectrum, Center peak.
void window_command(spectra::SpectrumStore& store, Converter& converter, common::Ui& ui, ConverterCommand command,
                    int argument);

// "&Save as", "&Append to" and the File menu "Save  &as".
void save_command(const spectra::SpectrumStore& store, Converter& converter, common::Ui& ui, ConverterCommand command);

// The channels that saving writes: the trimming window, or the whole spectrum
// while "Trim" is off.
std::pair<int, int> saved_window(const ConverterState& state);

}  // namespace vorelbox::converter
