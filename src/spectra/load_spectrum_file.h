#pragma once
// Reads a native spectrum file (one or more spectra, each a header line followed
// by lines of counts) into the spectrum store.

#include <istream>
#include <optional>
#include <string>
#include <string_view>

#include "spectrum_store.h"
#include "ui.h"

namespace vorelbox::spectra {

constexpr int MAX_FILE_SPECTRA = 100;

struct LoadResult {
    int channel_count = 0;  // 0 when nothing could be read
    std::string format;     // the integer format of the data lines, else the read format
};

// Reads the file into FILE_SPECTRA / FILE_SPECTRUM_HEADERS. With `quiet`, a line
// that is not data where data was expected ends the load without asking.
LoadResult LOAD_SPECTRUM_FILE(SpectrumStore& store, common::Ui& ui, const std::string& file_name,
                              bool quiet = false);
LoadResult load_spectrum_stream(SpectrumStore& store, common::Ui& ui, std::istream& in,
                                const std::string& file_name, bool quiet = false);
LoadResult load_spectrum_text(SpectrumStore& store, common::Ui& ui, std::string_view text,
                              const std::string& file_name, bool quiet = false);

// The whole content of a file, or nothing when it cannot be opened and read.
std::optional<std::string> read_whole_file(const std::string& file_name);

}  // namespace vorelbox::spectra
