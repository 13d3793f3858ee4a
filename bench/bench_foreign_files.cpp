// Reading speed of 16384-channel Maestro .chn and tagged .spe files.

#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "auto_answer_ui.h"
#include "check_spectrum_file.h"

namespace {

using namespace vorelbox;
namespace fs = std::filesystem;

constexpr int channels = 16384;

std::vector<std::int32_t> sample_counts() {
    std::mt19937 random(99);
    std::uniform_int_distribution<std::int32_t> counts(0, 250000);
    std::vector<std::int32_t> out(channels);
    for (auto& c : out) {
        c = counts(random);
    }
    return out;
}

fs::path write_chn(const std::vector<std::int32_t>& counts) {
    std::string bytes(32, '\0');
    const std::int16_t type = -1;
    const auto n = static_cast<std::int16_t>(counts.size());
    std::memcpy(&bytes[0], &type, 2);
    std::memcpy(&bytes[16], "01Feb201", 8);
    std::memcpy(&bytes[30], &n, 2);
    bytes.append(reinterpret_cast<const char*>(counts.data()), counts.size() * 4);
    std::string tail(512, '\0');
    const std::int16_t trailer = -102;
    std::memcpy(&tail[0], &trailer, 2);
    bytes += tail;
    const fs::path p = fs::temp_directory_path() / "vorelbox_bench_16384.chn";
    std::ofstream(p, std::ios::binary) << bytes;
    return p;
}

fs::path write_spe(const std::vector<std::int32_t>& counts) {
    std::string text = "$SPEC_ID:\r\nBenchmark\r\n$MEAS_TIM:\r\n100 100\r\n$DATA:\r\n0 16383\r\n";
    for (const auto c : counts) {
        const std::string v = std::to_string(c);
        text += std::string(8 - std::min<std::size_t>(8, v.size()), ' ') + v + "\r\n";
    }
    text += "$ROI:\r\n0\r\n";
    const fs::path p = fs::temp_directory_path() / "vorelbox_bench_16384.spe";
    std::ofstream(p, std::ios::binary) << text;
    return p;
}

void check_file(benchmark::State& state, const fs::path& path) {
    for (auto _ : state) {
        spectra::SpectrumStore store;
        spectra::RawFileTable files;
        common::AutoAnswerUi ui(false);
        const auto r = spectra::CHECK_SPECTRUM_FILE(store, files, ui, path.string());
        if (r.channels != channels) {
            state.SkipWithError("the benchmark file did not load");
            break;
        }
        benchmark::DoNotOptimize(store.CURRENT_SPECTRUM.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fs::file_size(path)));
    fs::remove(path);
}

void BM_ReadChn16384(benchmark::State& state) { check_file(state, write_chn(sample_counts())); }
BENCHMARK(BM_ReadChn16384)->Unit(benchmark::kMicrosecond);

void BM_ReadSpe16384(benchmark::State& state) { check_file(state, write_spe(sample_counts())); }
BENCHMARK(BM_ReadSpe16384)->Unit(benchmark::kMicrosecond);

}  // namespace
