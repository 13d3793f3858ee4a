// Identification of a 16384-channel .chn file as the desktop program does it:
// right after a QPainter drawing, with the status texts going to the labels of
// a real status bar through the Qt message layer, beside the same identification
// through the command line's message layer. A drawing can leave the processor's
// wide vector registers in a state that makes later arithmetic of the C library
// many times slower; this pair shows when that cost comes back.
//
// The logarithms of a plot are timed the same way: the C library's log10 and
// the program's own, each after a drawing.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QPainter>
#include <QPainterPath>
#include <QStatusBar>

#include <cmath>
#include <filesystem>
#include <random>

#include "auto_answer_ui.h"
#include "bench_application.h"
#include "check_spectrum_file.h"
#include "count_log.h"
#include "qt_ui.h"
#include "status_part.h"

namespace {

using namespace vorelbox;
namespace fs = std::filesystem;

using bench::application;

// A main window with the three status-bar parts of the program's.
class StatusWindow {
  public:
    StatusWindow() : ui_(&window_) {
        std::array<QLabel*, 3> labels{};
        for (auto& label : labels) {
            auto* part = new platform::StatusPart(&window_);
            part->setFrameShape(QFrame::Panel);
            part->setFrameShadow(QFrame::Sunken);
            label = part;
            window_.statusBar()->addWidget(label, 1);
        }
        ui_.attach_status_labels(labels);
        window_.resize(900, 600);
        window_.show();
        QApplication::processEvents();
    }
    common::Ui& ui() { return ui_; }

  private:
    QMainWindow window_;
    platform::QtUi ui_;
};

// An anti-aliased curve of 4096 points, as a plot draws one.
void draw_something(QImage& image) {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.moveTo(0, 300);
    for (int i = 1; i < 4096; ++i) {
        path.lineTo(i * 0.25, 300 + 200 * std::sin(i * 0.01));
    }
    painter.drawPath(path);
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
}

fs::path chn_file() { return fs::path(VORELBOX_REAL_DATA) / "AH20190131_Na22_10cm_IDM4.Chn"; }

void identify_after_drawing(benchmark::State& state, common::Ui& ui) {
    QImage image(1024, 768, QImage::Format_RGB32);
    if (!fs::exists(chn_file())) {
        state.SkipWithError("the real instrument files are not there");
        return;
    }
    const std::string path = chn_file().string();
    for (auto _ : state) {
        state.PauseTiming();
        draw_something(image);
        state.ResumeTiming();
        spectra::SpectrumStore store;
        spectra::RawFileTable files;
        const auto r = spectra::CHECK_SPECTRUM_FILE(store, files, ui, path);
        if (r.channels != 16384) {
            state.SkipWithError("the benchmark file did not load");
            break;
        }
        benchmark::DoNotOptimize(store.CURRENT_SPECTRUM.data());
    }
}

void BM_IdentifyChnThroughQtAfterDrawing(benchmark::State& state) {
    application();
    StatusWindow window;
    identify_after_drawing(state, window.ui());
}
BENCHMARK(BM_IdentifyChnThroughQtAfterDrawing)->Unit(benchmark::kMicrosecond);

void BM_IdentifyChnThroughTestDouble(benchmark::State& state) {
    application();
    common::AutoAnswerUi ui(false);
    identify_after_drawing(state, ui);
}
BENCHMARK(BM_IdentifyChnThroughTestDouble)->Unit(benchmark::kMicrosecond);

// --- 65536 logarithms after a drawing ---

std::vector<double> whole_counts() {
    std::mt19937 random(3);
    std::uniform_int_distribution<int> counts(0, 300000);
    std::vector<double> out(65536);
    for (auto& c : out) {
        c = counts(random) + 0.5;
    }
    return out;
}

template <typename Log>
void logs_after_drawing(benchmark::State& state, Log log) {
    application();
    QImage image(1024, 768, QImage::Format_RGB32);
    const std::vector<double> counts = whole_counts();
    std::vector<double> logs(counts.size());
    for (auto _ : state) {
        state.PauseTiming();
        draw_something(image);
        state.ResumeTiming();
        for (std::size_t i = 0; i < counts.size(); ++i) {
            logs[i] = log(counts[i]);
        }
        benchmark::DoNotOptimize(logs.data());
    }
}

void BM_LibraryLog10AfterDrawing(benchmark::State& state) {
    logs_after_drawing(state, [](double x) { return std::log10(x); });
}
BENCHMARK(BM_LibraryLog10AfterDrawing)->Unit(benchmark::kMicrosecond);

void BM_CountLog10AfterDrawing(benchmark::State& state) {
    logs_after_drawing(state, [](double x) { return common::count_log10(x); });
}
BENCHMARK(BM_CountLog10AfterDrawing)->Unit(benchmark::kMicrosecond);

}  // namespace
