// The Tembra reader on any text.

#include "auto_answer_ui.h"
#include "fuzz_support.h"
#include "spectrum_store.h"
#include "tembra_file.h"

using namespace vorelbox;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::as_text(data, size);
    static_cast<void>(spectra::is_tembra_text(text));
    common::AutoAnswerUi ui(false);
    const spectra::TembraFile t = spectra::read_tembra_text(ui, text, "fuzz.dat");
    if (t.ok) {
        fuzz::check(t.channels >= 1 && t.channels <= spectra::MAX_CHANNELS, "a channel count out of range");
        fuzz::check(t.counts.size() == static_cast<std::size_t>(t.channels), "counts and channels differ");
    } else {
        fuzz::check(!ui.messages().empty(), "a failure without a message");
    }
    return 0;
}
