// Reading speed of native spectrum files: 100 spectra of 8192 channels in (10i8),
// against a loop that only turns the same bytes into numbers with std::from_chars.

#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "auto_answer_ui.h"
#include "edit_format.h"
#include "load_spectrum_file.h"
#include "spectrum_store.h"

namespace {

using namespace vorelbox;

constexpr int spectra_in_file = 100;
constexpr int channels_in_spectrum = 8192;

const std::string& sample_file_text() {
    static const std::string text = [] {
        std::mt19937 random(12345);
        std::uniform_int_distribution<int> counts(0, 9999999);
        std::vector<double> spectrum(channels_in_spectrum);
        const auto format = *common::parse_edit_format("(10i8)");
        std::ostringstream out;
        for (int k = 1; k <= spectra_in_file; ++k) {
            out << "Spectrum " << k << " of the benchmark file\n";
            for (auto& c : spectrum) {
                c = counts(random);
            }
            common::write_counts(out, format, spectrum);
        }
        return out.str();
    }();
    return text;
}

std::string sample_file_path() {
    const auto path = std::filesystem::temp_directory_path() / "vorelbox_bench_100x8192.dat";
    std::ofstream(path, std::ios::binary) << sample_file_text();
    return path.string();
}

// The store lives on from one reading to the next, as the desktop program's
// does (and as the baseline's array of values does); FreshStore takes the
// 100 columns of the store anew for every reading, as a command-line call does.
void load_file(benchmark::State& state, bool fresh_store) {
    const std::string path = sample_file_path();
    const auto bytes = static_cast<std::int64_t>(sample_file_text().size());
    spectra::SpectrumStore kept;
    for (auto _ : state) {
        spectra::SpectrumStore fresh;
        spectra::SpectrumStore& store = fresh_store ? fresh : kept;
        common::AutoAnswerUi ui(false);
        const auto result = spectra::LOAD_SPECTRUM_FILE(store, ui, path);
        if (result.channel_count != channels_in_spectrum || store.FILE_SPECTRUM_COUNT != spectra_in_file) {
            state.SkipWithError("the benchmark file did not load");
            break;
        }
        benchmark::DoNotOptimize(store.FILE_SPECTRA.data());
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    std::filesystem::remove(path);
}

void BM_LoadSpectrumFile(benchmark::State& state) { load_file(state, false); }
BENCHMARK(BM_LoadSpectrumFile)->Unit(benchmark::kMillisecond);

void BM_LoadSpectrumFileFreshStore(benchmark::State& state) { load_file(state, true); }
BENCHMARK(BM_LoadSpectrumFileFreshStore)->Unit(benchmark::kMillisecond);

void BM_LoadSpectrumText(benchmark::State& state) {
    const std::string& text = sample_file_text();
    spectra::SpectrumStore store;
    for (auto _ : state) {
        common::AutoAnswerUi ui(false);
        const auto result = spectra::load_spectrum_text(store, ui, text, "bench.dat");
        benchmark::DoNotOptimize(result.channel_count);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_LoadSpectrumText)->Unit(benchmark::kMillisecond);

// The baseline: skip anything that is not a digit, parse each run of digits.
std::size_t digit_runs(const std::string& text, std::vector<double>& values) {
    const char* p = text.data();
    const char* const end = p + text.size();
    std::size_t n = 0;
    while (p != end) {
        if (*p < '0' || *p > '9') {
            ++p;
            continue;
        }
        std::int64_t v = 0;
        const auto r = std::from_chars(p, end, v);
        if (n < values.size()) {
            values[n++] = static_cast<double>(v);
        }
        p = r.ptr;
    }
    return n;
}

void BM_FromCharsBaseline(benchmark::State& state) {
    const std::string& text = sample_file_text();
    std::vector<double> values(static_cast<std::size_t>(spectra_in_file) * channels_in_spectrum + 1000);
    for (auto _ : state) {
        const std::size_t n = digit_runs(text, values);
        benchmark::DoNotOptimize(values.data());
        benchmark::DoNotOptimize(n);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_FromCharsBaseline)->Unit(benchmark::kMillisecond);

// The same loop over the file read whole with one ifstream, for a comparison
// of file with file (BM_LoadSpectrumFile is measured against the loop above).
void BM_FromCharsFileBaseline(benchmark::State& state) {
    const std::string path = sample_file_path();
    std::vector<double> values(static_cast<std::size_t>(spectra_in_file) * channels_in_spectrum + 1000);
    for (auto _ : state) {
        std::ifstream in(path, std::ios::binary | std::ios::ate);
        std::string text(static_cast<std::size_t>(in.tellg()), '\0');
        in.seekg(0);
        in.read(text.data(), static_cast<std::streamsize>(text.size()));
        const std::size_t n = digit_runs(text, values);
        benchmark::DoNotOptimize(values.data());
        benchmark::DoNotOptimize(n);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(sample_file_text().size()));
    std::filesystem::remove(path);
}
BENCHMARK(BM_FromCharsFileBaseline)->Unit(benchmark::kMillisecond);

}  // namespace
