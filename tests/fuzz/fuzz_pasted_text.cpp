// Pasted text (a copied column, or a .txt file for `vorelbox-cli column`): the
// check of the values and the native file written from them.

#include "auto_answer_ui.h"
#include "fuzz_support.h"
#include "pasted_spectrum.h"
#include "spectrum_store.h"

using namespace vorelbox;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::as_text(data, size);
    for (const int list_channels : {0, 100}) {
        for (const bool answer_yes : {true, false}) {
            common::AutoAnswerUi ui(answer_yes);
            const auto pasted = spectra::check_pasted_text(ui, text, list_channels);
            if (!pasted) {
                fuzz::check(!ui.messages().empty(), "a paste refused without a message");
                continue;
            }
            fuzz::check(pasted->counts.size() <= static_cast<std::size_t>(spectra::MAX_CHANNELS),
                        "more channels than may be read");
            fuzz::check(list_channels == 0 || pasted->counts.size() == static_cast<std::size_t>(list_channels),
                        "a paste that does not fit the list");
        }
    }
    return 0;
}
