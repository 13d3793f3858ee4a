#pragma once
// Everything the program knows lives here, in one object passed by reference.

#include "adder_page.h"
#include "converter_page.h"
#include "raw_file.h"
#include "spectrum_store.h"

namespace vorelbox::core {

constexpr int PROGRAM_ADDER = 1;
constexpr int PROGRAM_CONVERTER = 2;

struct AppState {
    spectra::SpectrumStore store;
    spectra::RawFileTable raw_files;
    adder::AdderState adder;
    converter::Converter converter;
    adder::RecentFiles recent_converter_files;
    // 1 = Spectrum adder, 2 = Spectrum converter; 0 until the program is set up.
    int program = 0;
    bool adder_active() const { return program == PROGRAM_ADDER; }
    bool converter_active() const { return program == PROGRAM_CONVERTER; }
};

}  // namespace vorelbox::core
