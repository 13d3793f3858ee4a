// Identification of a whole file, through the path layer: the first byte of the
// input chooses the name's extension, the rest is the file. A file of a kind the
// name tells is identified or the failure is named; any other name is then read
// as a native spectrum file, as `vorelbox-cli info` does.

#include <array>

#include <unistd.h>

#include "auto_answer_ui.h"
#include "check_spectrum_file.h"
#include "fuzz_support.h"
#include "load_spectrum_file.h"

using namespace vorelbox;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::array<const char*, 7> extensions{".dat", ".chn", ".spe", ".lmc", ".cvc", ".Spe", ".txt"};
    if (size == 0) {
        return 0;
    }
    const std::size_t kind = data[0] % extensions.size();
    const auto path = fuzz::sandbox() / ("identify-" + std::to_string(::getpid()) + extensions[kind]);
    fuzz::put_file(path, fuzz::as_text(data + 1, size - 1));

    spectra::SpectrumStore store;
    spectra::RawFileTable files;
    common::AutoAnswerUi ui(false);
    spectra::CheckResult r = spectra::CHECK_SPECTRUM_FILE(store, files, ui, path.string());
    if (r.channels > 0) {
        fuzz::check(!r.type_code.empty(), "channels without a kind");
        fuzz::check(r.channels <= spectra::MAX_CHANNELS, "more channels than may be read");
        fuzz::check(r.spectra >= 1 && r.spectra <= spectra::MAX_FILE_SPECTRA, "a count of spectra out of range");
    } else if (kind < extensions.size() - 1) {
        fuzz::check(!ui.messages().empty(), "a file of a known kind not identified, with no message");
    } else {
        const spectra::LoadResult loaded = spectra::LOAD_SPECTRUM_FILE(store, ui, path.string());
        fuzz::check(loaded.channel_count > 0 || !ui.messages().empty(), "a file not read, with no message");
    }
    return 0;
}
