#pragma once
// The plots' canvas on a printed page.

#include <span>
#include <string>
#include <string_view>

#include "canvas.h"
#include "print_device.h"

namespace vorelbox::display {

// Draws on the page the printer has open; the whole page is the drawing area.
class PrintCanvas : public Canvas {
  public:
    explicit PrintCanvas(print::PrintDevice& device) : device_(device) {}

    int dpi_x() const override { return device_.dpi_x(); }
    int dpi_y() const override { return device_.dpi_y(); }
    std::string set_font(const print::FontRequest& font) override { return device_.set_font(font); }
    print::TextSize text_extent(std::string_view text) const override {
        return device_.text_extent(text);
    }
    void draw_text(int x, int y, std::string_view text) override { device_.draw_text(x, y, text); }
    void set_pen(const print::Pen& pen) override { device_.set_pen(pen); }
    void draw_line(int x1, int y1, int x2, int y2) override { device_.draw_line(x1, y1, x2, y2); }
    void draw_rectangle(const print::Rect& rect) override { device_.draw_rectangle(rect); }
    void fill_rectangle(const print::Rect& rect, std::uint32_t rgb) override {
        device_.fill_rectangle(rect, rgb);
    }
    void set_clip(const std::optional<print::Rect>& rect) override { device_.set_clip(rect); }

    int width() const override { return device_.page_width(); }
    int height() const override { return device_.page_height(); }
    // The printer's horizontal resolution in units per cm.
    double units_per_cm() const override { return device_.dpi_x() / 2.54; }

    void fill_white() override;
    void move_to(int x, int y) override;
    void line_to(int x, int y) override;
    void polyline(std::span<const Point> points) override;

  private:
    print::PrintDevice& device_;
    Point at_;
};

}  // namespace vorelbox::display
