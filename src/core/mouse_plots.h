#pragma once
// The parts of CHECK_VORELBOXMOUSEACTION for each plot; only mouse.cpp calls them.
// The event lies inside the plot's area, and `notches` are the whole wheel
// notches it brings (forward positive).

#include "mouse.h"

namespace vorelbox::core {

// The adder's and the converter's single spectrum plot.
void adder_plot_mouse(AppState& state, Services& services, const MouseEvent& event, int notches,
                      MouseResult& result);
void converter_plot_mouse(AppState& state, Services& services, const MouseEvent& event, int notches,
                          MouseResult& result);
void multispectrum_plot_mouse(AppState& state, Services& services, const MouseEvent& event, int notches,
                              MouseResult& result);

// Ends a drag: the arrow cursor returns.
void end_drag(MouseState& mouse);

}  // namespace vorelbox::core
