#pragma once
// ANSI N42.42 files (.n42, and .xml files whose root element is an N42
// document), both editions:
//   2012: RadInstrumentData > RadMeasurement (StartDateTime, RealTimeDuration)
//         > Spectrum (LiveTimeDuration, ChannelData), the detector and the energy
//         calibration named by reference to RadDetectorInformation and
//         EnergyCalibration elements;
//   2006: N42InstrumentData > Measurement > ... > Spectrum (RealTime, LiveTime,
//         StartTime, Calibration of Type "Energy", ChannelData), times and the
//         start also taken from the elements around the spectrum.
// Channel data are plain or "CountedZeroes" (a 0 followed by how many zero
// channels it stands for), named by the attribute compressionCode (2012) or
// Compression (2006), either spelling in either edition. Every Spectrum element
// is one spectrum; up to 100 of the first spectrum's channel count are read, and
// the user is told how many were left out.

#include <optional>
#include <string>
#include <string_view>

#include "foreign_spectra.h"

namespace vorelbox::spectra {

ForeignRead read_n42_bytes(std::string_view bytes, const std::string& file_name);
ForeignRead read_n42_file(const std::string& path);

// Seconds of an ISO 8601 duration, "PT849.51S" or "P1DT2H3M4.5S"; plain seconds
// ("849.51") are taken too. Nothing for anything else (years and months are no
// fixed number of seconds).
std::optional<double> iso_duration_seconds(std::string_view text);

}  // namespace vorelbox::spectra
