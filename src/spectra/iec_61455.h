#pragma once
// IEC 61455 (formerly IEC 1455) files (.iec): fixed-width text records, each line
// starting with a four-character record code such as "A004". Record 1 names the
// system and the detector, record 2 gives the live time, the real time and the
// number of channels, record 3 the start date and time (and the date the sample
// was taken), record 4 the energy calibration, records 6-9 the sample
// description, records 11-22 energy and channel pairs, and records 59 on the
// counts: a channel number and then five counts a line. Numbers may touch
// ("8.00000000E-01-2.97939000E-08"), the system name may be blank, the second
// date may be missing.

#include <string>
#include <string_view>

#include "foreign_spectra.h"

namespace vorelbox::spectra {

ForeignRead read_iec_bytes(std::string_view bytes, const std::string& file_name);
ForeignRead read_iec_file(const std::string& path);

}  // namespace vorelbox::spectra
