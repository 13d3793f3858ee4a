#include "draw_spectrum.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <system_error>

#include "draw_spectrum_list.h"
#include "fonts.h"
#include "os_path.h"
#include "print_device.h"
#include "zoom.h"

namespace vorelbox::display {

namespace {

// A device coordinate from a real one; far-off values (a huge first channel that
// does not set the scale) stay far off without overflowing.
int device(double value) {
    constexpr double limit = 1.0e9;
    return static_cast<int>(std::trunc(std::clamp(value, -limit, limit)));
}

double zoom_factor(int zoom_index) {
    return common::ZOOM_FACTORS[static_cast<std::size_t>(std::clamp(zoom_index, 0, 12))];
}

// A whole number written without blanks.
std::string whole_number(double value) {
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), "%.0f", value);
    return text.data();
}

bool file_exists(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::exists(common::os_path(path), error);
}

}  // namespace

PlotBox plot_box(int l, int t, int r, int b, int unit) { return {l + unit, t + unit, r, b - unit}; }

SpectrumWindow spectrum_window(int channels, int zoom_index, int scroll_position) {
    SpectrumWindow window;
    window.page = static_cast<int>(std::trunc(channels / zoom_factor(std::max(1, zoom_index))));
    window.range.first = std::max(1, std::min(scroll_position, channels - 1));
    window.range.last = std::min(channels, window.range.first + window.page);
    return window;
}

ChannelRange corrected_window(ChannelRange window, int channels, int width) {
    if (window.first < 2) {
        return {1, std::min(channels, width + 1)};
    }
    if (window.last >= channels) {
        return {std::max(1, channels - width), channels};
    }
    return window;
}

double shown_value(double count, bool log) { return log ? spectra::count_log(count) : count; }

double log_axis_top(double largest_count) {
    const double count = std::max(largest_count, 0.5);
    double top = std::ceil(std::log10(count));
    // log10 may land a hair above a whole number for an exact power of ten.
    if (std::pow(10.0, top - 1.0) >= count) {
        top -= 1.0;
    }
    return top;
}

ValueRange spectrum_value_range(std::span<const double> counts, bool log) {
    if (counts.size() < 3) {
        return {};
    }
    const auto inner = counts.subspan(1, counts.size() - 2);
    const auto [low, high] = std::minmax_element(inner.begin(), inner.end());
    if (log) {
        return {std::trunc(shown_value(*low, true) - 0.3), log_axis_top(*high)};
    }
    return {std::trunc(*low), std::trunc(*high)};
}

std::optional<int> spectrum_peak(std::span<const double> counts) {
    if (counts.size() < 3) {
        return std::nullopt;
    }
    const auto inner = counts.subspan(1, counts.size() - 2);
    return static_cast<int>(std::max_element(inner.begin(), inner.end()) - inner.begin()) + 2;
}

PlotScale::PlotScale(const PlotBox& box, ChannelRange window, ValueRange range, int unit)
    : box_(box),
      window_(window),
      low_(range.low),
      unit_(unit),
      px_(static_cast<double>(box.right - box.left - unit) / (window.last - window.first + 1)),
      py_(static_cast<double>(box.top - box.bottom + 4 * unit) / (range.high - range.low)) {}

int PlotScale::x(double channel) const { return device(box_.left + (channel - window_.first) * px_); }

int PlotScale::y(double value) const { return device((box_.bottom - 2 * unit_) + (value - low_) * py_); }

std::string log_axis_label(int decade) {
    constexpr std::array<const char*, 3> powers{"1", "10", "100"};
    constexpr std::string_view letters = " KMGT";
    std::string label = powers[static_cast<std::size_t>(decade % 3)];
    const char letter = letters[static_cast<std::size_t>(decade / 3)];
    if (letter != ' ') {
        label += letter;
    }
    return label;
}

