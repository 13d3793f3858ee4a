#include "draw_spectrum_list.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "fonts.h"
#include "print_device.h"
#include "text_utils.h"
#include "zoom.h"

namespace vorelbox::display {

namespace {

// The picture canvas in device units.
constexpr int PICTURE_WIDTH = 1024;
constexpr int PICTURE_HEIGHT = 768;

constexpr std::array<std::uint32_t, 9> ROW_COLOURS{0x000000, 0xFF0000, 0x008000, 0x0000FF, 0xFF00FF,
                                                   0x808000, 0x000080, 0x8000FF, 0x808080};

double count_of(const adder::ListRow& row, int channel) {
    const auto i = static_cast<std::size_t>(channel - 1);
    return i < row.counts.size() ? row.counts[i] : 0.0;
}

struct RowStats {
    double maximum = -std::numeric_limits<double>::infinity();
    double minimum = std::numeric_limits<double>::infinity();
    int peak = 1;
};

RowStats row_stats(const std::vector<double>& values) {
    RowStats stats;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i] > stats.maximum) {
            stats.maximum = values[i];
            stats.peak = static_cast<int>(i) + 1;
        }
        stats.minimum = std::min(stats.minimum, values[i]);
    }
    return stats;
}

void legend_line(Canvas& canvas, Point at, int unit, std::string_view text) {
    print::PRINT_R(canvas, at.x, at.y, text);
    canvas.draw_line(at.x + 5 * unit, at.y + 6 * unit, at.x + 25 * unit, at.y + 6 * unit);
}

}  // namespace

Frame plot_frame(PlotTarget target, const Canvas& canvas, const print::Margins& margins) {
    switch (target) {
        case PlotTarget::Save:
            return {0, 0, PICTURE_WIDTH, PICTURE_HEIGHT};
        case PlotTarget::Print: {
            const double s = canvas.units_per_cm();
            Frame f;
            f.x0 = static_cast<int>(std::trunc(s * margins.left));
            f.x1 = static_cast<int>(std::trunc(canvas.width() - s * margins.right));
            f.y0 = static_cast<int>(std::trunc(s * margins.top));
            f.y1 = f.y0 + 3 * (f.x1 - f.x0) / 4;
            return f;
        }
        case PlotTarget::Show:
            break;
    }
    return {0, 0, canvas.width(), canvas.height()};
}

std::uint32_t list_row_colour(int row) { return ROW_COLOURS[static_cast<std::size_t>((row - 1) % 8 + 1)]; }

int row_side_shift(int row, double pixels_per_channel, int unit) {
    if (pixels_per_channel <= 2.0 * unit) {
        return 0;
    }
    return (row % 2 == 0 ? (row + 1) / 2 : -((row - 1) / 2)) * unit;
}

ListWindow list_window(int first_label, int last_label, int channels, int zoom_index) {
    ListWindow window;
    const double zoom = common::ZOOM_FACTORS[static_cast<std::size_t>(std::clamp(zoom_index, 0, 12))];
    int x1 = std::max(first_label, 1);
    int x2 = last_label;
    if (x2 < x1) {
        x2 = x1 + static_cast<int>(std::trunc(std::max(channels, 100) / zoom)) - 1;
        window.scroll_page = static_cast<int>(std::trunc(channels / zoom));
    }
    x1 = std::max(1, std::min(x1, channels - 1));
    const int w = x2 - x1;
    if (x1 < 2) {
        x1 = 1;
        x2 = std::min(channels, w + 1);
    } else {
        x2 = std::min(x2, channels);
        if (x2 == channels) {
            x1 = std::max(1, channels - w);
        }
    }
    window.range = {x1, x2};
    return window;
}

Point legend_entry(int left, int sum_width, int text_height, int unit, int top, int entry) {
    const int column = (entry - 1) / 6;
    const int line = (entry - 1) % 6;
    return {left + sum_width + 20 * unit + 60 * unit * column, top + (text_height - 2 * unit) * line};
}

int legend_left(int right, int entries, int unit) { return right - ((entries / 6) * 60 + 60 + 40) * unit; }

