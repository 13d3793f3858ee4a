// The Multispectrum plot of six lifetime spectra of 65536 channels each, drawn
// on a 1024 x 768 image through the QPainter canvas, on a linear and on a
// logarithmic count axis. A drawing should take well below 16 ms. A drawing
// keeps nothing worked out from the counts, so the first logarithmic drawing
// after a file was read (LogFirstDrawing) does what every other one does.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <cmath>
#include <random>

#include "auto_answer_ui.h"
#include "bench_application.h"
#include "multispectrum_paint.h"
#include "qt_canvas.h"

namespace {

using namespace vorelbox;

constexpr int bench_channels = 65536;
constexpr int bench_spectra = 6;

using bench::application;

// A lifetime spectrum: a background, a peak and two decays, with counting noise.
std::vector<double> lifetime_spectrum(int k, std::mt19937& random) {
    std::vector<double> counts(bench_channels);
    const double peak = 6000.0 + 400.0 * k;
    for (int ch = 1; ch <= bench_channels; ++ch) {
        const double t = ch - peak;
        const double rise = 0.5 * std::erfc(-t / 120.0);
        const double mean = 40.0 + rise * (2.0e5 * std::exp(-std::max(t, 0.0) / 700.0) +
                                           4.0e3 * std::exp(-std::max(t, 0.0) / 9000.0));
        std::poisson_distribution<long> noise(mean);
        counts[static_cast<std::size_t>(ch - 1)] = static_cast<double>(noise(random));
    }
    return counts;
}

display::MultispectrumState six_spectra(bool log) {
    display::MultispectrumState state;
    std::mt19937 random(11);
    spectra::REALLOCATE_SPECTRA(state.store, bench_channels);
    state.store.CHANNEL_COUNT = bench_channels;
    state.store.FILE_SPECTRUM_COUNT = bench_spectra;
    for (int k = 1; k <= bench_spectra; ++k) {
        state.store.file_column(k) = lifetime_spectrum(k, random);
        std::string& header = state.store.FILE_SPECTRUM_HEADERS[static_cast<std::size_t>(k - 1)];
        header = "Sample ";
        header += std::to_string(k);
        header += "  lifetime run, 65536 channels";
    }
    state.page.upper_channel = std::to_string(bench_channels);
    state.page.log = log;
    common::AutoAnswerUi ui(false);
    display::prepare_multispectra(state, ui);
    return state;
}

void draw_six_spectra(benchmark::State& bench, bool log) {
    application();
    display::MultispectrumState state = six_spectra(log);
    const print::PageSetup setup;
    QImage image(1024, 768, QImage::Format_RGB32);
    for (auto _ : bench) {
        QPainter painter(&image);
        platform::QPainterCanvas canvas(painter, image, image.width(), image.height());
        display::paint_multispectra(canvas, display::PlotTarget::Show, state, setup);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_MultispectrumLinear(benchmark::State& bench) {
    draw_six_spectra(bench, false);
}
void BM_MultispectrumLog(benchmark::State& bench) {
    draw_six_spectra(bench, true);
}
void BM_MultispectrumLogFirstDrawing(benchmark::State& bench) {
    draw_six_spectra(bench, true);
}

}  // namespace

BENCHMARK(BM_MultispectrumLinear)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MultispectrumLog)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MultispectrumLogFirstDrawing)->Unit(benchmark::kMillisecond);
