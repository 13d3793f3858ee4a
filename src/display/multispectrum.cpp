#include "multispectrum.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "check_spectrum_file.h"
#include "fonts.h"
#include "free_format.h"
#include "load_spectrum_file.h"
#include "print_canvas.h"
#include "text_utils.h"
#include "zoom.h"

namespace vorelbox::display {
namespace {

constexpr std::size_t LEGEND_TITLE_CHARS = 80;
constexpr std::size_t DOCUMENT_NAME_CHARS = 40;

// The kinds that the file identification knows by their extension.
bool identified_by_extension(const std::string& path) {
    const std::string extension = common::LOWCASE(common::SPLITPATH(path).extension);
    return extension == ".dat" || extension == ".chn" || extension == ".spe" ||
           extension == ".lmc" || extension == ".cvc";
}

// Reads the shown file into the page's own store: the known kinds through the
// file identification, anything else as a native spectrum file.
void read_file(MultispectrumState& state, common::Ui& ui) {
    spectra::reset_store(state.store);
    ++state.data_version;
    state.stamp = file_stamp(state.file_name);
    state.file_type.clear();
    if (state.file_name.empty()) {
        return;
    }
    if (identified_by_extension(state.file_name)) {
        state.file_type =
            spectra::CHECK_SPECTRUM_FILE(state.store, state.files, ui, state.file_name).type_code;
    } else if (spectra::LOAD_SPECTRUM_FILE(state.store, ui, state.file_name).channel_count > 0) {
        state.file_type = spectra::TYPE_NATIVE;
    }
}

void fill_selection_lines(MultispectrumState& state) {
    state.page.selection_lines.clear();
    for (int i = 1; i <= spectrum_count(state); ++i) {
        const std::string& title =
            state.store.FILE_SPECTRUM_HEADERS[static_cast<std::size_t>(i - 1)];
        state.page.selection_lines.push_back(selection_line(i, title));
    }
}

int drawn_count(const MultispectrumState& state) {
    return static_cast<int>(std::count(state.drawn.begin(), state.drawn.end(), true));
}

// What gets drawn: the user's selection once there is one, else the first six.
void set_drawn(MultispectrumState& state) {
    const int s = spectrum_count(state);
    for (int i = 1; i <= MULTI_SPECTRA; ++i) {
        const auto k = static_cast<std::size_t>(i - 1);
        state.drawn[k] =
            i <= s && (state.user_selection ? state.dialog[k] : i <= FIRST_DRAWN_SPECTRA);
    }
}

// The largest count of every flagged spectrum, and the count maximum: the
// largest of them and `start`.
void update_maxima(MultispectrumState& state, const std::array<bool, MULTI_SPECTRA>& flags,
                   double start) {
    double maximum = start;
    const int nc = channel_count(state);
    for (int i = 1; i <= spectrum_count(state); ++i) {
        const auto k = static_cast<std::size_t>(i - 1);
        if (!flags[k]) {
            continue;
        }
        const std::vector<double>& column = state.store.FILE_SPECTRA[k];
        const auto n = std::min(column.size(), static_cast<std::size_t>(std::max(nc, 0)));
        double m = 0.0;
        if (n > 0) {
            m = *std::max_element(column.begin(), column.begin() + static_cast<std::ptrdiff_t>(n));
        }
        state.maxima[k] = m;
        maximum = std::max(maximum, m);
    }
    state.count_maximum = maximum;
}

void set_channel_edits(MultispectrumState& state, int lo, int hi) {
    state.lo = lo;
    state.hi = hi;
    state.page.lower_channel = std::to_string(lo);
    state.page.upper_channel = std::to_string(hi);
}

void select_all(MultispectrumState& state) {
    state.legend_left = 0;
    state.dialog.fill(true);
    state.user_selection = true;
    set_drawn(state);
    state.page.selected = spectrum_count(state);
    state.page.out_of = spectrum_count(state);
    update_maxima(state, state.dialog, 0.0);
    state.page.selection_shown = false;
    if (state.page.selected >= 1) {
        state.redraw_request = true;
    }
}

void selection_ok(MultispectrumState& state) {
    state.legend_left = 0;
    state.dialog.fill(false);
    std::vector<int> lines = state.page.highlighted;
    std::sort(lines.begin(), lines.end());
    int chosen = 0;
    for (const int line : lines) {
        if (line < 1) {
            break;
        }
        if (line <= MULTI_SPECTRA && !state.dialog[static_cast<std::size_t>(line - 1)]) {
            state.dialog[static_cast<std::size_t>(line - 1)] = true;
            ++chosen;
        }
    }
    state.user_selection = true;
    set_drawn(state);
    state.page.selected = chosen;
    update_maxima(state, state.dialog, 0.0);
    if (chosen >= 1) {
        state.redraw_request = true;
    }
    state.page.selection_shown = false;
}

void select(MultispectrumState& state, common::Ui& ui) {
    const int s = spectrum_count(state);
    if (s < 1) {
        common::WARN(ui, "No spectrum available");
        return;
    }
    if (s == 1) {
        state.page.selected = 1;
        common::STATUS(ui, "Only one spectrum in file");
        state.legend_left = 0;
        return;
    }
    fill_selection_lines(state);
    state.page.selected = s;
    state.page.highlighted.clear();
    for (int i = 1; i <= s; ++i) {
        if (state.drawn[static_cast<std::size_t>(i - 1)]) {
            state.page.highlighted.push_back(i);
        }
    }
    state.page.selection_shown = true;
}

// The channel window typed into the edits; an unreadable edit keeps the last one.
void read_channel_edits(MultispectrumState& state) {
    const auto lower = common::parse_free_real(state.page.lower_channel);
    const auto upper = common::parse_free_real(state.page.upper_channel);
    if (lower) {
        state.lo = std::max(1, to_device(*lower));
    }
    if (upper) {
        state.hi = to_device(*upper);
    }
}

// The logarithms of spectrum k's counts (k 0-based).
const std::vector<double>& log_column(MultispectrumState& state, std::size_t k) {
    if (state.log_version != state.data_version || state.log_counts.size() != MULTI_SPECTRA) {
        state.log_counts.assign(MULTI_SPECTRA, {});
        state.log_version = state.data_version;
    }
    const std::vector<double>& counts = state.store.FILE_SPECTRA[k];
    std::vector<double>& logs = state.log_counts[k];
    if (logs.size() != counts.size()) {
        logs.resize(counts.size());
        std::transform(counts.begin(), counts.end(), logs.begin(), log_value);
    }
    return logs;
}

// The places of one spectrum's markers, a column of the plot at a time. A
// marker where its column already has one adds nothing, and one wholly outside
// the frame is left out; markers on consecutive rows of a column make a stack.
class MarkerStacks {
  public:
    MarkerStacks(const MultiFrame& frame, int unit)
        : frame_(frame),
          reach_(4 * unit),
          top_(frame.top - reach_),
          seen_(static_cast<std::size_t>(std::max(0, frame.bottom + reach_ - top_ + 1)), 0) {}

