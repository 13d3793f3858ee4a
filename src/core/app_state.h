#pragma once
// Everything the program knows lives here, in one object passed by reference.

#include "adder_page.h"
#include "converter_page.h"
#include "mouse.h"
#include "multispectrum.h"
#include "raw_file.h"
#include "settings_file.h"
#include "spectrum_store.h"

namespace vorelbox::core {

constexpr int PROGRAM_ADDER = 1;
constexpr int PROGRAM_CONVERTER = 2;

// The file the Text output page shows, and what it is.
struct TextOutput {
    std::string file;
    std::string kind;     // "Vorelix Spectrum", "Spectrum list", ...
    std::string caption;
};

struct AppState {
    spectra::SpectrumStore store;
    spectra::RawFileTable raw_files;
    adder::AdderState adder;
    converter::Converter converter;
    display::MultispectrumState multispectrum;  // the Multispectrum page, with its own file
    adder::RecentFiles recent_converter_files;
    Settings settings;  // fonts, margins, start-up choice and window placement; the rest is live above
    TextOutput text_output;
    MouseState mouse;  // the mouse on the plots, between its events
    std::string startup_file;  // named on the command line, else the dataset restored at start-up
    std::string log_file = "Vorelbox.log";
    std::string program_folder;
    bool control_parameters_changed = false;
    // 1 = Spectrum adder, 2 = Spectrum converter; 0 until the program is set up.
    int program = 0;
    bool adder_active() const { return program == PROGRAM_ADDER; }
    bool converter_active() const { return program == PROGRAM_CONVERTER; }
};

}  // namespace vorelbox::core
