#pragma once
// `vorelbox-cli plot FILE [--spectra 1,2,3] [--first N] [--last N] [--log]
// -o OUT.(emf|png|svg|pdf)`: the Multispectrum plot of a file of any kind the
// program reads, drawn without a window on Qt's offscreen platform and saved as
// a picture, its kind chosen by the extension. The report is one JSON object.

#include <ostream>
#include <string>
#include <vector>

namespace vorelbox::platform {

// `args` excludes the program name and the word "plot". Exit code 0 when the
// picture was written, 1 when it was not, 2 for a wrong command line.
int run_plot_command(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vorelbox::platform
