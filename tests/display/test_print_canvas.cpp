// The plots' canvas on a printed page.

#include <gtest/gtest.h>

#include <vector>

#include "fakes/recording_print_device.h"
#include "print_canvas.h"

namespace {

using namespace vorelbox;

bool same_line(const print::Rect& line, int x1, int y1, int x2, int y2) {
    return line.left == x1 && line.top == y1 && line.right == x2 && line.bottom == y2;
}

TEST(PrintCanvas, PageGeometryComesFromThePrinter) {
    fakes::PrintRecording recording;
    fakes::RecordingPrintDevice printer(recording, 600, 4800, 6600);
    display::PrintCanvas canvas(printer);
    EXPECT_EQ(canvas.width(), 4800);
    EXPECT_EQ(canvas.height(), 6600);
    EXPECT_NEAR(canvas.units_per_cm(), 236.22, 0.01);
    EXPECT_EQ(display::graph_unit(canvas), 6);
    EXPECT_EQ(canvas.dpi_y(), 600);
}

TEST(PrintCanvas, PolylinesAndPathsBecomeLines) {
    fakes::PrintRecording recording;
    fakes::RecordingPrintDevice printer(recording, 300, 2400, 3300);
    ASSERT_TRUE(printer.start_document("plot"));
    printer.start_page();
    display::PrintCanvas canvas(printer);

    const std::vector<display::Point> marker = {{10, 0}, {0, 20}, {20, 20}, {10, 0}};
    canvas.polyline(marker);
    canvas.polyline(std::vector<display::Point>{{5, 5}});  // a single point draws nothing
    canvas.move_to(100, 100);
    canvas.line_to(200, 100);
    canvas.line_to(200, 50);

    printer.end_page();
    printer.end_document();
    ASSERT_EQ(recording.pages.size(), 1u);
    const auto& lines = recording.pages[0].lines;
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_TRUE(same_line(lines[0], 10, 0, 0, 20));
    EXPECT_TRUE(same_line(lines[1], 0, 20, 20, 20));
    EXPECT_TRUE(same_line(lines[2], 20, 20, 10, 0));
    EXPECT_TRUE(same_line(lines[3], 100, 100, 200, 100));
    EXPECT_TRUE(same_line(lines[4], 200, 100, 200, 50));
}

}  // namespace
