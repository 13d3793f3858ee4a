// The Multispectrum plot drawn: axes, legend and markers on any canvas, and the
// three targets (the page, a picture file, the printer).

#include "multispectrum_paint.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>

#include "fonts.h"
#include "print_canvas.h"
#include "text_utils.h"
#include "zoom.h"

namespace vorelbox::display {
namespace {

constexpr std::size_t LEGEND_TITLE_CHARS = 80;
constexpr std::size_t DOCUMENT_NAME_CHARS = 40;

// The markers of one spectrum, gathered a column of the plot at a time: the
// rows of a column's markers are a set, so a marker where its column already
// has one adds nothing; one wholly outside the frame is left out. Where a column
// of the plot holds many channels the markers overlap: their pixels are
// gathered and drawn as vertical strokes, each pixel once. Otherwise every
// marker is drawn as its outline, column by column, top first.
class SpectrumMarkers {
  public:
    SpectrumMarkers(Canvas& canvas, const MultiFrame& frame, int shape, int unit, bool dense,
                    MarkerRaster& raster)
        : canvas_(canvas),
          frame_(frame),
          shape_(shape),
          unit_(unit),
          dense_(dense),
          raster_(raster),
          reach_(4 * unit),
          rows_(frame.top - reach_, frame.bottom + reach_ - (frame.top - reach_) + 1),
          pixels_(dense ? marker_pixels(shape, unit) : std::vector<PixelRun>{}) {}

    // False once x lies right of the frame: later channels lie further right.
    bool add(int x, int y) {
        if (x - reach_ > frame_.right) {
            return false;
        }
        if (x + reach_ < frame_.left) {
            return true;
        }
        if (x != x_) {
            flush();
            x_ = x;
        }
        rows_.add(y);
        return true;
    }

    // Draws what is gathered.
    void draw(std::vector<Stroke>& strokes) {
        flush();
        if (!dense_) {
            return;
        }
        raster_.take_strokes(strokes);
        for (const Stroke& stroke : strokes) {
            canvas_.draw_line(stroke.x, stroke.top, stroke.x, stroke.bottom);
        }
    }

  private:
    // The column at x_ is complete.
    void flush() {
        if (rows_.empty()) {
            return;
        }
        if (dense_) {
            raster_.mark_markers(pixels_, x_, rows_);
        } else {
            rows_.for_each([this](int y) { DRAW_MARKER(canvas_, shape_, x_, y, unit_); });
        }
        rows_.clear();
    }

    Canvas& canvas_;
    const MultiFrame& frame_;
    int shape_;
    int unit_;
    bool dense_;
    MarkerRaster& raster_;
    int reach_;
    RowSet rows_;  // the rows a marker can reach the frame from
    std::vector<PixelRun> pixels_;
    int x_ = INT_MIN;
};

void draw_channel_axis(Canvas& canvas, const ChannelAxis& axis, const MultiFrame& f, int u) {
    if (axis.first_is_one) {
        print::PRINT_C(canvas, f.left, f.bottom + 2 * u, "1");
    }
    for (const AxisMark& tick : axis.ticks) {
        canvas.draw_line(tick.position, f.bottom - 1, tick.position, f.bottom - 1 - tick.length);
        canvas.draw_line(tick.position, f.top, tick.position, f.top + tick.length);
        if (!tick.label.empty()) {
            print::PRINT_C(canvas, tick.position, f.bottom + 2 * u, tick.label);
        }
    }
}

// The graphics font: its size in points, its face and F·u.
struct PlotFonts {
    double points = 10.0;
    std::string face;
    int fu = 10;
};

// The count axis as drawn: linear or logarithmic.
struct CountScale {
    bool log = false;
    LinearAxis linear;
    LogAxis logarithmic;

