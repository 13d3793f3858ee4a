#pragma once
// Fonts of the plots, the text viewer and the printouts. Every height follows from
// a size in points and the vertical resolution of the surface drawn on, so a plot
// gets the same proportions on the screen, in a picture and on paper.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "draw_surface.h"

namespace vorelbox::print {

// The sizes offered by the page-setup dialog.
constexpr std::array<std::string_view, 12> FONT_SIZE_LIST = {" 6", " 7", " 8", " 9", "10", "11",
                                                              "12", "14", "16", "18", "20", "24"};

// Character height: trunc(dpi_y * points / 72) pixels.
int font_char_height(int dpi_y, double points);
// Line height that text printing advances by: trunc(dpi_y * points / 60).
int font_line_height(int dpi_y, double points);

// A size text read as points; unreadable or not above 0 gives 10.
double default_font_size(std::string_view size_text);

struct FontStyle {
    int weight = 400;
    bool italic = false;
};
// By the first letter, in either case: "N" normal, "I" italic, anything else bold.
FontStyle font_style(std::string_view style);

// The font of a size on a surface of a vertical resolution; angle in degrees.
FontRequest font_request(int dpi_y, double points, std::string_view style, std::string_view face,
                         int angle);

struct FontChoice {
    double points = 10.0;  // the size the font was made at
    std::string face;      // the face obtained
    int char_height = 0;
    int line_height = 0;
};

// Makes the given size the default size and selects a normal font of the face at it;
// the result's points are the new default size.
FontChoice SETDEFAULTFONT(DrawSurface& surface, std::string_view face, std::string_view size_text);
// Selects the face at the default size.
FontChoice SELECTFONT(DrawSurface& surface, double default_size, std::string_view style,
                      std::string_view face, int angle);
// Selects the face at the default size + step points.
FontChoice SELECTRELATIVEFONT(DrawSurface& surface, double default_size, std::string_view style, int step,
                              std::string_view face, int angle);

// An installed font family as the platform describes it.
struct FontFamily {
    std::string name;
    bool scalable = false;     // an outline font, not a bitmap font
    bool fixed_pitch = false;  // monospaced
    bool latin = false;        // covers the Western character set
};

// The two lists of the page-setup dialog, each of at most 100 names.
struct FontLists {
    std::vector<std::string> all;         // the scalable fonts
    std::vector<std::string> monospaced;  // the scalable monospaced Western fonts
};

constexpr std::size_t FONT_LIST_CAPACITY = 100;

// Names longer than a stored font name are left out, since they could not be
// selected again once shortened. A full list keeps replacing its last entry.
FontLists font_lists(const std::vector<FontFamily>& families);

}  // namespace vorelbox::print
