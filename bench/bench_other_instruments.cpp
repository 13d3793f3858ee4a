// Identification of a 16,384-channel N42 file and of an 8,192-channel Canberra
// CNF file, each beside a minimal reader that only takes the counts out of the
// same bytes: the baseline shows what the full identification costs on top.

#include <benchmark/benchmark.h>

#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "auto_answer_ui.h"
#include "bench_identify.h"
#include "check_spectrum_file.h"

namespace {

using namespace vorelbox;
namespace fs = std::filesystem;

std::vector<std::uint32_t> sample_counts(std::size_t channels) {
    std::mt19937 random(7);
    std::uniform_int_distribution<std::uint32_t> counts(0, 250000);
    std::vector<std::uint32_t> out(channels);
    for (auto& c : out) {
        c = counts(random);
    }
    // Some runs of zeros, as the counted-zeroes compression writes them.
    std::fill(out.begin(), out.begin() + 40, 0u);
    return out;
}

std::string read_bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

fs::path write_n42(const std::vector<std::uint32_t>& counts) {
    std::string text =
        "<?xml version=\"1.0\"?>\n<RadInstrumentData xmlns=\"http://physics.nist.gov/N42/2011/N42\">\n"
        "<RadInstrumentInformation id=\"i\"><RadInstrumentManufacturerName>Bench</RadInstrumentManufacturerName>"
        "</RadInstrumentInformation>\n<EnergyCalibration id=\"e\"><CoefficientValues>0 0.5 0</CoefficientValues>"
        "</EnergyCalibration>\n<RadMeasurement id=\"m\"><StartDateTime>2024-01-01T00:00:00Z</StartDateTime>"
        "<RealTimeDuration>PT100S</RealTimeDuration>\n<Spectrum id=\"s\" energyCalibrationReference=\"e\">"
        "<LiveTimeDuration>PT99S</LiveTimeDuration>\n<ChannelData compressionCode=\"CountedZeroes\">";
    std::size_t k = 0;
    while (k < counts.size()) {
        if (counts[k] == 0) {
            std::size_t run = 0;
            while (k < counts.size() && counts[k] == 0) {
                ++run;
                ++k;
            }
            text += "0 " + std::to_string(run) + " ";
        } else {
            text += std::to_string(counts[k]) + (k % 8 == 7 ? "\n" : " ");
            ++k;
        }
    }
    text += "</ChannelData></Spectrum></RadMeasurement>\n</RadInstrumentData>\n";
    const fs::path p = fs::temp_directory_path() / "vorelbox_bench_16384.n42";
    std::ofstream(p, std::ios::binary) << text;
    return p;
}

void put32(std::string& b, std::size_t at, std::uint32_t v) {
    for (int k = 0; k < 4; ++k) {
        b[at + static_cast<std::size_t>(k)] = static_cast<char>((v >> (8 * k)) & 0xff);
    }
}

void put16(std::string& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<char>(v & 0xff);
    b[at + 1] = static_cast<char>(v >> 8);
}

// A CNF file of an acquisition block at byte 2048 and a channel block at 4096.
fs::path write_cnf(const std::vector<std::uint32_t>& counts) {
    constexpr std::size_t acquisition = 2048;
    constexpr std::size_t channel_block = 4096;
    std::string b(channel_block + 512 + 4 * counts.size(), '\0');
    put32(b, 0x70, 0x12000);
    put32(b, 0x70 + 10, acquisition);
    put32(b, 0xa0, 0x12005);
    put32(b, 0xa0 + 10, channel_block);
    put32(b, acquisition, 0x12000);
    put16(b, acquisition + 0x10, 0x30);
    put16(b, acquisition + 0x24, 200);
    put32(b, channel_block, 0x12005);
    put16(b, channel_block + 0x10, 0x30);
    put16(b, channel_block + 0x28, 464);
    put16(b, channel_block + 0x2a, static_cast<std::uint16_t>(counts.size()));
    for (std::size_t k = 0; k < counts.size(); ++k) {
        put32(b, channel_block + 512 + 4 * k, counts[k]);
    }
    const fs::path p = fs::temp_directory_path() / "vorelbox_bench_8192.cnf";
    std::ofstream(p, std::ios::binary) << b;
    return p;
}

void BM_IdentifyN42_16384(benchmark::State& state) {
    const fs::path path = write_n42(sample_counts(16384));
    bench::identify_file(state, path, 16384, false);
    fs::remove(path);
}
BENCHMARK(BM_IdentifyN42_16384)->Unit(benchmark::kMicrosecond);

void BM_IdentifyN42_16384FreshStore(benchmark::State& state) {
    const fs::path path = write_n42(sample_counts(16384));
    bench::identify_file(state, path, 16384, true);
    fs::remove(path);
}
BENCHMARK(BM_IdentifyN42_16384FreshStore)->Unit(benchmark::kMicrosecond);

// The least an N42 reader must do: read the file, find the channel data, turn
// the numbers into counts, open the zero runs. No XML parsing, no checks.
void BM_N42MinimalReaderBaseline(benchmark::State& state) {
    const fs::path path = write_n42(sample_counts(16384));
    for (auto _ : state) {
        const std::string text = read_bytes(path);
        std::size_t at = text.find('>', text.find("<ChannelData")) + 1;
        const std::size_t end = text.find('<', at);
        std::vector<double> counts;
        counts.reserve(16384);
        while (at < end) {
            while (at < end && (text[at] == ' ' || text[at] == '\n')) {
                ++at;
            }
            std::uint64_t v = 0;
            const auto [next, ec] = std::from_chars(text.data() + at, text.data() + end, v);
            if (ec != std::errc()) {
                break;
            }
            at = static_cast<std::size_t>(next - text.data());
            if (v == 0) {
                while (at < end && text[at] == ' ') {
                    ++at;
                }
                std::uint64_t run = 0;
                const auto [after, ec2] = std::from_chars(text.data() + at, text.data() + end, run);
                at = static_cast<std::size_t>(after - text.data());
                counts.insert(counts.end(), ec2 == std::errc() ? run : 1, 0.0);
            } else {
                counts.push_back(static_cast<double>(v));
            }
        }
        if (counts.size() != 16384) {
            state.SkipWithError("the baseline misread the file");
            break;
        }
        benchmark::DoNotOptimize(counts.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fs::file_size(path)));
    fs::remove(path);
}
BENCHMARK(BM_N42MinimalReaderBaseline)->Unit(benchmark::kMicrosecond);

void BM_IdentifyCnf8192(benchmark::State& state) {
    const fs::path path = write_cnf(sample_counts(8192));
    bench::identify_file(state, path, 8192, false);
    fs::remove(path);
}
BENCHMARK(BM_IdentifyCnf8192)->Unit(benchmark::kMicrosecond);

void BM_IdentifyCnf8192FreshStore(benchmark::State& state) {
    const fs::path path = write_cnf(sample_counts(8192));
    bench::identify_file(state, path, 8192, true);
    fs::remove(path);
}
BENCHMARK(BM_IdentifyCnf8192FreshStore)->Unit(benchmark::kMicrosecond);

// The least a CNF reader must do: read the file, find the channel block in the
// directory, copy the counts.
void BM_CnfMinimalReaderBaseline(benchmark::State& state) {
    const fs::path path = write_cnf(sample_counts(8192));
    for (auto _ : state) {
        const std::string b = read_bytes(path);
        std::uint32_t at = 0;
        for (std::size_t entry = 0x70; entry + 14 <= 2048; entry += 0x30) {
            std::uint32_t kind = 0;
            std::memcpy(&kind, b.data() + entry, 4);
            if (kind == 0x12005) {
                std::memcpy(&at, b.data() + entry + 10, 4);
                break;
            }
        }
        std::uint16_t n = 0;
        std::memcpy(&n, b.data() + at + 0x2a, 2);
        std::vector<std::uint32_t> raw(n);
        std::memcpy(raw.data(), b.data() + at + 512, 4u * n);
        const std::vector<double> counts(raw.begin(), raw.end());
        if (counts.size() != 8192) {
            state.SkipWithError("the baseline misread the file");
            break;
        }
        benchmark::DoNotOptimize(counts.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fs::file_size(path)));
    fs::remove(path);
}
BENCHMARK(BM_CnfMinimalReaderBaseline)->Unit(benchmark::kMicrosecond);

}  // namespace
