#pragma once
// Geometry of the Multispectrum plot, free of any drawing: the frame inside the
// drawing area, the ticks and labels of the channel axis and of the linear and
// logarithmic count axes, the marker outlines, the pixels of markers stacked so
// densely that they overlap, and the spectrum colours.

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"

namespace vorelbox::display {

// log10(1.1): the bottom of the logarithmic count axis, in decades.
inline constexpr double LOG_AXIS_BOTTOM = 0.041392695;

// The drawing area (x0, y0, x1, y1) of a target.
struct DrawingArea {
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
};

// The axis frame: L = x0 + 6·F·u, R = x1 − 10·u, B = y1 − 4·F·u, T = y0 + 3·F·u,
// with F the graphics font size in points and u the graph unit.
struct MultiFrame {
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
};
MultiFrame multiplot_frame(const DrawingArea& area, int font_points, int unit);

// The left edge of the legend on a frame, for titles whose widest is `widest`
// units wide. Not placed yet (`placed_left` 0, or no frame it was placed on):
// the widest title ends 20 units left of R. On the frame it was placed on it
// stays where it is. On any other frame (another target, a resized plot) it
// keeps its share of the frame's width, moved left as far as the widest title
// needs to end inside the frame, and kept 20 units right of L.
int legend_left_on(const MultiFrame& frame, int widest, int unit, int placed_left,
                   const MultiFrame* placed_on);

// The n-th step (0-based) of both axes: 5, 10, 25, 50, 100, 250, 500, 1000, ...
double axis_step(int n);

// One tick of an axis: its value, its position along the axis, its length and its label.
struct AxisMark {
    long long value = 0;
    int position = 0;  // x on the channel axis, y on the count axis
    int length = 0;
    std::string label;  // empty: no label
};

// The channel axis for channels lo..hi.
struct ChannelAxis {
    double major = 5.0;   // M
    long long minor = 1;  // m
    double pixels_per_channel = 0.0;
    bool first_is_one = false;    // lo = 1: "1" stands at the left edge for the value 0
    std::vector<AxisMark> ticks;  // drawn upward from B − 1 and downward from T
};
ChannelAxis channel_axis(int lo, int hi, const MultiFrame& frame, int unit);

// The linear count axis. A count c is drawn at y = B + trunc((c − offset)·per_count).
struct LinearAxis {
    long long top_value = 1;      // Ytop
    double per_count = 0.0;       // q, negative: counts grow upward
    double offset = 0.0;          // Y0, moved by the vertical scroll bar
    double major = 5.0;           // M
    long long minor = 1;          // m
    long long label_step = 1;     // Ls
    int divisor = 1;              // 1000 once the minor step reaches 1000
    std::vector<AxisMark> ticks;  // inside the frame; drawn at both edges
};
LinearAxis linear_axis(double count_maximum, double y_zoom, int y_scroll, const MultiFrame& frame,
                       int unit);
inline int linear_y(const LinearAxis& axis, const MultiFrame& frame, double count);

// The top of the logarithmic axis in decades: it stays where it was while the
// maximum's decades lie within 1/1.2 .. 1/1.05 of it. A held top below 0.1 starts
// it at 1.1·log10(maximum). A maximum too small for an axis (no decade above the
// axis bottom) gives one decade.
double sticky_log_top(double held_top, double count_maximum);

// The logarithmic count axis below `top` decades.
struct LogAxis {
    double top = 1.0;
    double per_decade = 0.0;      // q, negative
    std::vector<AxisMark> ticks;  // decades and their 2..9 marks, inside the frame
    struct Decade {
        int exponent = 0;
        int y = 0;
    };
    std::vector<Decade> labels;  // "10" with the exponent, for decades 0..trunc(top)
};
LogAxis log_axis(double top, const MultiFrame& frame, int unit);
// A count's height; counts of 0 and below stand at log10(0.5), small positive
// ones at log10(0.1), so no logarithm of zero or of a negative number is taken.
double log_value(double count);
int log_y(const LogAxis& axis, const MultiFrame& frame, double count);
// The height of a value already in decades.
inline int log_position(const LogAxis& axis, const MultiFrame& frame, double decades);

// A device coordinate from a real one: truncated, and kept far outside any
// drawing when it lies far outside, so that it always fits an int. A value that
// is no number (a count that is none) lies far outside too.
inline int to_device(double value) {
    constexpr double limit = 1.0e7;
    if (std::isnan(value)) {
        return static_cast<int>(-limit);
    }
    return static_cast<int>(std::trunc(std::clamp(value, -limit, limit)));
}

inline int linear_y(const LinearAxis& axis, const MultiFrame& frame, double count) {
    return frame.bottom + to_device((count - axis.offset) * axis.per_count);
}

inline int log_position(const LogAxis& axis, const MultiFrame& frame, double decades) {
    return to_device(frame.bottom + (decades - LOG_AXIS_BOTTOM) * axis.per_decade);
}

// The rows of counts on a logarithmic axis: log_position of log_value(count),
// the same to the last bit. The rows of the whole counts 0 .. largest (at most
// 65535), where almost every channel of a spectrum lies, are worked out once
// and looked up; any other count is worked out when asked for.
class LogRows {
  public:
    LogRows(const LogAxis& axis, const MultiFrame& frame, double largest);
    int operator()(double count) const {
        if (count >= 0.0 && count < static_cast<double>(whole_.size())) {
            const auto whole = static_cast<std::size_t>(count);
            if (static_cast<double>(whole) == count) {
                return whole_[whole];
            }
        }
        return log_position(axis_, frame_, log_value(count));
    }

