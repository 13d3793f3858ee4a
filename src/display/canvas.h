#pragma once
// What the plots draw on: a plot area on the screen, a picture (EMF, PNG, SVG,
// PDF) or a printed page. Coordinates are device units with y downwards.

#include <cmath>
#include <span>
#include <string_view>

#include "draw_surface.h"

namespace vorelbox::display {

struct Point {
    int x = 0;
    int y = 0;
};

class Canvas : public print::DrawSurface {
public:
    // The drawing area in device units.
    virtual int width() const = 0;
    virtual int height() const = 0;
    // Device units per centimetre: 50 on the screen, 40.96 on the EMF canvas,
    // the printer's resolution on paper.
    virtual double units_per_cm() const = 0;

    virtual void fill_white() = 0;
    virtual void move_to(int x, int y) = 0;
    virtual void line_to(int x, int y) = 0;
    virtual void polyline(std::span<const Point> points) = 0;
};

// The graph unit: line widths and offsets of the plots are multiples of it.
inline int graph_unit(const Canvas& canvas) { return static_cast<int>(std::trunc(0.0254 * canvas.units_per_cm())); }

// Common colours of the plots, 0xRRGGBB.
inline constexpr std::uint32_t BLACK = 0x000000;
inline constexpr std::uint32_t RED = 0xFF0000;
inline constexpr std::uint32_t BLUE = 0x0000FF;

}  // namespace vorelbox::display
