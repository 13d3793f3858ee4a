// The tagged .spe reader on any text, both as the identification reads it and as
// the conversion does.

#include "auto_answer_ui.h"
#include "fuzz_support.h"
#include "spectrum_store.h"
#include "tagged_spe.h"

using namespace vorelbox;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::as_text(data, size);
    for (const auto mode : {spectra::SpeMode::Identify, spectra::SpeMode::Convert}) {
        common::AutoAnswerUi ui(false);
        const spectra::SpeFile spe = spectra::read_spe_text(ui, text, "fuzz.spe", mode);
        if (spe.has_data) {
            fuzz::check(!spe.counts.empty() && spe.counts.size() <= static_cast<std::size_t>(spectra::MAX_CHANNELS),
                        "a channel count out of range");
            fuzz::check(spe.header.find('\n') == std::string::npos, "a header of two lines");
        } else {
            fuzz::check(!ui.messages().empty(), "no counts, and no message");
        }
    }
    return 0;
}