std::vector<AxisTick> count_axis_ticks(double high, bool log) {
    std::vector<AxisTick> ticks;
    if (log) {
        // Labels stop at 100T: fifteen decades.
        const double last = std::min(std::trunc(high), 14.0);
        for (int i = 0; i <= last; ++i) {
            ticks.push_back({static_cast<double>(i), log_axis_label(i)});
        }
        return ticks;
    }
    if (high < 1.0) {
        return ticks;  // no power of ten at or below it
    }
    const double step = std::trunc(std::pow(10.0, std::trunc(std::trunc(3.0 * std::log10(high)) / 3.0)));
    const double count = std::trunc(std::trunc(step + high) / step);
    for (double k = 1; k <= count; ++k) {
        ticks.push_back({k * step, whole_number(k * step)});
    }
    return ticks;
}

void draw_count_axis(Canvas& canvas, const PlotBox& box, const PlotScale& scale, double high, bool log) {
    const int u = scale.unit();
    for (const AxisTick& tick : count_axis_ticks(high, log)) {
        const int y = scale.y(tick.value);
        // A value outside the plot's range has no place on the axis; its label
        // would name a height the plot does not have.
        if (y < box.top || y > box.bottom) {
            continue;
        }
        canvas.draw_line(box.left - u, y, box.left + 5 * u, y);
        // The label stands beside its tick, but never above the plot, where it would be cut.
        print::PRINT_L(canvas, box.left + 5 * u, std::max(y - 6 * u, box.top), tick.label);
    }
}

SpectrumPlotResult DRAW_SPECTRUM(Canvas& canvas, spectra::SpectrumStore& store, const SpectrumPlotPage& page,
                                 const print::PageSetup& setup) {
    SpectrumPlotResult result;
    const int l = 0;
    const int t = 0;
    const int r = canvas.width();
    const int b = canvas.height();
    const bool log = page.log_scale;
    const int u = std::max(1, graph_unit(canvas));
    const print::FontChoice font = print::SETDEFAULTFONT(canvas, setup.graphics_font, setup.graphics_font_size);
    if (!page.file_exists) {
        canvas.fill_white();
        canvas.set_pen({u, BLACK});
        print::PRINT_C(canvas, (l + r) / 2, (t + b) / 2 - 15 * u, NO_SPECTRUM_DATA);
        return result;
    }
    const PlotBox box = plot_box(l, t, r, b, u);
    canvas.set_clip(print::Rect{l, t, r, b});
    canvas.fill_white();

    const int nc = std::clamp(store.CHANNEL_COUNT, 0, static_cast<int>(store.CURRENT_SPECTRUM.size()));
    const std::span<const double> counts(store.CURRENT_SPECTRUM.data(), static_cast<std::size_t>(nc));
    const SpectrumWindow window = spectrum_window(nc, page.zoom_index, page.scroll_position);
    result.scroll_maximum = nc;
    result.scroll_page = window.page;
    // The window keeps its zoomed width when it is pushed back inside the spectrum,
    // so that a scroll to the end at zoom 1 shows the whole spectrum again.
    const ChannelRange shown = corrected_window(window.range, nc, window.page);
    if (nc > 0) {
        result.first_label = shown.first;
        result.last_label = shown.last;
    }
    const ValueRange range = spectrum_value_range(counts, log);
    if (nc < 1 || !range.drawable()) {
        canvas.set_clip(std::nullopt);
        return result;
    }
    const PlotScale scale(box, shown, range, u);
    result.scale = {shown.first, scale.pixels_per_channel(), box.left, box.right};

    canvas.set_pen({u, BLACK});
    print::SELECTRELATIVEFONT(canvas, font.points, "N", -2, setup.graphics_font, 0);
    draw_count_axis(canvas, box, scale, range.high, log);

    if (page.converter && page.trim) {
        const int first = page.trim_first;
        const int last = first + page.trim_channels - 1;
        if (first > 1 || last < nc) {
            canvas.set_pen({u, RED});
            const int xa = first == shown.first ? box.left : scale.x(first - 0.6);
            if (xa >= box.left - u && xa <= box.right) {
                const std::array<Point, 4> bracket{
                    {{xa + 3 * u, box.bottom}, {xa, box.bottom}, {xa, box.top}, {xa + 3 * u, box.top}}};
                canvas.polyline(bracket);
            }
            const int xb = scale.x(last + 0.6);
            if (xb >= box.left && xb <= box.right) {
                const std::array<Point, 4> bracket{
                    {{xb - 3 * u, box.bottom}, {xb, box.bottom}, {xb, box.top}, {xb - 3 * u, box.top}}};
                canvas.polyline(bracket);
            }
        }
    }

    if (const std::optional<int> peak = spectrum_peak(counts)) {
        result.peak_channel = *peak - 1;
        const int x = scale.x(*peak);
        if (x >= box.left && x <= box.right + 4 * u) {
            canvas.set_pen({u, BLUE});
            canvas.draw_line(x, box.bottom, x, box.top - 4 * u);
        }
    }

    // The dots go on top of the lines, so that the peak's own dot shows on its line.
    // A logarithmic plot takes the logarithms of the channels it shows, and only those.
    canvas.set_pen({u, BLACK});
    const int last_dot = std::min(shown.last + 1, nc);
    const std::span<const double> logs = log ? spectra::log_spectrum(store, shown.first, last_dot)
                                             : std::span<const double>{};
    for (int ch = shown.first; ch <= last_dot; ++ch) {
        const auto i = static_cast<std::size_t>(ch - shown.first);
        const double count = counts[static_cast<std::size_t>(ch - 1)];
        const double value = !log ? count : i < logs.size() ? logs[i] : shown_value(count, true);
        const int y = std::clamp(scale.y(value), box.top, box.bottom);
        const int x = scale.x(ch);
        if (x >= box.left && x <= box.right + 10 * u) {
            canvas.draw_line(x, y, x, y + 2 * u);
        }
    }
    canvas.set_clip(std::nullopt);
    return result;
}