    bool thousands() const { return !log && linear.divisor == 1000; }
};

// Ticks at both edges of the frame, from L to the right and from R − 1 to the left.
void draw_edge_ticks(Canvas& canvas, const std::vector<AxisMark>& ticks, const MultiFrame& f) {
    for (const AxisMark& tick : ticks) {
        canvas.draw_line(f.left, tick.position, f.left + tick.length, tick.position);
        canvas.draw_line(f.right - 1, tick.position, f.right - 1 - tick.length, tick.position);
    }
}

// The count axis of the page's scale. A linear axis leaves its top value as the
// log top; a logarithmic one keeps the log top where it can.
CountScale draw_count_axis(Canvas& canvas, MultispectrumState& state, const MultiFrame& f, int u,
                           const PlotFonts& fonts) {
    CountScale scale;
    scale.log = state.page.log;
    if (!scale.log) {
        const double fy =
            common::ZOOM_FACTORS[static_cast<std::size_t>(std::clamp(state.y_zoom, 0, 12))];
        scale.linear = linear_axis(state.count_maximum, fy, state.y_scroll, f, u);
        state.log_top = static_cast<double>(scale.linear.top_value);
        draw_edge_ticks(canvas, scale.linear.ticks, f);
        for (const AxisMark& tick : scale.linear.ticks) {
            if (!tick.label.empty()) {
                const int x = f.left - 2 * u - (tick.value == 0 ? 8 * u : 0);
                print::PRINT_R(canvas, x, tick.position - 8 * u, tick.label);
            }
        }
        return scale;
    }
    state.log_top = sticky_log_top(state.log_top, state.count_maximum);
    scale.logarithmic = log_axis(state.log_top, f, u);
    draw_edge_ticks(canvas, scale.logarithmic.ticks, f);
    print::SELECTRELATIVEFONT(canvas, fonts.points, "N", -2, fonts.face, 0);
    for (const LogAxis::Decade& d : scale.logarithmic.labels) {
        print::PRINT_L(canvas, f.left - fonts.fu, d.y - 4 * fonts.fu / 3,
                       std::to_string(d.exponent));
    }
    print::SELECTFONT(canvas, fonts.points, "N", fonts.face, 0);
    for (const LogAxis::Decade& d : scale.logarithmic.labels) {
        print::PRINT_R(canvas, f.left - fonts.fu - 2 * u, d.y - 2 * fonts.fu / 3, "10");
    }
    return scale;
}

std::string legend_title(const MultispectrumState& state, int spectrum) {
    const std::string& header =
        state.store.FILE_SPECTRUM_HEADERS[static_cast<std::size_t>(spectrum - 1)];
    return common::cut_chars(common::trim_right(header), LEGEND_TITLE_CHARS);
}

// Where the legend stands and how far down it reaches.
struct LegendPlace {
    int left = 0;
    int bottom = 0;
};

// The legend and the markers of every drawn spectrum, inside the frame. The
// legend keeps its place relative to the frame it was placed on (`placed_on`,
// the plot on the screen), whatever the target.
LegendPlace draw_spectra(Canvas& canvas, MultispectrumState& state, const MultiFrame& f, int u,
                         const PlotFonts& fonts, const ChannelAxis& channels, const CountScale& scale,
                         const MultiFrame* placed_on) {
    const int s = spectrum_count(state);
    int widest = 0;
    for (int i = 1; i <= s; ++i) {
        if (state.drawn[static_cast<std::size_t>(i - 1)]) {
            widest = std::max(widest, canvas.text_extent(legend_title(state, i)).width);
        }
    }
    LegendPlace legend;
    legend.left = legend_left_on(f, widest, u, state.legend_left, placed_on);
    print::PRINT_L(canvas, legend.left, f.top + 30 * u - 3 * fonts.fu / 4, "Selected spectra");

    const int nc = channel_count(state);
    const double px = channels.pixels_per_channel;
    // More than one channel to a column: the markers overlap into a band.
    const bool dense = px < 1.0;
    MarkerRaster raster(print::Rect{f.left, f.top, f.right, f.bottom});
    std::vector<Stroke> strokes;
    const std::optional<LogRows> log_rows =
        scale.log ? std::optional<LogRows>(std::in_place, scale.logarithmic, f, state.count_maximum)
                  : std::nullopt;
    int row = 0;
    for (int i = 1; i <= s; ++i) {
        const auto k = static_cast<std::size_t>(i - 1);
        if (!state.drawn[k]) {
            continue;
        }
        ++row;
        canvas.set_pen({u, spectrum_colour(i)});
        const int y = f.top + 30 * u + 20 * u * row;
        DRAW_MARKER(canvas, i, legend.left, y, 2 * u);
        print::PRINT_L(canvas, legend.left + fonts.fu, y - 3 * fonts.fu / 4, legend_title(state, i));
        legend.bottom = y + 4 * fonts.fu;

        const std::vector<double>& counts = state.store.FILE_SPECTRA[k];
        const int last = std::min({state.hi, nc, static_cast<int>(counts.size())});
        SpectrumMarkers markers(canvas, f, i, u, dense, raster);
        const auto place = [&](const auto& row) {
            for (int ch = state.lo; ch <= last; ++ch) {
                const int x = to_device(f.left + (ch - state.lo) * px);
                if (!markers.add(x, row(counts[static_cast<std::size_t>(ch - 1)]))) {
                    break;
                }
            }
        };
        if (log_rows) {
            place(*log_rows);
        } else {
            place([&](double count) { return linear_y(scale.linear, f, count); });
        }
        markers.draw(strokes);
    }
    return legend;
}

}  // namespace

void paint_multispectra(Canvas& canvas, PlotTarget target, MultispectrumState& state,
                        const print::PageSetup& setup) {
    const Frame target_frame = plot_frame(target, canvas, setup.margins);
    const DrawingArea area{target_frame.x0, target_frame.y0, target_frame.x1, target_frame.y1};
    const int u = std::max(1, graph_unit(canvas));
    const print::FontChoice font =
        print::SETDEFAULTFONT(canvas, setup.graphics_font, setup.graphics_font_size);
    const PlotFonts fonts{font.points, setup.graphics_font,
                          std::max(1, static_cast<int>(font.points)) * u};
    // Nothing of the plot leaves its area, however small the area is.
    const print::Rect whole{area.x0, area.y0, area.x1, area.y1};
    canvas.set_clip(whole);
    canvas.set_pen({u, BLACK});
    canvas.fill_white();
    // The layout and the legend's place are those of the plot on the screen; the
    // other targets only read them.
    const bool on_screen = target == PlotTarget::Show;
    const MultiplotLayout shown = state.layout;
    if (on_screen) {
        state.layout = {};
    }
    if (std::none_of(state.drawn.begin(), state.drawn.end(), [](bool drawn) { return drawn; })) {
        const int x = (area.x0 + area.x1) / 2;
        const int y = (area.y0 + area.y1) / 2;
        if (spectrum_count(state) >= 1) {
            print::PRINT_C(canvas, x, y, NO_ANALYSIS_SELECTED);
        } else {
            print::PRINT_C(canvas, x, y - 15 * u, NO_GRAPHICS_DATA);
        }
        canvas.set_clip(std::nullopt);
        return;
    }

    const MultiFrame f = multiplot_frame(area, fonts.fu / u, u);
    std::string title = "Spectra from: ";
    title += state.file_name;
    print::PRINT_C(canvas, (f.left + f.right) / 2, area.y0 + fonts.fu, title);
    canvas.draw_rectangle({f.left, f.top, f.right + 1, f.bottom + 1});
    const ChannelAxis channels = channel_axis(state.lo, state.hi, f, u);
    draw_channel_axis(canvas, channels, f, u);
    const CountScale scale = draw_count_axis(canvas, state, f, u, fonts);

    const char* caption = scale.thousands() ? "Counts (thousands)" : "Counts";
    print::SELECTFONT(canvas, fonts.points, "N", fonts.face, 90);
    const int caption_width = canvas.text_extent(caption).width;
    canvas.draw_text(area.x0 + 12 * u, (f.top + f.bottom) / 2 + caption_width / 2, caption);
    print::SELECTFONT(canvas, fonts.points, "N", fonts.face, 0);
    print::PRINT_C(canvas, (f.left + f.right) / 2, f.bottom + 2 * fonts.fu, "Channel no.");

    canvas.set_clip(print::Rect{f.left, f.top, f.right, f.bottom});
    const LegendPlace legend =
        draw_spectra(canvas, state, f, u, fonts, channels, scale, shown.drawn ? &shown.frame : nullptr);
    canvas.set_clip(std::nullopt);

    const std::vector<double>& first = state.store.FILE_SPECTRA[0];
    const auto n =
        std::min(first.size(), static_cast<std::size_t>(std::max(channel_count(state), 0)));
    if (state.drawn[0] && n > 0) {
        const auto peak =
            std::max_element(first.begin(), first.begin() + static_cast<std::ptrdiff_t>(n));
        state.peak_channel = static_cast<double>(peak - first.begin() + 1);
    }
    if (on_screen) {
        state.legend_left = legend.left;
        state.legend_bottom = legend.bottom;
        state.layout = {true, f, state.lo, state.hi};
    }
}

namespace {

bool save_multispectra(MultispectrumState& state, common::Ui& ui, const print::PageSetup& setup,
                       const PictureWriter& write_picture) {
    prepare_multispectra(state, ui);
    std::string path = common::SAVE_FILEW(ui, multiplot_picture_name(state.file_name, state.drawn),
                                          MULTI_PICTURE_TITLE, MULTI_PICTURE_FILTER);
    if (path.empty() || !write_picture) {
        return false;
    }
    // A name without an extension becomes a picture of the first kind offered.
    if (common::SPLITPATH(path).extension.empty()) {
        path += MULTI_PICTURE_EXTENSION;
    }
    const std::string title(common::trim(common::SPLITPATH(state.file_name).name));
    const common::SaveResult written = write_picture(
        path, [&](Canvas& canvas) { paint_multispectra(canvas, PlotTarget::Save, state, setup); },
        PICTURE_PROGRAM, title);
    if (!written) {
        common::WARN(ui, common::save_failure_text("Error creating the picture file " + path, written));
    }
    return static_cast<bool>(written);
}

bool print_multispectra(MultispectrumState& state, common::Ui& ui, const print::PageSetup& setup,
                        const print::ChoosePrinter& choose_printer) {
    prepare_multispectra(state, ui);
    const common::PathParts parts = common::SPLITPATH(state.file_name);
    const std::string document = common::cut_chars(parts.name + parts.extension, DOCUMENT_NAME_CHARS);
    auto context = print::STARTPRINT_DC(choose_printer, setup.margins, document);
    if (!context) {
        common::WARN(ui, NOTHING_PRINTED);
        return false;
    }
    PrintCanvas canvas(*context->device);
    paint_multispectra(canvas, PlotTarget::Print, state, setup);
    print::end_document(*context);
    return true;
}

}  // namespace

bool DRAW_MULTISPECTRA(MultispectrumState& state, common::Ui& ui, PlotTarget target,
                       const print::PageSetup& setup, const MultiplotTargets& targets) {
    switch (target) {
        case PlotTarget::Show:
            if (targets.screen == nullptr) {
                return false;
            }
            prepare_multispectra(state, ui);
            paint_multispectra(*targets.screen, PlotTarget::Show, state, setup);
            return true;
        case PlotTarget::Save:
            return save_multispectra(state, ui, setup, targets.write_picture);
        case PlotTarget::Print:
            return print_multispectra(state, ui, setup, targets.choose_printer);
    }
    return false;
}

}  // namespace vorelbox::display
