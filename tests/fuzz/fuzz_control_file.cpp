// The spectrum block of a control file (.lmc, .cvc) on any text.

#include "auto_answer_ui.h"
#include "control_file.h"
#include "fuzz_support.h"
#include "spectrum_store.h"

using namespace vorelbox;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    common::AutoAnswerUi ui(false);
    const spectra::ControlSpectrum c = spectra::read_control_text(ui, fuzz::as_text(data, size), "fuzz.lmc");
    switch (c.kind) {
        case spectra::ControlSpectrum::Kind::Intrinsic:
            fuzz::check(c.channels >= 1 && c.channels <= spectra::MAX_CHANNELS, "a channel count out of range");
            fuzz::check(c.counts.size() == static_cast<std::size_t>(c.channels), "counts and channels differ");
            break;
        case spectra::ControlSpectrum::Kind::Reference:
            break;
        case spectra::ControlSpectrum::Kind::Failed:
            fuzz::check(!ui.messages().empty(), "a failure without a message");
            break;
    }
    return 0;
}