  private:
    LogAxis axis_;  // its scale only
    MultiFrame frame_;
    std::vector<int> whole_;  // the row of each whole count
};

// The outline of marker shape n (1-based, repeating after 6) of size b at (x, y).
// The cross is two lines: points 0-1 and 2-3.
struct MarkerOutline {
    std::array<Point, 9> points{};
    int count = 0;
    bool cross = false;
};
MarkerOutline marker_outline(int n, int x, int y, int size);

// The pixels of marker n's outline at size b, as runs of rows in each column:
// column dx from the centre, rows top..bottom from the centre. The strokes are
// followed in steps of a quarter pixel, each step rounded to its pixel.
struct PixelRun {
    int dx = 0;
    int top = 0;
    int bottom = 0;
};
std::vector<PixelRun> marker_pixels(int n, int size);

// A vertical stroke from (x, top) to (x, bottom).
struct Stroke {
    int x = 0;
    int top = 0;
    int bottom = 0;
};

// A set of rows first .. first + count − 1, kept as bits (row first + j is bit
// j % 64 of word j / 64), with the span of words that hold any.
class RowSet {
  public:
    RowSet(int first, int count);
    int first() const { return first_; }
    bool empty() const { return low_ > high_; }
    // Adds a row; one outside the set's rows is left out.
    void add(int row) {
        const int j = row - first_;
        if (j < 0 || j >= count_) {
            return;
        }
        const int w = j / 64;
        words_[static_cast<std::size_t>(w)] |= std::uint64_t{1} << (j % 64);
        low_ = std::min(low_, w);
        high_ = std::max(high_, w);
    }
    // The rows in order, top first.
    template <typename Visit>
    void for_each(Visit visit) const {
        for (int w = low_; w <= high_; ++w) {
            for (std::uint64_t word = words_[static_cast<std::size_t>(w)]; word != 0;
                 word &= word - 1) {
                visit(first_ + 64 * w + std::countr_zero(word));
            }
        }
    }
    void clear();
    // Words low_word() .. high_word() hold every row; empty: low_word() > high_word().
    int low_word() const { return low_; }
    int high_word() const { return high_; }
    const std::vector<std::uint64_t>& words() const { return words_; }

  private:
    int first_ = 0;
    int count_ = 0;
    std::vector<std::uint64_t> words_;
    int low_ = 0;
    int high_ = -1;
};

// Markers so dense that they overlap, gathered as pixels inside a clip rectangle
// (columns left..right − 1, rows top..bottom − 1) and given out as the vertical
// strokes that cover every gathered pixel once.
class MarkerRaster {
  public:
    explicit MarkerRaster(const print::Rect& clip);
    // Gathers the pixels of markers whose pixels are `pixels`, centred at column
    // x on each row of `centres`; those outside the clip are dropped.
    void mark_markers(const std::vector<PixelRun>& pixels, int x, const RowSet& centres);
    // The strokes, column by column from the left, top first; nothing gathered stays.
    void take_strokes(std::vector<Stroke>& out);

  private:
    // Gathers the pixels of rows row .. row + 63 of column x whose bits are set.
    void mark_bits(int x, int row, std::uint64_t bits);

    print::Rect clip_;
    int columns_ = 0;
    int rows_ = 0;
    int words_ = 0;                    // 64-row words per column
    std::vector<std::uint64_t> bits_;  // column after column
    int first_ = 0;                    // columns marked: first_..last_
    int last_ = -1;
};

// Draws marker n with the current pen.
void DRAW_MARKER(Canvas& canvas, int n, int x, int y, int size);

// The colour of spectrum i: black, red, green, blue, magenta, olive, navy, olive, again.
std::uint32_t spectrum_colour(int spectrum);

}  // namespace vorelbox::display
