#pragma once
// What the plots, the text viewer and the printouts draw on: a screen widget, a
// picture file or a printer page. Coordinates are device units, y downwards.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vorelbox::print {

struct FontRequest {
    std::string face;
    int char_height = 0;  // pixels of the character itself (the em height), not of its cell
    int escapement = 0;   // tenths of a degree, counter-clockwise; 900 reads upward
    int weight = 400;     // 400 normal, 700 bold
    bool italic = false;
};

struct TextSize {
    int width = 0;
    int height = 0;  // of the character cell
};

struct Pen {
    int width = 1;
    std::uint32_t rgb = 0;  // 0xRRGGBB
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;  // exclusive
    int bottom = 0;
};

class DrawSurface {
public:
    virtual ~DrawSurface() = default;

    // Logical pixels per inch.
    virtual int dpi_x() const = 0;
    virtual int dpi_y() const = 0;

    // Replaces the current font; returns the face actually obtained.
    virtual std::string set_font(const FontRequest& font) = 0;
    // The size of a text in the current font.
    virtual TextSize text_extent(std::string_view text) const = 0;
    // Draws a text in black, the top-left corner of its cell at (x, y), turned by
    // the font's escapement about that corner. Texts are UTF-8, or Latin-1 when
    // they are not valid UTF-8.
    virtual void draw_text(int x, int y, std::string_view text) = 0;

    virtual void set_pen(const Pen& pen) = 0;
    virtual void draw_line(int x1, int y1, int x2, int y2) = 0;
    virtual void draw_rectangle(const Rect& rect) = 0;  // outline in the pen
    virtual void fill_rectangle(const Rect& rect, std::uint32_t rgb) = 0;
    // Drawing outside the rectangle is dropped from now on; nothing: no clipping.
    virtual void set_clip(const std::optional<Rect>& rect) = 0;
};

// A printer: a surface made of pages.
class PrintDevice : public DrawSurface {
public:
    // The printable area in device units.
    virtual int page_width() const = 0;
    virtual int page_height() const = 0;

    // Opens the print job under a name for the print queue; false when it cannot be opened.
    virtual bool start_document(std::string_view title) = 0;
    virtual void start_page() = 0;
    // Ends the page; the font is lost with it.
    virtual void end_page() = 0;
    virtual void end_document() = 0;
};

}  // namespace vorelbox::print
