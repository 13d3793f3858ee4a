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

// Reads the file into FILE_SPECTRA / FILE_SPECTRUM_HEADERS. Every load that
// reads nothing says why, except with `quiet`: then a file that cannot be opened,
// or a line that is not data where data was expected, ends the load without a
// message or a question. Files are read within common::MAX_INPUT_FILE_BYTES and
// spectra within MAX_CHANNELS channels.
LoadResult LOAD_SPECTRUM_FILE(SpectrumStore& store, common::Ui& ui, const std::string& file_name,
                              bool quiet = false);
LoadResult load_spectrum_stream(SpectrumStore& store, common::Ui& ui, std::istream& in,
                                const std::string& file_name, bool quiet = false);
LoadResult load_spectrum_text(SpectrumStore& store, common::Ui& ui, std::string_view text,
                              const std::string& file_name, bool quiet = false);

// The whole content of a regular file of at most common::MAX_INPUT_FILE_BYTES;
// nothing for any other (common::read_input_file tells which problem it was).
std::optional<std::string> read_whole_file(const std::string& file_name);

}  // namespace vorelbox::spectra
