#pragma once
// The plots' canvas for EMF pictures: a 1024 × 768 enhanced metafile at 40.96
// units per cm, kept in memory until it is written.

#include <QFont>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "canvas.h"

namespace vorelbox::platform {

// The screen a picture is made for: its size in pixels and in millimetres. It sets
// the picture's size on paper.
struct ReferenceScreen {
    int pixels_x = 1024;
    int pixels_y = 768;
    int millimetres_x = 271;  // 96 pixels per inch
    int millimetres_y = 203;
};

// The primary screen, or a 96-dpi screen when there is none or it does not know its size.
ReferenceScreen primary_screen();

// Texts are measured with Qt's fonts, so a QGuiApplication must exist.
class EmfCanvas : public display::Canvas {
  public:
    static constexpr int WIDTH = 1024;
    static constexpr int HEIGHT = 768;
    static constexpr int DPI = 96;

    // The picture's description names the program and the title.
    EmfCanvas(std::string_view program, std::string_view title,
              const ReferenceScreen& screen = primary_screen());
    ~EmfCanvas() override;
    EmfCanvas(const EmfCanvas&) = delete;
    EmfCanvas& operator=(const EmfCanvas&) = delete;

    int dpi_x() const override { return DPI; }
    int dpi_y() const override { return DPI; }
    std::string set_font(const print::FontRequest& font) override;
    print::TextSize text_extent(std::string_view text) const override;
    void draw_text(int x, int y, std::string_view text) override;
    void set_pen(const print::Pen& pen) override;
    void draw_line(int x1, int y1, int x2, int y2) override;
    void draw_rectangle(const print::Rect& rect) override;
    void fill_rectangle(const print::Rect& rect, std::uint32_t rgb) override;
    void set_clip(const std::optional<print::Rect>& rect) override;

    int width() const override { return WIDTH; }
    int height() const override { return HEIGHT; }
    double units_per_cm() const override { return 40.96; }
    void fill_white() override;
    void move_to(int x, int y) override;
    void line_to(int x, int y) override;
    void polyline(std::span<const display::Point> points) override;

    // The picture file's bytes; nothing when they could not be made. Drawing ends here.
    std::optional<std::string> finish();

  private:
    struct Handles;

    // Takes a record made by libuemf (and frees it).
    void append(char* record);
    std::uint32_t new_handle();
    // Deletes an object no longer selected, or, while a clip keeps the selection
    // saved, once the clip is lifted.
    void retire(std::uint32_t handle);
    void delete_object(std::uint32_t handle);
    void select_current_objects();
    void end_clip();

    std::vector<char> header_;
    std::vector<char> records_;
    std::unique_ptr<Handles> handles_;
    double scale_x_;  // 0.01 mm per unit
    double scale_y_;
    std::uint32_t pen_ = 0;  // 0: none created yet
    print::Pen pen_style_;
    std::uint32_t font_ = 0;  // 0: none created yet
    int escapement_ = 0;
    display::Point at_;
    bool at_known_ = false;  // the metafile's current position is at_
    std::vector<std::uint32_t> deferred_deletes_;
    bool clipped_ = false;
    bool finished_ = false;
    QFont qfont_;
};

}  // namespace vorelbox::platform