    // False once x lies right of the frame: later channels lie further right.
    bool add(int x, int y) {
        if (x - reach_ > frame_.right) {
            return false;
        }
        if (x + reach_ < frame_.left || y < top_ || y > frame_.bottom + reach_) {
            return true;
        }
        if (x != x_) {
            flush();
            x_ = x;
        }
        std::uint32_t& mark = seen_[static_cast<std::size_t>(y - top_)];
        if (mark != column_) {
            mark = column_;
            ys_.push_back(y);
        }
        return true;
    }

    // The stacks gathered: markers at x on rows top..bottom. The next add starts afresh.
    const std::vector<Stroke>& take() {
        flush();
        x_ = INT_MIN;
        return stacks_;
    }

    void clear() { stacks_.clear(); }

  private:
    void flush() {
        std::sort(ys_.begin(), ys_.end());
        for (std::size_t first = 0; first < ys_.size();) {
            std::size_t last = first;
            while (last + 1 < ys_.size() && ys_[last + 1] == ys_[last] + 1) {
                ++last;
            }
            stacks_.push_back({x_, ys_[first], ys_[last]});
            first = last + 1;
        }
        ys_.clear();
        ++column_;
    }

    const MultiFrame& frame_;
    int reach_;
    int top_;                          // the first row a marker can reach the frame from
    std::vector<std::uint32_t> seen_;  // per row: the column that has a marker there
    std::uint32_t column_ = 1;
    int x_ = INT_MIN;
    std::vector<int> ys_;
    std::vector<Stroke> stacks_;
};

// Draws the stacks of one spectrum. Where a column of the plot holds many
// channels the markers overlap: their pixels are gathered and drawn as vertical
// strokes, each pixel once. Otherwise every marker is drawn as its outline.
void draw_stacks(Canvas& canvas, const std::vector<Stroke>& stacks, int shape, int unit, bool dense,
                 MarkerRaster& raster, std::vector<Stroke>& strokes) {
    if (!dense) {
        for (const Stroke& stack : stacks) {
            for (int y = stack.top; y <= stack.bottom; ++y) {
                DRAW_MARKER(canvas, shape, stack.x, y, unit);
            }
        }
        return;
    }
    const std::vector<PixelRun> pixels = marker_pixels(shape, unit);
    for (const Stroke& stack : stacks) {
        stacked_marker_strokes(pixels, stack.x, stack.top, stack.bottom, strokes);
        for (const Stroke& stroke : strokes) {
            raster.mark(stroke);
        }
    }
    raster.take_strokes(strokes);
    for (const Stroke& stroke : strokes) {
        canvas.draw_line(stroke.x, stroke.top, stroke.x, stroke.bottom);
    }
}

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
    // The height of a count, or of its logarithm on the logarithmic axis.
    int y(const MultiFrame& f, double value) const {
        return log ? log_position(logarithmic, f, value) : linear_y(linear, f, value);
    }
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

// The legend and the markers of every drawn spectrum, inside the frame.
void draw_spectra(Canvas& canvas, MultispectrumState& state, const MultiFrame& f, int u,
                  const PlotFonts& fonts, const ChannelAxis& channels, const CountScale& scale) {
    const int s = spectrum_count(state);
    if (state.legend_left == 0) {
        int left = INT_MAX;
        for (int i = 1; i <= s; ++i) {
            if (state.drawn[static_cast<std::size_t>(i - 1)]) {
                left = std::min(
                    left, f.right - canvas.text_extent(legend_title(state, i)).width - 20 * u);
            }
        }
        state.legend_left = left;
    }
    print::PRINT_L(canvas, state.legend_left, f.top + 30 * u - 3 * fonts.fu / 4,
                   "Selected spectra");

    const int nc = channel_count(state);
    const double px = channels.pixels_per_channel;
    // More than one channel to a column: the markers overlap into a band.
    const bool dense = px < 1.0;
    MarkerStacks places(f, u);
    MarkerRaster raster(print::Rect{f.left, f.top, f.right, f.bottom});
    std::vector<Stroke> strokes;
    int row = 0;
    for (int i = 1; i <= s; ++i) {
        const auto k = static_cast<std::size_t>(i - 1);
        if (!state.drawn[k]) {
            continue;
        }
        ++row;
        canvas.set_pen({u, spectrum_colour(i)});
        const int y = f.top + 30 * u + 20 * u * row;
        DRAW_MARKER(canvas, i, state.legend_left, y, 2 * u);
        print::PRINT_L(canvas, state.legend_left + fonts.fu, y - 3 * fonts.fu / 4,
                       legend_title(state, i));
        state.legend_bottom = y + 4 * fonts.fu;

        const std::vector<double>& counts = state.store.FILE_SPECTRA[k];
        const std::vector<double>& values = scale.log ? log_column(state, k) : counts;
        const int last = std::min({state.hi, nc, static_cast<int>(counts.size())});
        places.clear();
        for (int ch = state.lo; ch <= last; ++ch) {
            const int x = to_device(f.left + (ch - state.lo) * px);
            if (!places.add(x, scale.y(f, values[static_cast<std::size_t>(ch - 1)]))) {
                break;
            }
        }
        draw_stacks(canvas, places.take(), i, u, dense, raster, strokes);
    }
}

}  // namespace

std::string selection_line(int spectrum, std::string_view title) {
    std::string line = std::to_string(spectrum);
    line.resize(std::max<std::size_t>(line.size(), 6), ' ');
    line += '\t';
    line += common::trim_right(title);
    return line;
}

std::string multiplot_picture_name(const std::string& file_name,
                                   const std::array<bool, MULTI_SPECTRA>& flags) {
    const common::PathParts parts = common::SPLITPATH(file_name);
    std::string name = parts.drive;
    name += parts.directory;
    name += parts.name;
    std::string numbers;
    int previous = 0;
    for (int i = 1; i <= MULTI_SPECTRA; ++i) {
        if (!flags[static_cast<std::size_t>(i - 1)]) {
            continue;
        }
        if (previous > 0) {
            numbers += numbers.empty() ? " " : ",";
            numbers += std::to_string(previous);
        }
        previous = i;
    }
    name += numbers;
    if (previous > 0) {
        name += " and ";
        name += std::to_string(previous);
    }
    name += ".emf";
    return name;
}

bool load_multispectrum_file(MultispectrumState& state, common::Ui& ui,
                             const std::string& file_name) {
    state.file_name = file_name;
    read_file(state, ui);
    state.page.out_of = spectrum_count(state);
    state.drawn.fill(false);
    state.dialog.fill(false);
    state.maxima.fill(0.0);
    state.user_selection = false;
    set_drawn(state);
    state.page.selected = drawn_count(state);
    state.page.select_enabled = spectrum_count(state) >= 1;
    fill_selection_lines(state);
    // The legend is placed anew for the new titles.
    state.legend_left = 0;
    if (channel_count(state) < 1) {
        common::WARN(ui, "This is not a proper spectrum file");
        return false;
    }
    if (channel_count(state) > state.store.CHANNEL_CAPACITY) {
        std::string text = "Spectrumdata limited to ";
        text += std::to_string(state.store.CHANNEL_CAPACITY);
        text += " channels";
        common::WARN(ui, text);
        state.store.CHANNEL_COUNT = state.store.CHANNEL_CAPACITY;
    }
    set_channel_edits(state, 1, channel_count(state));
    update_maxima(state, state.drawn, 10.0);
    state.redraw_request = true;
    return true;
}

void SETUPVORELBOXMULTISPECTRUM(MultispectrumState& state, common::Ui& ui, MultiCommand command) {
    switch (command) {
        case MultiCommand::FindSpectra: {
            const std::string chosen =
                common::FIND_FILEW(ui, state.file_name, MULTI_FILE_TITLE, MULTI_FILE_FILTER);
            if (chosen.empty()) {
                return;
            }
            load_multispectrum_file(state, ui, chosen);
            return;
        }
        case MultiCommand::Select:
            select(state, ui);
            return;
        case MultiCommand::SelectAll:
        case MultiCommand::SelectionAll:
            select_all(state);
            return;
        case MultiCommand::SelectionOk:
            selection_ok(state);
            return;
        case MultiCommand::SelectionCancel:
            state.page.selection_shown = false;
            return;
        case MultiCommand::Redraw:
            state.redraw_request = true;
            return;
    }
}

void enter_multispectrum_page(MultispectrumState& state, common::Ui& ui,
                              const std::string& file_name) {
    if (state.file_name.empty() && !file_name.empty()) {
        load_multispectrum_file(state, ui, file_name);
    }
    if (!state.user_selection) {
        set_drawn(state);
        state.page.selected = drawn_count(state);
    }
    state.page.out_of = spectrum_count(state);
    fill_selection_lines(state);
    state.redraw_request = true;
}

void prepare_multispectra(MultispectrumState& state, common::Ui& ui) {
    read_channel_edits(state);
    if (!state.file_name.empty() && state.stamp != file_stamp(state.file_name)) {
        read_file(state, ui);
        fill_selection_lines(state);
    }
    const int s = spectrum_count(state);
    set_drawn(state);
    update_maxima(state, state.drawn, state.count_maximum);
    MultispectrumPage& page = state.page;
    page.selected = drawn_count(state);
    page.out_of = s;
    page.select_enabled = s >= 1;
    page.vertical_shown = !page.log;
    if (page.selected < 1 && s == 0) {
        page.x_zoom = 0;
    }
}

void paint_multispectra(Canvas& canvas, PlotTarget target, MultispectrumState& state,
                        const print::PageSetup& setup) {
    const Frame target_frame = plot_frame(target, canvas, setup.margins);
    const DrawingArea area{target_frame.x0, target_frame.y0, target_frame.x1, target_frame.y1};
    const int u = std::max(1, graph_unit(canvas));
    const print::FontChoice font =
        print::SETDEFAULTFONT(canvas, setup.graphics_font, setup.graphics_font_size);
    const PlotFonts fonts{font.points, setup.graphics_font,
                          std::max(1, static_cast<int>(font.points)) * u};
    canvas.set_pen({u, BLACK});
    canvas.fill_white();
    state.layout = {};
    if (std::none_of(state.drawn.begin(), state.drawn.end(), [](bool drawn) { return drawn; })) {
        const int x = (area.x0 + area.x1) / 2;
        const int y = (area.y0 + area.y1) / 2;
        if (spectrum_count(state) >= 1) {
            print::PRINT_C(canvas, x, y, NO_ANALYSIS_SELECTED);
        } else {
            print::PRINT_C(canvas, x, y - 15, NO_GRAPHICS_DATA);
        }
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
    canvas.draw_text(area.x0 + 2 * u + 10, (f.top + f.bottom) / 2 + caption_width / 2, caption);
    print::SELECTFONT(canvas, fonts.points, "N", fonts.face, 0);
    print::PRINT_C(canvas, (f.left + f.right) / 2, f.bottom + 2 * fonts.fu, "Channel no.");

    canvas.set_clip(print::Rect{f.left, f.top, f.right, f.bottom});
    draw_spectra(canvas, state, f, u, fonts, channels, scale);
    canvas.set_clip(std::nullopt);

    const std::vector<double>& first = state.store.FILE_SPECTRA[0];
    const auto n =
        std::min(first.size(), static_cast<std::size_t>(std::max(channel_count(state), 0)));
    if (state.drawn[0] && n > 0) {
        const auto peak =
            std::max_element(first.begin(), first.begin() + static_cast<std::ptrdiff_t>(n));
        state.peak_channel = static_cast<double>(peak - first.begin() + 1);
    }
    state.layout = {true, f, state.lo, state.hi};
}

bool DRAW_MULTISPECTRA(MultispectrumState& state, common::Ui& ui, std::string_view target,
                       const print::PageSetup& setup, const MultiplotTargets& targets) {
    if (target == "show") {
        if (targets.screen == nullptr) {
            return false;
        }
        prepare_multispectra(state, ui);
        paint_multispectra(*targets.screen, PlotTarget::Show, state, setup);
        return true;
    }
    if (target == "save") {
        prepare_multispectra(state, ui);
        std::string path =
            common::SAVE_FILEW(ui, multiplot_picture_name(state.file_name, state.drawn),
                               MULTI_PICTURE_TITLE, MULTI_PICTURE_FILTER);
        if (path.empty() || !targets.write_picture) {
            return false;
        }
        // A name without an extension becomes a picture of the first kind offered.
        if (common::SPLITPATH(path).extension.empty()) {
            path += MULTI_PICTURE_EXTENSION;
        }
        const std::string title(common::trim(common::SPLITPATH(state.file_name).name));
        const bool written = targets.write_picture(
            path,
            [&](Canvas& canvas) { paint_multispectra(canvas, PlotTarget::Save, state, setup); },
            PICTURE_PROGRAM, title);
        if (!written) {
            common::WARN(ui, "Error creating the picture file " + path);
        }
        return written;
    }
    if (target == "print") {
        prepare_multispectra(state, ui);
        const common::PathParts parts = common::SPLITPATH(state.file_name);
        const std::string document =
            common::cut_chars(parts.name + parts.extension, DOCUMENT_NAME_CHARS);
        auto context = print::STARTPRINT_DC(targets.choose_printer, setup.margins, document);
        if (!context) {
            common::WARN(ui, NOTHING_PRINTED);
            return false;
        }
        PrintCanvas canvas(*context->device);
        paint_multispectra(canvas, PlotTarget::Print, state, setup);
        print::end_document(*context);
        return true;
    }
    common::WARN(ui, NOT_YET_PROGRAMMED);
    return false;
}

void multispectrum_mouse(MultispectrumState& state, PlotMouse message, int x, int y, int notches,
                         bool redraw_pending) {
    PlotDrag& drag = state.drag;
    if (!state.layout.drawn) {
        drag = {};
        return;
    }
    switch (message) {
        case PlotMouse::Press:
            if (over_legend(state, x, y) || state.page.x_zoom > 1) {
                drag.active = true;
                drag.legend = over_legend(state, x, y);
                drag.x0 = x;
                return;
            }
            break;
        case PlotMouse::Move:
            if (!drag.active) {
                break;
            }
            if (!redraw_pending && x != drag.x0) {
                if (drag.legend) {
                    move_legend(state, x - drag.x0);
                } else {
                    drag_window(state, drag.c0, x);
                }
                drag.x0 = x;
            }
            return;
        case PlotMouse::Release:
            drag.active = false;
            return;
        case PlotMouse::Wheel:
            wheel_zoom(state, notches, x);
            return;
    }
    drag.c0 = channel_under(state, x);
}

bool over_legend(const MultispectrumState& state, int x, int y) {
    const MultiFrame& f = state.layout.frame;
    return state.layout.drawn && x >= state.legend_left && x <= f.right && y >= f.top + 30 &&
           y <= state.legend_bottom;
}

void move_legend(MultispectrumState& state, int dx) {
    const MultiFrame& f = state.layout.frame;
    state.legend_left = std::max(f.left + 20, std::min(f.right - 100, state.legend_left + dx));
    state.redraw_request = true;
}

int channel_under(const MultispectrumState& state, int x) {
    const MultiplotLayout& l = state.layout;
    const int width = l.frame.right - l.frame.left;
    if (width <= 0) {
        return l.lo;
    }
    return static_cast<int>(static_cast<long long>(x - l.frame.left) * (l.hi - l.lo) / width) +
           l.lo;
}

void drag_window(MultispectrumState& state, int c0, int x) {
    const MultiplotLayout& l = state.layout;
    const int width = l.frame.right - l.frame.left;
    if (state.page.x_zoom <= 1 || width <= 0) {
        return;
    }
    const int w = l.hi - l.lo;
    const int lower =
        std::max(1, c0 - static_cast<int>(static_cast<long long>(w) * (x - l.frame.left) / width));
    set_channel_edits(state, lower, std::min(channel_count(state), lower + w));
    state.page.x_scroll = lower;
    state.redraw_request = true;
}

void wheel_zoom(MultispectrumState& state, int notches, int x) {
    const MultiplotLayout& l = state.layout;
    const int n = channel_count(state);
    const int level = std::clamp(state.page.x_zoom - notches, 0, 12);
    state.page.x_zoom = level;
    state.page.peak_enabled = level > 1;
    const double factor = common::ZOOM_FACTORS[static_cast<std::size_t>(level)];
    const int w = level == 0 ? n : static_cast<int>(n / factor);
    state.window = w;
    const int width = l.frame.right - l.frame.left;
    const double share =
        width > 0 ? std::clamp(static_cast<double>(x - l.frame.left) / width, 0.0, 1.0) : 0.0;
    int lo = std::max(1, channel_under(state, x) - static_cast<int>(w * share));
    int hi = lo + w - 1;
    if (hi > n) {
        hi = n;
        lo = std::max(1, n - w + 1);
    }
    set_channel_edits(state, lo, hi);
    state.page.x_scroll = lo;
    state.page.x_scroll_maximum = std::max(1, n);
    state.page.x_scroll_page = std::max(1, w);
    state.redraw_request = true;
}

}  // namespace vorelbox::display
