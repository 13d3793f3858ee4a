#pragma once
// Tembra files: a line of three integers (the third the channel count), a second
// line, tag lines "TAG     :value" from line 3 up to "COMMENT", a line of
// integers, then the counts ten to a line in 7-column fields.

#include <string>
#include <string_view>
#include <vector>

#include "spectrum_store.h"
#include "ui.h"

namespace vorelbox::spectra {

// The five tag texts, at most 80 characters each, as the Tembra pane shows them.
struct TembraPane {
    std::string file;
    std::string sample;
    std::string date;
    std::string energy;  // "E (keV)"
    std::string temp;
};

struct TembraFile {
    int channels = 0;          // the third integer of the first line
    long long second_value = 0;  // the second integer of the first line
    TembraPane pane;
    std::vector<double> counts;
    bool ok = false;
};

// True when the third line starts with the tag FILE and ":" in column 9.
bool is_tembra_text(std::string_view text);

TembraFile read_tembra_text(common::Ui& ui, std::string_view text, const std::string& file_name);

// Reads a Tembra file into the store as its only spectrum (RAW_COUNTS,
// CURRENT_SPECTRUM and FILE_SPECTRA), headed by the sample text.
TembraFile LOAD_TEMBRA_FILE(SpectrumStore& store, common::Ui& ui, const std::string& file_name);

}  // namespace vorelbox::spectra