void draw_adder_plot(Canvas& canvas, spectra::SpectrumStore& store, adder::AdderState& adder,
                     const print::PageSetup& setup) {
    adder::AdderPageState& page = adder.page;
    if (!page.display_selection) {
        SpectrumListPlotPage list_page;
        list_page.log_scale = page.log_scale;
        list_page.zoom_index = page.zoom_index;
        list_page.first_label = page.first_displayed;
        list_page.last_label = page.last_displayed;
        list_page.enhance_selected = page.enhance_selected;
        list_page.show_sum = page.show_sum;
        const SpectrumListPlotResult drawn =
            DRAW_SPECTRUM_LIST(canvas, PlotTarget::Show, adder.list, list_page, setup);
        if (drawn.window) {
            page.first_displayed = drawn.window->first;
            page.last_displayed = drawn.window->last;
        }
        page.plot_scale = drawn.scale;
        return;
    }
    SpectrumPlotPage plot;
    plot.file_exists = file_exists(page.input_file);
    plot.log_scale = page.log_scale;
    plot.zoom_index = page.zoom_index;
    plot.scroll_position = page.scroll_position;
    const SpectrumPlotResult drawn = DRAW_SPECTRUM(canvas, store, plot, setup);
    page.first_displayed = drawn.first_label;
    page.last_displayed = drawn.last_label;
    page.plot_scale = drawn.scale;
}

void draw_converter_plot(Canvas& canvas, spectra::SpectrumStore& store, converter::Converter& converter,
                         const print::PageSetup& setup) {
    converter::ConverterPageState& page = converter.page;
    SpectrumPlotPage plot;
    plot.file_exists = file_exists(converter.state.file);
    plot.log_scale = page.log_scale;
    plot.zoom_index = page.zoom_index;
    plot.scroll_position = page.scroll_position;
    plot.converter = true;
    plot.trim = converter.state.trim;
    plot.trim_first = converter.state.first;
    plot.trim_channels = page.channels_in_spectrum;
    const SpectrumPlotResult drawn = DRAW_SPECTRUM(canvas, store, plot, setup);
    page.first_displayed = drawn.first_label;
    page.last_displayed = drawn.last_label;
    page.plot_scale = drawn.scale;
    if (drawn.peak_channel) {
        page.peak_channel = std::to_string(*drawn.peak_channel);
    }
}

}  // namespace vorelbox::display
