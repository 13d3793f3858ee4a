#pragma once
// The spectrum block of a control file (".lmc", ".cvc"): after the line with
// "FIT DATA BLOCK" and the next line with ": SPECTRUM" come the channel count, a
// header line, the name of a spectrum file, one further line and a flag. Flag 1:
// the counts follow in the control file. Otherwise the control file refers to the
// named spectrum file.

#include <string>
#include <string_view>
#include <vector>

#include "ui.h"

namespace vorelbox::spectra {

struct ControlSpectrum {
    enum class Kind { Failed, Intrinsic, Reference };
    Kind kind = Kind::Failed;
    int channels = 0;
    std::string header;
    std::string spectrum_file;  // the file named in the block
    std::vector<double> counts;  // of an intrinsic spectrum
};

// `file_name` names the file in messages.
ControlSpectrum read_control_text(common::Ui& ui, std::string_view text, const std::string& file_name);

}  // namespace vorelbox::spectra
