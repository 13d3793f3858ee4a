#pragma once
// What every reader of the other instruments' files must give for any bytes:
// either spectra that the store and the native writer can take, or a message
// saying why nothing was read. Then the spectra go into a store, as the
// identification puts them.

#include <algorithm>
#include <cmath>

#include "auto_answer_ui.h"
#include "foreign_formats.h"
#include "fuzz_support.h"
#include "load_spectrum_file.h"
#include "spectrum_store.h"

namespace vorelbox::fuzz {

inline void check_foreign_read(const spectra::ForeignRead& r) {
    if (!r.ok()) {
        check(!r.problem.empty(), "nothing read, and no message");
        return;
    }
    check(r.spectra.size() <= static_cast<std::size_t>(spectra::MAX_FILE_SPECTRA), "more than 100 spectra");
    const std::size_t channels = r.spectra.front().counts.size();
    check(channels >= 1 && channels <= static_cast<std::size_t>(spectra::MAX_CHANNELS), "a channel count out of range");
    for (const spectra::ForeignSpectrum& s : r.spectra) {
        check(s.counts.size() == channels, "spectra of different lengths");
        check(std::all_of(s.counts.begin(), s.counts.end(), [](double c) { return spectra::is_whole_count(c); }),
              "a count that is not a whole number");
        check(s.header.find_first_of("\r\n") == std::string::npos, "a header of two lines");
        for (const auto& t : {s.live_time, s.real_time}) {
            check(!t || std::isfinite(*t), "a time that is no number");
        }
    }
    for (const std::string& note : r.notes) {
        check(!note.empty(), "an empty note");
    }
    spectra::SpectrumStore store;
    common::AutoAnswerUi ui(false);
    check(spectra::store_foreign_spectra(store, ui, r, "fuzz"), "spectra the store cannot take");
    check(store.FILE_SPECTRUM_COUNT == static_cast<int>(r.spectra.size()), "spectra lost on the way into the store");
}

inline int fuzz_foreign(spectra::ForeignKind kind, const std::uint8_t* data, std::size_t size, const char* name) {
    check_foreign_read(spectra::read_foreign_bytes(kind, as_text(data, size), name));
    return 0;
}

}  // namespace vorelbox::fuzz
