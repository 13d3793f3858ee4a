// Identification of a spectrum file as the benchmarks of the readers time it.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>

#include "auto_answer_ui.h"
#include "check_spectrum_file.h"

namespace vorelbox::bench {

// The store lives on from one identification to the next, as the desktop
// program's does; with a fresh store each time its memory (the arrays of reals
// for all channels) is taken and touched anew, as in a command-line call.
inline void identify_file(benchmark::State& state, const std::filesystem::path& path, int channels,
                          bool fresh_store) {
    spectra::SpectrumStore kept;
    for (auto _ : state) {
        spectra::SpectrumStore fresh;
        spectra::SpectrumStore& store = fresh_store ? fresh : kept;
        spectra::RawFileTable files;
        common::AutoAnswerUi ui(false);
        const auto r = spectra::CHECK_SPECTRUM_FILE(store, files, ui, path.string());
        if (r.channels != channels) {
            state.SkipWithError("the benchmark file did not load");
            break;
        }
        benchmark::DoNotOptimize(store.CURRENT_SPECTRUM.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(path)));
}

}  // namespace vorelbox::bench
