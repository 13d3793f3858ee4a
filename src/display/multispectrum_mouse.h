#pragma once
// The mouse on the Multispectrum plot.

#include "multispectrum.h"

namespace vorelbox::display {

// A mouse message over the plot at (x, y) in the plot's coordinates: a left
// press over the legend, or anywhere while zoomed in (zoom above 1), starts a
// drag; a move drags the legend or the channel window (not while a redraw is
// pending); a release ends it; a wheel turn zooms.
enum class PlotMouse { Press, Move, Release, Wheel };
void multispectrum_mouse(MultispectrumState& state, PlotMouse message, int x, int y, int notches,
                         bool redraw_pending);

// The mouse on the plot. The legend spans x from its left edge to R and y from
// T + 30 to its lower edge.
bool over_legend(const MultispectrumState& state, int x, int y);
// Moves the legend by dx, keeping its left edge within L + 20 .. R − 100; asks for a redraw.
void move_legend(MultispectrumState& state, int dx);
// The channel under x: trunc((x − L)(hi − lo)/(R − L)) + lo.
int channel_under(const MultispectrumState& state, int x);
// A drag of the zoomed plot: channel c0 (noted before the drag) follows the pointer to x.
void drag_window(MultispectrumState& state, int c0, int x);
// Wheel notches (forward positive) over the plot at x: the zoom level goes down by
// the notches, within 0..12, and the channel under the pointer stays under it.
void wheel_zoom(MultispectrumState& state, int notches, int x);

}  // namespace vorelbox::display
