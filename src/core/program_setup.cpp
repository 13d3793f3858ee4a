#include "program_setup.h"

#include "app_state.h"
#include "text_utils.h"

namespace vorelbox::core {

std::string main_window_caption() {
    std::string caption = "Vorelbox - Version ";
    caption += common::trim(VERSION_TEXT);
    caption += " - ";
    caption += common::trim(DATE_TEXT);
    return caption;
}

std::array<std::string, 3> SET_VORELBOXTABNAMES(int program) {
    std::array<std::string, 3> names{"", "Text output", "Multispectrum plot"};
    if (program == PROGRAM_ADDER) {
        names[0] = "Spectrum adder";
    } else if (program == PROGRAM_CONVERTER) {
        names[0] = "Spectrum converter";
    }
    return names;
}

}  // namespace vorelbox::core
