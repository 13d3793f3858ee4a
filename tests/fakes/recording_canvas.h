#pragma once
// A canvas for tests: every drawing call is recorded, and every character is
// 6 units wide and 10 high (times text_scale, for a surface whose texts grow
// with its resolution), so that text positions can be checked exactly.

#include <string>
#include <vector>

#include "canvas.h"

namespace vorelbox::fakes {

class RecordingCanvas : public display::Canvas {
public:
    struct Call {
        std::string op;  // "text", "line", "polyline", "rect", "fill", "fill_white", "pen", "font", "clip", "move", "lineto"
        std::vector<int> numbers;
        std::string text;
    };

    RecordingCanvas(int width = 1024, int height = 768, double units_per_cm = 50.0)
        : width_(width), height_(height), units_per_cm_(units_per_cm) {}

    int dpi_x() const override { return static_cast<int>(units_per_cm_ * 2.54 + 0.5); }
    int dpi_y() const override { return dpi_x(); }
    std::string set_font(const print::FontRequest& font) override {
        font_ = font;
        calls.push_back({"font", {font.char_height, font.escapement, font.weight, font.italic ? 1 : 0}, font.face});
        return font.face;
    }
    print::TextSize text_extent(std::string_view text) const override {
        return {6 * text_scale * static_cast<int>(text.size()), 10 * text_scale};
    }
    void draw_text(int x, int y, std::string_view text) override {
        calls.push_back({"text", {x, y, font_.escapement}, std::string(text)});
    }
    void set_pen(const print::Pen& pen) override {
        pen_ = pen;
        calls.push_back({"pen", {pen.width, static_cast<int>(pen.rgb)}, {}});
    }
    void draw_line(int x1, int y1, int x2, int y2) override { calls.push_back({"line", {x1, y1, x2, y2}, {}}); }
    void draw_rectangle(const print::Rect& r) override {
        calls.push_back({"rect", {r.left, r.top, r.right, r.bottom}, {}});
    }
    void fill_rectangle(const print::Rect& r, std::uint32_t rgb) override {
        calls.push_back({"fill", {r.left, r.top, r.right, r.bottom, static_cast<int>(rgb)}, {}});
    }
    void set_clip(const std::optional<print::Rect>& r) override {
        calls.push_back({"clip", r ? std::vector<int>{r->left, r->top, r->right, r->bottom} : std::vector<int>{}, {}});
    }
    int width() const override { return width_; }
    int height() const override { return height_; }
    double units_per_cm() const override { return units_per_cm_; }
    void fill_white() override { calls.push_back({"fill_white", {}, {}}); }
    void move_to(int x, int y) override {
        at_ = {x, y};
        calls.push_back({"move", {x, y}, {}});
    }
    void line_to(int x, int y) override {
        calls.push_back({"lineto", {at_.x, at_.y, x, y}, {}});
        at_ = {x, y};
    }
    void polyline(std::span<const display::Point> points) override {
        Call c{"polyline", {}, {}};
        for (const auto& p : points) {
            c.numbers.push_back(p.x);
            c.numbers.push_back(p.y);
        }
        calls.push_back(std::move(c));
    }

    // The texts drawn, in order.
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& c : calls) {
            if (c.op == "text") {
                out.push_back(c.text);
            }
        }
        return out;
    }
    const print::Pen& pen() const { return pen_; }

    std::vector<Call> calls;
    int text_scale = 1;

private:
    int width_;
    int height_;
    double units_per_cm_;
    print::FontRequest font_;
    print::Pen pen_;
    display::Point at_;
};

}  // namespace vorelbox::fakes
