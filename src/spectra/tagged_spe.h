#pragma once
// Tagged ASCII ".spe" files: "$TAG:" lines, each followed by the lines that belong to it.

#include <string>
#include <string_view>
#include <vector>

#include "ui.h"

namespace vorelbox::spectra {

// The acquisition data as the ".spe" pane shows them.
struct SpePane {
    std::string detector_number;  // from "DET#", blank when the file names none
    std::string segment_number;   // a ".spe" file names none
    std::string real_time;        // seconds, "(f10.2)"
    std::string live_time;
    std::string date_and_time;
    std::string detector;          // from "DETDESC#"
    std::string factor_a;          // energy = a + b * chn, "(f10.4)"
    std::string factor_b;
    std::vector<double> factors;   // FWHM calibration
    std::vector<double> mca_calibration;
};

enum class SpeMode {
    Identify,  // every tag is looked at; tags not known are reported and passed over
    Convert,   // the header is built from the tags; a tag not known ends the reading
};

struct SpeFile {
    std::string description;  // the sample description
    std::string header;       // sample description, date and times, at most 200 characters
    SpePane pane;
    std::vector<double> counts;
    bool has_data = false;  // a complete "$DATA:" section was read
};

// Reads the text of a ".spe" file; problems are shown through `ui` and leave
// has_data false.
SpeFile read_spe_text(common::Ui& ui, std::string_view text, const std::string& file_name, SpeMode mode);

}  // namespace vorelbox::spectra
