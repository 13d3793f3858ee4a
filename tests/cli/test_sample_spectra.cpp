// The made-up lifetime spectra: their shape, their noise, their files.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <sstream>

#include "app_state.h"
#include "auto_answer_ui.h"
#include "cli.h"
#include "maestro_chn.h"
#include "sample_spectra.h"
#include "spectrum_list.h"
#include "tagged_spe.h"

using namespace vorelbox;
namespace fs = std::filesystem;

namespace {

cli::LifetimeModel two_lifetimes() {
    return cli::LifetimeModel{2048, 0.010, 2.0, 0.200, {{0.150, 0.7}, {1.200, 0.3}}, 1.0e6, 10.0};
}

std::string read_bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

TEST(SampleSpectra, ExpectedCountsHoldTheDecaysAndTheBackground) {
    const cli::LifetimeModel m = two_lifetimes();
    const std::vector<double> counts = cli::expected_counts(m);
    ASSERT_EQ(counts.size(), 2048u);
    // 18 ns after the prompt peak the longest decay (1.2 ns) has all but e^-15 of its counts.
    const double total = std::accumulate(counts.begin(), counts.end(), 0.0);
    EXPECT_NEAR(total, m.annihilations + 2048 * m.background, 1e-3 * m.annihilations);

    // The peak sits just after time zero (channel 200), shifted by the decays, never before it.
    const auto peak = static_cast<int>(std::max_element(counts.begin(), counts.end()) - counts.begin());
    EXPECT_GE(peak, 199);
    EXPECT_LE(peak, 215);
    // Far out, only the long lifetime is left: the counts fall by e every 1.2 ns.
    const double a = counts[800] - m.background;
    const double b = counts[920] - m.background;
    EXPECT_NEAR(std::log(a / b), 1.2 / 1.2, 1e-3);
    // Well before the peak only the background remains.
    EXPECT_NEAR(counts[50], m.background, 1e-9);
}

TEST(SampleSpectra, PoissonNoiseHasTheRightMeanAndSpreadAndRepeats) {
    for (const double mean : {0.4, 3.5, 40.0, 2500.0}) {
        cli::SampleRandom random(7);
        const int n = 40000;
        double sum = 0.0;
        double squares = 0.0;
        for (int i = 0; i < n; ++i) {
            const auto k = static_cast<double>(random.poisson(mean));
            ASSERT_GE(k, 0.0);
            sum += k;
            squares += k * k;
        }
        const double m = sum / n;
        const double variance = squares / n - m * m;
        EXPECT_NEAR(m, mean, 5.0 * std::sqrt(mean / n)) << mean;
        EXPECT_NEAR(variance / mean, 1.0, 0.05) << mean;
    }
    cli::SampleRandom one(11);
    cli::SampleRandom two(11);
    const std::vector<double> expected = cli::expected_counts(two_lifetimes());
    EXPECT_EQ(cli::noisy_counts(expected, one), cli::noisy_counts(expected, two));
}

TEST(SampleSpectra, TheSetIsFixedAndSpansTheChannelCounts) {
    const std::vector<cli::SampleFile> files = cli::sample_files();
    const std::vector<cli::SampleFile> again = cli::sample_files();
    ASSERT_EQ(files.size(), 3u);
    std::vector<int> channels;
    for (std::size_t f = 0; f < files.size(); ++f) {
        EXPECT_GE(files[f].spectra.size(), 2u) << files[f].name;
        for (std::size_t s = 0; s < files[f].spectra.size(); ++s) {
            const cli::SampleSpectrum& spectrum = files[f].spectra[s];
            EXPECT_EQ(spectrum.counts, again[f].spectra[s].counts);
            EXPECT_LE(spectrum.header.size(), 80u);
            EXPECT_GE(spectrum.model.components.size(), 2u);
            EXPECT_LE(spectrum.model.components.size(), 3u);
            EXPECT_EQ(spectrum.counts.size(), static_cast<std::size_t>(spectrum.model.channels));
            const double total = std::accumulate(spectrum.counts.begin(), spectrum.counts.end(), 0.0);
            const double wanted = spectrum.model.annihilations + spectrum.model.channels * spectrum.model.background;
            EXPECT_NEAR(total, wanted, 0.01 * wanted) << spectrum.header;
        }
        channels.push_back(files[f].spectra.front().model.channels);
    }
    EXPECT_EQ(channels, (std::vector<int>{1024, 4096, 8192}));
}

TEST(SampleSpectra, ForeignRenderingsReadBackAsTheSameCounts) {
    const std::vector<cli::SampleFile> files = cli::sample_files();
    const cli::SampleSpectrum& first = files[1].spectra.front();
    cli::Acquisition a;
    a.sample = "PMMA 20 C (made-up sample)";
    a.detector = "BaF2";
    a.year = 2024;
    a.month = 3;
    a.day = 2;
    a.hour = 9;
    a.minute = 5;
    a.second = 7;
    a.real_time_s = 3600;
    a.live_time_s = 3590;
    a.channel_ns = 0.00625;

    const spectra::ChnRead chn = spectra::parse_chn(cli::chn_bytes(first.counts, a));
    ASSERT_EQ(chn.problem, spectra::ChnProblem::None);
    EXPECT_EQ(std::vector<double>(chn.file.counts.begin(), chn.file.counts.end()), first.counts);
    EXPECT_EQ(spectra::chn_date_text(chn.file), " 2Mar 2024");
    EXPECT_EQ(spectra::chn_time_text(chn.file), "09:05:07");
    EXPECT_EQ(chn.file.live_ticks, 3590 * 50);
    EXPECT_FLOAT_EQ(static_cast<float>(chn.file.energy[1]), 0.00625f);
    EXPECT_EQ(chn.file.sample, a.sample);
    EXPECT_EQ(chn.file.detector, a.detector);

    common::AutoAnswerUi ui(false);
    const spectra::SpeFile spe =
        spectra::read_spe_text(ui, cli::spe_text(first.counts, a), "x.spe", spectra::SpeMode::Identify);
    EXPECT_TRUE(spe.has_data);
    EXPECT_EQ(spe.counts, first.counts);
    EXPECT_EQ(spe.description, a.sample);
    EXPECT_EQ(spe.pane.live_time, "3590.00");
    EXPECT_TRUE(ui.messages().empty()) << ui.messages().front();
}

TEST(SampleSpectra, CommandWritesFilesThatReadBack) {
    const fs::path dir = fs::temp_directory_path() / "vorelbox_samples_test";
    fs::remove_all(dir);
    std::ostringstream out, err;
    ASSERT_EQ(cli::run_cli({"samples", "--output-dir", dir.string()}, out, err), cli::CLI_OK) << err.str();
    const std::vector<std::string> names{"pals-1024.dat",    "pals-4096.dat",   "pals-8192.dat",
                                         "pals-maestro.chn", "pals-tagged.spe", "pals-4096.vsl"};
    for (const std::string& name : names) {
        EXPECT_NE(out.str().find((dir / name).string() + "\n"), std::string::npos) << name;
    }
    const std::string first_run = read_bytes(dir / "pals-4096.dat");

    for (const auto& [name, spectra] :
         std::vector<std::pair<std::string, int>>{{"pals-1024.dat", 3}, {"pals-4096.dat", 4}, {"pals-8192.dat", 2},
                                                  {"pals-maestro.chn", 1}, {"pals-tagged.spe", 1}}) {
        std::ostringstream info, info_err;
        EXPECT_EQ(cli::run_cli({"info", (dir / name).string()}, info, info_err), cli::CLI_OK) << name;
        EXPECT_NE(info.str().find("\"spectra\":" + std::to_string(spectra) + ","), std::string::npos) << info.str();
        EXPECT_NE(info.str().find("\"messages\":[]"), std::string::npos) << info.str();
    }

    core::AppState state;
    common::AutoAnswerUi ui(false);
    ASSERT_TRUE(adder::LOAD_SPECTLIST(state.adder.list, state.store, state.raw_files, state.adder.recent_lists, ui,
                                      (dir / "pals-4096.vsl").string()));
    EXPECT_EQ(state.adder.list.row_count(), 4);
    EXPECT_EQ(state.adder.list.channels, 4096);

    std::ostringstream again, again_err;
    ASSERT_EQ(cli::run_cli({"samples", "--output-dir", dir.string()}, again, again_err), cli::CLI_OK);
    EXPECT_EQ(read_bytes(dir / "pals-4096.dat"), first_run);
    fs::remove_all(dir);
}
