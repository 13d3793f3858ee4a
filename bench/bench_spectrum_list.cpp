// A spectrum list of 99 rows of 8192 channels that name 10 files: load it, sum
// it and save the rows with their sum.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "auto_answer_ui.h"
#include "edit_format.h"
#include "save_list_spectra.h"
#include "spectrum_list.h"

namespace {

using namespace vorelbox;
namespace fs = std::filesystem;

constexpr int list_channels = 8192;
constexpr int list_files = 10;
constexpr int list_rows = 99;

// Ten files of ten spectra each, and the list of their first 99 spectra.
fs::path write_sample_list() {
    const fs::path dir = fs::temp_directory_path() / "vorelbox_bench_list";
    fs::create_directories(dir);
    std::mt19937 random(5);
    std::uniform_int_distribution<int> counts(0, 200000);
    const auto format = *common::parse_edit_format("(10i8)");
    std::vector<double> spectrum(list_channels);
    std::ostringstream list;
    list << "VORELIX SPECTRUM LIST " << list_channels << ", channels\n";
    int rows = 0;
    for (int f = 1; f <= list_files; ++f) {
        const fs::path file = dir / ("run" + std::to_string(f) + ".dat");
        std::ofstream out(file);
        for (int k = 1; k <= 10; ++k) {
            out << "run " << f << " spectrum " << k << "\n";
            for (auto& c : spectrum) {
                c = counts(random);
            }
            common::write_counts(out, format, spectrum);
            if (rows < list_rows) {
                list << "run " << f << " spectrum " << k << "|" << k << "|" << file.string() << "\n";
                ++rows;
            }
        }
    }
    const fs::path list_file = dir / "bench.vsl";
    std::ofstream(list_file) << list.str();
    return list_file;
}

void BM_LoadSumAndSaveList(benchmark::State& state) {
    const fs::path list_file = write_sample_list();
    const fs::path out = list_file.parent_path() / "bench_with_sum.dat";
    for (auto _ : state) {
        adder::SpectrumList list;
        adder::RecentFiles recent;
        spectra::SpectrumStore store;
        spectra::RawFileTable files;
        common::AutoAnswerUi ui(false);
        if (!adder::LOAD_SPECTLIST(list, store, files, recent, ui, list_file.string()) ||
            list.row_count() != list_rows ||
            !adder::write_list_spectra(out.string(), list, adder::SaveMode::Both, std::string("sum"))) {
            state.SkipWithError("the benchmark list did not load and save");
            break;
        }
    }
    fs::remove_all(list_file.parent_path());
}
BENCHMARK(BM_LoadSumAndSaveList)->Unit(benchmark::kMillisecond);

}  // namespace
