#include "print_canvas.h"

namespace vorelbox::display {

void PrintCanvas::fill_white() {
    device_.fill_rectangle({0, 0, width(), height()}, 0xFFFFFF);
}

void PrintCanvas::move_to(int x, int y) {
    at_ = {x, y};
}

void PrintCanvas::line_to(int x, int y) {
    device_.draw_line(at_.x, at_.y, x, y);
    at_ = {x, y};
}

void PrintCanvas::polyline(std::span<const Point> points) {
    for (std::size_t i = 1; i < points.size(); ++i) {
        device_.draw_line(points[i - 1].x, points[i - 1].y, points[i].x, points[i].y);
    }
}

}  // namespace vorelbox::display
