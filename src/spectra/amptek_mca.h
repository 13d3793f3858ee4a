#pragma once
// Amptek MCA files (.mca, written by DppMCA and ADMCA): text sections headed
// "<<NAME>>". "<<PMCA SPECTRUM>>" holds "KEY - value" lines (LIVE_TIME,
// REAL_TIME, START_TIME, DESCRIPTION...), "<<CALIBRATION>>" a label line and
// "channel energy" pairs, "<<DATA>>" one count a line up to "<<END>>", and
// "<<DPP STATUS>>" "Key: value" lines naming the device. Lines end in CR LF or
// LF; header texts may hold Latin-1 bytes, which are kept as they are.

#include <string>
#include <string_view>

#include "foreign_spectra.h"

namespace vorelbox::spectra {

ForeignRead read_mca_bytes(std::string_view bytes, const std::string& file_name);
ForeignRead read_mca_file(const std::string& path);

}  // namespace vorelbox::spectra