SpectrumListPlotResult DRAW_SPECTRUM_LIST(Canvas& canvas, PlotTarget target, const adder::SpectrumList& list,
                                          const SpectrumListPlotPage& page, const print::PageSetup& setup) {
    SpectrumListPlotResult result;
    const Frame frame = plot_frame(target, canvas, setup.margins);
    const int u = std::max(1, graph_unit(canvas));
    const print::FontChoice font = print::SETDEFAULTFONT(canvas, setup.graphics_font, setup.graphics_font_size);
    // Nothing of the plot leaves its frame, however small the frame is.
    const print::Rect whole{frame.x0, frame.y0, frame.x1, frame.y1};
    canvas.set_clip(whole);
    canvas.fill_white();
    const int rows = list.row_count();
    if (rows < 1) {
        canvas.set_pen({u, BLACK});
        print::PRINT_C(canvas, (frame.x0 + frame.x1) / 2, (frame.y0 + frame.y1) / 2, NO_SPECTRUM_LIST);
        canvas.set_clip(std::nullopt);
        return result;
    }
    const int nl = std::max(list.channels, 0);
    const bool log = page.log_scale;
    const ListWindow window = list_window(page.first_label, page.last_label, nl, page.zoom_index);
    result.window = window.range;
    result.scroll_page = window.scroll_page;

    std::vector<double> sum(static_cast<std::size_t>(nl), 0.0);
    for (const adder::ListRow& row : list.rows) {
        for (int ch = 1; ch <= nl; ++ch) {
            sum[static_cast<std::size_t>(ch - 1)] += count_of(row, ch);
        }
    }
    double maximum = -std::numeric_limits<double>::infinity();
    double minimum = std::numeric_limits<double>::infinity();
    for (const adder::ListRow& row : list.rows) {
        std::vector<double> values(static_cast<std::size_t>(nl));
        for (int ch = 1; ch <= nl; ++ch) {
            values[static_cast<std::size_t>(ch - 1)] = count_of(row, ch);
        }
        const RowStats stats = row_stats(values);
        result.row_peaks.push_back(stats.peak);
        maximum = std::max(maximum, stats.maximum);
        minimum = std::min(minimum, stats.minimum);
    }
    result.centre_peak = result.row_peaks.front();
    if (page.show_sum) {
        maximum = row_stats(sum).maximum;
    }
    if (nl < 1) {
        canvas.set_clip(std::nullopt);
        return result;
    }
    result.count_maximum = maximum;
    result.count_minimum = minimum;

    const ValueRange range = log ? ValueRange{std::trunc(shown_value(minimum, true)), log_axis_top(maximum)}
                                 : ValueRange{std::trunc(minimum), std::trunc(1.1 * maximum)};
    if (!range.drawable()) {
        canvas.set_clip(std::nullopt);
        return result;
    }
    const PlotBox box = plot_box(frame.x0, frame.y0, frame.x1, frame.y1, u);
    const ChannelRange shown = window.range;
    const PlotScale scale(box, shown, range, u);
    result.scale = {shown.first, scale.pixels_per_channel(), box.left, box.right};

    canvas.set_pen({u, BLACK});
    print::SELECTRELATIVEFONT(canvas, font.points, "N", -2, setup.graphics_font, 0);
    draw_count_axis(canvas, box, scale, range.high, log);
    canvas.set_clip(print::Rect{box.left, box.top, box.right + 1, box.bottom + 1});

    const print::TextSize sum_size = canvas.text_extent(SUM_LEGEND);
    const int left = legend_left(box.right, page.show_sum ? rows : rows - 1, u);
    const auto entry = [&](int i) { return legend_entry(left, sum_size.width, sum_size.height, u, box.top, i); };
    for (int i = 1; i <= rows; ++i) {
        canvas.set_pen({u, list_row_colour(i)});
        legend_line(canvas, entry(i), u, adder::ABC_NUMBER(i));
    }

    const int enhanced = page.enhance_selected ? list.selected_row : 0;
    const auto y_of = [&](double count) { return scale.y(shown_value(count, log)); };
    for (int i = 1; i <= rows; ++i) {
        if (i == enhanced) {
            continue;
        }
        canvas.set_pen({u, list_row_colour(i)});
        const int shift = row_side_shift(i, scale.pixels_per_channel(), u);
        const adder::ListRow& row = list.rows[static_cast<std::size_t>(i - 1)];
        for (int ch = shown.first; ch <= std::min(shown.last, nl); ++ch) {
            const int x = shift + scale.x(ch);
            const int y = y_of(count_of(row, ch));
            canvas.draw_line(x, y, x, y + 2 * u);
        }
    }

    const auto joined = [&](const auto& value_of) {
        for (int ch = shown.first; ch <= shown.last; ++ch) {
            const int x = scale.x(ch);
            const int y = y_of(value_of(ch));
            if (ch == shown.first) {
                canvas.move_to(x, y);
            } else {
                canvas.line_to(x, y);
            }
        }
    };
    if (enhanced >= 1 && enhanced <= rows) {
        canvas.set_pen({2 * u, list_row_colour(enhanced)});
        const adder::ListRow& row = list.rows[static_cast<std::size_t>(enhanced - 1)];
        joined([&](int ch) { return count_of(row, ch); });
    }
    if (page.show_sum) {
        canvas.set_pen({2 * u, SUM_COLOUR});
        legend_line(canvas, entry(rows + 1), u, SUM_LEGEND);
        joined([&](int ch) { return sum[static_cast<std::size_t>(ch - 1)]; });
    }
    canvas.set_clip(std::nullopt);
    return result;
}

std::string spectrum_list_picture_name(const adder::AdderState& adder) {
    const adder::SpectrumList& list = adder.list;
    std::vector<int> numbers;
    if (list.selected_row >= 1 && list.selected_row <= list.row_count()) {
        numbers.push_back(list.selected_row);
    } else {
        for (int i = 1; i <= list.row_count(); ++i) {
            numbers.push_back(i);
        }
    }
    const common::PathParts parts =
        common::SPLITPATH(adder.page.input_file.empty() ? list.file_name : adder.page.input_file);
    std::string name = parts.drive;
    name += parts.directory;
    name += parts.name;
    std::string list_text;
    for (std::size_t k = 1; k < numbers.size(); ++k) {
        list_text += list_text.empty() ? " " : ",";
        list_text += std::to_string(numbers[k - 1]);
    }
    name += list_text;
    if (!numbers.empty()) {
        name += " and ";
        name += std::to_string(numbers.back());
    }
    name += ".emf";
    return name;
}

std::string spectrum_list_picture_title(const adder::AdderState& adder) {
    const std::string_view list_file = common::trim(adder.list.file_name);
    const std::string_view file = list_file.empty() ? std::string_view(adder.page.input_file) : list_file;
    return std::string(common::trim(common::SPLITPATH(file).name));
}

}  // namespace vorelbox::display
