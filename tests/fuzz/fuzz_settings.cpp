// The settings file ("Vorelbox.ini") on any text: read, then written again.

#include <sstream>

#include "auto_answer_ui.h"
#include "fuzz_support.h"
#include "settings_file.h"

using namespace vorelbox;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(fuzz::as_text(data, size)));
    common::AutoAnswerUi ui(false);
    const core::Settings s = core::read_settings(in, ui);
    const auto& m = s.page_setup.margins;
    for (const double margin : {m.left, m.right, m.top, m.bottom}) {
        fuzz::check(print::margin_in_range(margin), "a margin out of range");
    }
    if (s.window) {
        static_cast<void>(core::window_rect(*s.window));
    }
    std::ostringstream out;
    core::write_settings(out, s, false);
    return 0;
}
