// Identification of 16384-channel Maestro .chn and tagged .spe files, each beside
// a baseline: the least any reader must do, reading the file whole and decoding
// its counts into a vector. The real instrument files are read when they are
// there, else files of the same size written here.

#include <benchmark/benchmark.h>

#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "auto_answer_ui.h"
#include "bench_identify.h"
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

// A real file of 16384 channels, or one written like it.
fs::path chn_file() {
    const fs::path real = fs::path(VORELBOX_REAL_DATA) / "AH20190131_Na22_10cm_IDM4.Chn";
    return fs::exists(real) ? real : write_chn(sample_counts());
}
fs::path spe_file() {
    const fs::path real = fs::path(VORELBOX_REAL_DATA) / "1110C NAA cave pottery.Spe";
    return fs::exists(real) ? real : write_spe(sample_counts());
}

// --- The baselines: read the file whole, decode the counts, nothing else. ---

std::string whole_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(fs::file_size(path)), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

// A .chn file: the channel count at byte 30, then 4-byte counts from byte 32.
std::vector<std::int32_t> minimal_chn_reader(const fs::path& path) {
    const std::string bytes = whole_file(path);
    std::int16_t n = 0;
    std::memcpy(&n, bytes.data() + 30, sizeof n);
    std::vector<std::int32_t> counts(static_cast<std::size_t>(n));
    std::memcpy(counts.data(), bytes.data() + 32, counts.size() * sizeof(std::int32_t));
    return counts;
}

// A .spe file: after "$DATA:" the first and last channel, then one count per channel.
std::vector<double> minimal_spe_reader(const fs::path& path) {
    const std::string text = whole_file(path);
    const char* p = text.data() + text.find("$DATA:") + 6;
    const char* const end = text.data() + text.size();
    const auto number = [&p, end] {
        while (p != end && (*p == ' ' || *p == '\r' || *p == '\n')) {
            ++p;
        }
        std::int64_t v = 0;
        p = std::from_chars(p, end, v).ptr;
        return v;
    };
    const std::int64_t first = number();
    const std::int64_t last = number();
    std::vector<double> counts(static_cast<std::size_t>(last - first + 1));
    for (auto& c : counts) {
        c = static_cast<double>(number());
    }
    return counts;
}

template <typename Reader>
void baseline(benchmark::State& state, const fs::path& path, Reader reader) {
    for (auto _ : state) {
        const auto counts = reader(path);
        if (counts.size() != channels) {
            state.SkipWithError("the benchmark file did not load");
            break;
        }
        benchmark::DoNotOptimize(counts.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fs::file_size(path)));
}

void BM_ReadChn16384(benchmark::State& state) { bench::identify_file(state, chn_file(), channels, false); }
BENCHMARK(BM_ReadChn16384)->Unit(benchmark::kMicrosecond);

void BM_ReadChn16384Baseline(benchmark::State& state) { baseline(state, chn_file(), minimal_chn_reader); }
BENCHMARK(BM_ReadChn16384Baseline)->Unit(benchmark::kMicrosecond);

void BM_ReadChn16384FreshStore(benchmark::State& state) { bench::identify_file(state, chn_file(), channels, true); }
BENCHMARK(BM_ReadChn16384FreshStore)->Unit(benchmark::kMicrosecond);

void BM_ReadSpe16384(benchmark::State& state) { bench::identify_file(state, spe_file(), channels, false); }
BENCHMARK(BM_ReadSpe16384)->Unit(benchmark::kMicrosecond);

void BM_ReadSpe16384Baseline(benchmark::State& state) { baseline(state, spe_file(), minimal_spe_reader); }
BENCHMARK(BM_ReadSpe16384Baseline)->Unit(benchmark::kMicrosecond);

void BM_ReadSpe16384FreshStore(benchmark::State& state) { bench::identify_file(state, spe_file(), channels, true); }
BENCHMARK(BM_ReadSpe16384FreshStore)->Unit(benchmark::kMicrosecond);

}  // namespace
