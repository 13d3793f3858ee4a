#pragma once
// The single spectrum plot of the Spectrum adder and Spectrum converter pages:
// every channel as a short dot, a linear or logarithmic count axis labelled
// inside its left edge, the peak channel as a blue line and, on the converter
// page, the trimming window as red brackets. The geometry lives in the pure
// functions below; DRAW_SPECTRUM only paints with them.

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "adder_page.h"
#include "canvas.h"
#include "converter_page.h"
#include "page_setup.h"
#include "spectrum_store.h"

namespace vorelbox::display {

inline constexpr const char* NO_SPECTRUM_DATA = "No spectrum data to display";

// Lengths of the plots are given in graph units u (1 on the screen, more on
// paper), so that ticks, dots and offsets keep their size on every target.

// The plot box inside a frame (l, t, r, b): L = l + u, R = r, T = t + u, B = b - u.
struct PlotBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
PlotBox plot_box(int l, int t, int r, int b, int unit);

// Channels X1..X2 of the plot.
struct ChannelRange {
    int first = 1;
    int last = 0;
};

// What the scroll bar and the zoom give: X1 = the scroll position kept inside
// 1..Nc - 1, X2 = min(Nc, X1 + page), page = trunc(Nc / zoom factor).
struct SpectrumWindow {
    ChannelRange range;
    int page = 0;
};
SpectrumWindow spectrum_window(int channels, int zoom_index, int scroll_position);

// Keeps a window of `width` channels past X1 inside 1..Nc: a window starting
// before channel 2 starts at 1, one reaching Nc ends at Nc.
ChannelRange corrected_window(ChannelRange window, int channels, int width);

// The value shown for a count: the count, or its base-10 logarithm with counts
// below 0.5 (zero and negative ones included) taken as 0.5.
double shown_value(double count, bool log);

// The top of a logarithmic count axis in decades: the exponent of the power of
// ten at or above the largest count, so that no count is cut at the top edge.
double log_axis_top(double largest_count);

// The count axis from `low` to `high`; the plot shows data only when high > low.
struct ValueRange {
    double low = 0.0;
    double high = 0.0;
    bool drawable() const { return high > low; }
};
// Over channels 2..Nc - 1 only: linear trunc(min)..trunc(max), logarithmic
// trunc(min log - 0.3)..log_axis_top(max). Fewer than three channels: 0..0.
ValueRange spectrum_value_range(std::span<const double> counts, bool log);

// The first channel of 2..Nc - 1 with the largest count; nothing for fewer than
// three channels.
std::optional<int> spectrum_peak(std::span<const double> counts);

// Data to device units: px = (R - L - u) / (X2 - X1 + 1) per channel and
// py = (T - B + 4u) / (high - low) per unit (negative: values grow upward).
class PlotScale {
public:
    // Needs X2 >= X1 and a drawable range.
    PlotScale(const PlotBox& box, ChannelRange window, ValueRange range, int unit);
    // trunc(L + (channel - X1) * px); the channel may lie between channels.
    int x(double channel) const;
    // trunc((B - 2u) + (value - low) * py).
    int y(double value) const;
    double pixels_per_channel() const { return px_; }
    int unit() const { return unit_; }

private:
    PlotBox box_;
    ChannelRange window_;
    double low_;
    int unit_;
    double px_;
    double py_;
};

// One labelled tick of the count axis.
struct AxisTick {
    double value = 0.0;
    std::string label;
};
// The label of decade i: 10^(i mod 3) and the letter of i div 3 in " KMGT":
// 1, 10, 100, 1K, ... 100T. Decades 0..14.
std::string log_axis_label(int decade);
// Logarithmic: the decades 0..trunc(high), at most up to 100T. Linear: the
// multiples of the power of ten at or below `high`, up to the first one past it.
std::vector<AxisTick> count_axis_ticks(double high, bool log);
// Ticks from (L - u, y) to (L + 5u, y) and their labels left-aligned at (L + 5u, y - 6u),
// for the values that lie inside the plot box; a label never rises above the box.
void draw_count_axis(Canvas& canvas, const PlotBox& box, const PlotScale& scale, double high, bool log);

// The values DRAW_SPECTRUM reads from the page.
struct SpectrumPlotPage {
    bool file_exists = false;  // the file named on the page exists
    bool log_scale = false;
    int zoom_index = 0;
    int scroll_position = 1;
    bool converter = false;  // the converter page, with its trimming window
    bool trim = false;
    int trim_first = 1;     // "First channel"
    int trim_channels = 0;  // "Channels in spectrum"
};

// What DRAW_SPECTRUM sets on the page.
struct SpectrumPlotResult {
    int scroll_maximum = 0;
    int scroll_page = 0;
    int first_label = 0;  // the channel labels below the graph
    int last_label = 0;
    std::optional<int> peak_channel;  // what "Peak channel" shows, when the data were drawn
    common::ChannelScale scale;       // where the channels were drawn; px 0 when they were not
};

// Draws CURRENT_SPECTRUM (channels 1..CHANNEL_COUNT) of the store on the whole
// canvas; a logarithmic plot fills CURRENT_LOG_SPECTRUM for the channels shown.
SpectrumPlotResult DRAW_SPECTRUM(Canvas& canvas, spectra::SpectrumStore& store, const SpectrumPlotPage& page,
                                 const print::PageSetup& setup);

// The Spectrum adder's plot area: the selected spectrum with "Display selection",
// else the spectrum list. The channel labels go back into adder.page.
void draw_adder_plot(Canvas& canvas, spectra::SpectrumStore& store, adder::AdderState& adder,
                     const print::PageSetup& setup);

// The Spectrum converter's plot area; the channel labels and "Peak channel" go
// back into converter.page.
void draw_converter_plot(Canvas& canvas, spectra::SpectrumStore& store, converter::Converter& converter,
                         const print::PageSetup& setup);

}  // namespace vorelbox::display
