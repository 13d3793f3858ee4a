// The Text output page on a 200 MB report: scrolling to its last line, which
// should take well below 20 ms; as counters, the first reading of the file that
// builds its line index (index_build_ms) and a search through all of it
// (full_search_ms).

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "auto_answer_ui.h"
#include "text_search.h"
#include "text_viewer.h"

namespace {

using namespace vorelbox;
namespace fs = std::filesystem;

constexpr std::uintmax_t report_bytes = 200ULL * 1024 * 1024;

// A report of numbered result lines in the temp folder, removed with the object.
class BigReport {
public:
    BigReport() : path_(fs::temp_directory_path() / "vorelbox_bench_report.txt") {
        std::ofstream out(path_, std::ios::binary);
        std::string block;
        std::uintmax_t written = 0;
        for (long line = 1; written < report_bytes; ++line) {
            block += "  component ";
            block += std::to_string(line);
            block += "   tau =  0.1823E+00 ns   intensity =  71.402 %   chi2 =  1.0412\r\n";
            if (block.size() >= (1U << 20)) {
                out << block;
                written += block.size();
                block.clear();
            }
        }
    }
    ~BigReport() {
        std::error_code ignored;
        fs::remove(path_, ignored);
    }
    BigReport(const BigReport&) = delete;
    BigReport& operator=(const BigReport&) = delete;

    std::string path() const { return path_.string(); }

private:
    fs::path path_;
};

void BM_TextViewerScrollToLastLine(benchmark::State& state) {
    const BigReport report;
    common::AutoAnswerUi ui(false);
    display::TextViewer viewer;
    viewer.client_height = 900;  // a tall window: 69 lines at 10 points

    const auto start = std::chrono::steady_clock::now();
    const bool shown = display::SHOW_RESULT(ui, viewer, report.path(), "Vorelix Analysis", "Report");
    const std::chrono::duration<double, std::milli> build = std::chrono::steady_clock::now() - start;
    if (!shown) {
        state.SkipWithError("the report could not be shown");
        return;
    }

    for (auto _ : state) {
        // Ctrl+End, then one page further: the last line at the top of the view.
        viewer.first_line = display::key_position(viewer, display::ViewerKey::End) + display::SCROLL_PAGE;
        if (!display::SCROLL_RESULT(ui, viewer) || viewer.view.rows.empty() ||
            viewer.view.rows.back().line != viewer.line_count ||
            viewer.view.rows.back().text.rfind("  component", 0) != 0) {
            state.SkipWithError("the last line was not shown");
            break;
        }
        benchmark::DoNotOptimize(viewer.view.rows.data());
    }
    // A search for a text that is not there reads the whole file once.
    viewer.find.text = "absent";
    viewer.hit = {};
    const auto search_start = std::chrono::steady_clock::now();
    const bool found = display::FIND_NEXT(ui, viewer, std::nullopt, false);
    const std::chrono::duration<double, std::milli> search = std::chrono::steady_clock::now() - search_start;
    if (found) {
        state.SkipWithError("a text that is not in the report was found");
    }
    state.counters["index_build_ms"] = build.count();
    state.counters["full_search_ms"] = search.count();
    state.counters["lines"] = static_cast<double>(viewer.line_count);
}
BENCHMARK(BM_TextViewerScrollToLastLine)->Unit(benchmark::kMillisecond)->Iterations(200);

}  // namespace
