#pragma once
// TKA files: text, one number a line: the live time, the real time (seconds),
// then the counts. The times stand in the places of the first two channels, so
// the spectrum keeps all its channels with channels 1 and 2 holding 0, and a
// measurement saved both as TKA and as CNF reads as the same spectrum.

#include <string>
#include <string_view>

#include "foreign_spectra.h"

namespace vorelbox::spectra {

ForeignRead read_tka_bytes(std::string_view bytes, const std::string& file_name);
ForeignRead read_tka_file(const std::string& path);

}  // namespace vorelbox::spectra
