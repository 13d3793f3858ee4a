#pragma once
// The plots' canvas over a QPainter: the plot area on the screen, and the PNG, SVG
// and PDF pictures.

#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QRegion>

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "canvas.h"
#include "qt_print_device.h"

class QPaintDevice;

namespace vorelbox::platform {

class QPainterCanvas : public display::Canvas {
  public:
    // Draws with `painter`, active on `device`, in an area of width × height device
    // units from the device's top-left corner.
    QPainterCanvas(QPainter& painter, QPaintDevice& device, int width, int height,
                   double units_per_cm = 50.0);

    int dpi_x() const override { return surface_.dpi_x(); }
    int dpi_y() const override { return surface_.dpi_y(); }
    std::string set_font(const print::FontRequest& font) override {
        return surface_.set_font(font);
    }
    print::TextSize text_extent(std::string_view text) const override {
        return surface_.text_extent(text);
    }
    void draw_text(int x, int y, std::string_view text) override;
    void set_pen(const print::Pen& pen) override;
    void draw_line(int x1, int y1, int x2, int y2) override;
    void draw_rectangle(const print::Rect& rect) override;
    void fill_rectangle(const print::Rect& rect, std::uint32_t rgb) override;
    void set_clip(const std::optional<print::Rect>& rect) override;

    // Keeps all drawing inside the region of the device, whatever clip the plot sets.
    void keep_within(const QRegion& region);

    int width() const override { return width_; }
    int height() const override { return height_; }
    double units_per_cm() const override { return units_per_cm_; }
    void fill_white() override;
    void move_to(int x, int y) override;
    void line_to(int x, int y) override;
    void polyline(std::span<const display::Point> points) override;

  private:
    // A clip the canvas applies to the geometry itself, for paint engines that
    // ignore the painter's clip (the SVG generator).
    const print::Rect* own_clip() const { return clip_by_hand_ && clip_ ? &*clip_ : nullptr; }

    QPainter& painter_;
    PainterSurface surface_;
    int width_;
    int height_;
    double units_per_cm_;
    bool clip_by_hand_;
    std::optional<print::Rect> clip_;
    std::optional<QRegion> within_;
    QPen pen_;
    QPoint at_;
    std::vector<QPoint> points_;  // reused by polyline
};

}  // namespace vorelbox::platform
