// The native reader on any text: it never crashes, reads at most the spectra and
// channels it may, and never fails without saying why.

#include "auto_answer_ui.h"
#include "fuzz_support.h"
#include "load_spectrum_file.h"
#include "text_utils.h"

using namespace vorelbox;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::as_text(data, size);
    // Answered both ways: "repair" reads on, "no" drops the file.
    for (const bool answer_yes : {true, false}) {
        spectra::SpectrumStore store;
        common::AutoAnswerUi ui(answer_yes);
        const spectra::LoadResult r = spectra::load_spectrum_text(store, ui, text, "fuzz.dat");
        if (r.channel_count > 0) {
            fuzz::check(r.channel_count <= spectra::MAX_CHANNELS, "more channels than may be read");
            fuzz::check(store.FILE_SPECTRUM_COUNT >= 1 && store.FILE_SPECTRUM_COUNT <= spectra::MAX_FILE_SPECTRA,
                        "a count of spectra out of range");
            fuzz::check(store.CHANNEL_COUNT == r.channel_count, "the store holds another channel count");
            fuzz::check(store.CHANNEL_CAPACITY >= r.channel_count, "the store is smaller than the spectrum");
            for (int k = 1; k <= store.FILE_SPECTRUM_COUNT; ++k) {
                const auto& header = store.FILE_SPECTRUM_HEADERS[static_cast<std::size_t>(k - 1)];
                fuzz::check(common::cut_chars(header, spectra::HEADER_LENGTH) == header, "a header over 80 characters");
            }
        } else {
            fuzz::check(!ui.messages().empty(), "a file that was not read, with no message");
        }
    }
    return 0;
}
