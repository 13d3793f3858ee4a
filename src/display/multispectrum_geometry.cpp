#include "multispectrum_geometry.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "count_log.h"

namespace vorelbox::display {
namespace {

// The steps multiply in turn by 2, 2.5 and 2: 5, 10, 25, 50, 100, 250, ...
constexpr std::array<double, 3> STEP_FACTORS{2.0, 2.5, 2.0};

long long truncated(double value) {
    return static_cast<long long>(std::trunc(value));
}

std::string number_text(long long value) {
    return std::to_string(value);
}

}  // namespace

MultiFrame multiplot_frame(const DrawingArea& area, int font_points, int unit) {
    return {area.x0 + 6 * font_points * unit, area.x1 - 10 * unit, area.y0 + 3 * font_points * unit,
            area.y1 - 4 * font_points * unit};
}

int legend_left_on(const MultiFrame& frame, int widest, int unit, int placed_left,
                   const MultiFrame* placed_on) {
    const int fitting = frame.right - widest - 20 * unit;
    if (placed_left == 0 || placed_on == nullptr || placed_on->right <= placed_on->left) {
        return fitting;
    }
    const MultiFrame& old = *placed_on;
    if (old.left == frame.left && old.right == frame.right) {
        return placed_left;
    }
    const long long share = static_cast<long long>(placed_left - old.left) * (frame.right - frame.left);
    const int left = frame.left + static_cast<int>(share / (old.right - old.left));
    return std::max(frame.left + 20 * unit, std::min(left, fitting));
}

double axis_step(int n) {
    double step = 5.0;
    for (int i = 0; i < n; ++i) {
        step *= STEP_FACTORS[static_cast<std::size_t>(i % 3)];
    }
    return step;
}

ChannelAxis channel_axis(int lo, int hi, const MultiFrame& frame, int unit) {
    ChannelAxis axis;
    const long long d = std::max(1LL, static_cast<long long>(hi) - lo);
    axis.pixels_per_channel =
        static_cast<double>(frame.right - frame.left) / static_cast<double>(d);
    int n = 0;
    while (truncated(static_cast<double>(d) / axis_step(n)) > 10) {
        ++n;
    }
    axis.major = axis_step(n);
    axis.minor = std::max(1LL, truncated(axis.major / 5.0));
    const bool label_all = truncated(static_cast<double>(d) / axis.major) < 3;
    const auto major = truncated(axis.major);
    axis.first_is_one = lo == 1;
    // Values below lo are skipped, so the count starts at the last multiple below it.
    const long long start = lo > 0 ? (lo / axis.minor) * axis.minor : 0;
    for (long long v = start; v <= hi; v += axis.minor) {
        if (v < lo) {
            continue;
        }
        const double x = frame.left + static_cast<double>(v - lo) * axis.pixels_per_channel;
        if (x >= frame.right) {
            break;
        }
        const bool labelled = label_all || v % major == 0;
        axis.ticks.push_back({v, to_device(x), (labelled ? 8 : 4) * unit,
                              labelled ? number_text(v) : std::string()});
    }
    return axis;
}

LinearAxis linear_axis(double count_maximum, double y_zoom, int y_scroll, const MultiFrame& frame,
                       int unit) {
    LinearAxis axis;
    const double fy = std::max(1.0, y_zoom);
    // An axis needs a top of at least one count: empty spectra must not divide by zero.
    // Counts above 10^15 (no real count comes near) are drawn on an axis of 10^15,
    // so that the tick arithmetic below stays within a long long.
    constexpr double largest_top = 1e15;
    axis.top_value =
        std::max(1LL, truncated((0.1 / fy + 1.0) * std::clamp(count_maximum, 0.0, largest_top)));
    const auto top = static_cast<double>(axis.top_value);
    axis.per_count = (frame.top - frame.bottom) * fy / top;
    axis.offset = y_scroll * top / 1000.0;
    int n = 0;
    while (truncated(top / axis_step(n) / fy) >= 7) {
        ++n;
    }
    axis.major = axis_step(n);
    axis.minor = std::max(1LL, truncated(axis.major / 5.0));
    axis.label_step = truncated(top / axis.major / fy) < 3 ? 1 : truncated(axis.major);
    axis.divisor = axis.minor >= 1000 ? 1000 : 1;
    const long long count =
        (axis.minor + truncated(2.0 * static_cast<double>(axis.label_step) + top)) / axis.minor;
    const auto add = [&](long long value) {
        const int y =
            frame.bottom + to_device((static_cast<double>(value) - axis.offset) * axis.per_count);
        if (y <= frame.top || y > frame.bottom) {
            return;
        }
        const bool labelled = value % axis.label_step == 0;
        const int length = (value == 0 ? 30 : (labelled ? 10 : 5)) * unit;
        axis.ticks.push_back(
            {value, y, length, labelled ? number_text(value / axis.divisor) : std::string()});
    };
    for (long long j = 0; j < count; ++j) {
        add(j * axis.minor);
        if (j > 0) {
            add(-j * axis.minor);
        }
    }
    return axis;
}

double sticky_log_top(double held_top, double count_maximum) {
    const double lg = count_maximum > 0.0 ? std::log10(count_maximum) : 0.0;
    double top = held_top < 0.1 ? 1.1 * lg : held_top;
    top = std::min(top, 1.2 * lg);
    top = std::max(top, 1.05 * lg);
    // Less than a few hundredths of a decade above the bottom leaves no axis.
    return top - LOG_AXIS_BOTTOM < 0.05 ? 1.0 : top;
}

LogAxis log_axis(double top, const MultiFrame& frame, int unit) {
    LogAxis axis;
    axis.top = top - LOG_AXIS_BOTTOM < 0.05 ? 1.0 : top;
    axis.per_decade = (frame.top - frame.bottom) / (axis.top - LOG_AXIS_BOTTOM);
    const auto inside = [&](int y) { return frame.top < y && y < frame.bottom; };
    const int last = static_cast<int>(std::trunc(axis.top));
    for (int e = -1; e <= last + 1; ++e) {
        for (int k = 2; k <= 9; ++k) {
            const int y =
                to_device(frame.bottom + (e - LOG_AXIS_BOTTOM + std::log10(k)) * axis.per_decade);
            if (inside(y)) {
                axis.ticks.push_back({k, y, (k == 5 ? 7 : 5) * unit, {}});
            }
        }
        const int y = to_device(frame.bottom + (e - LOG_AXIS_BOTTOM) * axis.per_decade);
        if (inside(y)) {
            axis.ticks.push_back({1, y, 10 * unit, {}});
        }
        if (e >= 0 && e <= last) {
            axis.labels.push_back({e, y});
        }
    }
    return axis;
}

double log_value(double count) {
    if (count <= 0.0) {
        return common::count_log10(0.5);
    }
    return common::count_log10(std::max(count, 0.1));
}

int log_y(const LogAxis& axis, const MultiFrame& frame, double count) {
    return log_position(axis, frame, log_value(count));
}

LogRows::LogRows(const LogAxis& axis, const MultiFrame& frame, double largest) : frame_(frame) {
    axis_.top = axis.top;
    axis_.per_decade = axis.per_decade;
    constexpr double most = 65536.0;
    const double size = largest >= 0.0 ? std::min(std::floor(largest) + 1.0, most) : 1.0;
    whole_.resize(static_cast<std::size_t>(size));
    const auto row = [this](std::size_t count) {
        return log_position(axis_, frame_, log_value(static_cast<double>(count)));
    };
    // The rows move one way as the counts grow (the logarithms of whole counts
    // rise strictly), so the counts of a row are one run: its end is found by
    // doubling steps, then by halving the step that went past it.
    const std::size_t n = whole_.size();
    for (std::size_t first = 0; first < n;) {
        const int r = row(first);
        std::size_t on = first;  // the last count known on row r
        std::size_t step = 1;
        while (on + step < n && row(on + step) == r) {
            on += step;
            step *= 2;
        }
        std::size_t off = std::min(on + step, n);  // the first count known off it, or n
        while (off - on > 1) {
            const std::size_t middle = on + (off - on) / 2;
            (row(middle) == r ? on : off) = middle;
        }
        std::fill(whole_.begin() + static_cast<std::ptrdiff_t>(first),
                  whole_.begin() + static_cast<std::ptrdiff_t>(on + 1), r);
        first = on + 1;
    }
}

MarkerOutline marker_outline(int n, int x, int y, int b) {
    MarkerOutline m;
    const auto set = [&m](std::initializer_list<Point> points, bool closed) {
        for (const Point& p : points) {
            m.points[static_cast<std::size_t>(m.count++)] = p;
        }
        if (closed) {
            m.points[static_cast<std::size_t>(m.count++)] = *points.begin();
        }
    };
    switch (((n - 1) % 6 + 6) % 6) {
        case 0:  // triangle up
            set({{x, y - 3 * b}, {x - 2 * b, y + b}, {x + 2 * b, y + b}}, true);
            break;
        case 1:  // square
            set({{x - 2 * b, y - 2 * b},
                 {x - 2 * b, y + 2 * b},
                 {x + 2 * b, y + 2 * b},
                 {x + 2 * b, y - 2 * b}},
                true);
            break;
        case 2:  // octagon
            set({{x, y - 3 * b},
                 {x - 2 * b, y - 2 * b},
                 {x - 3 * b, y},
                 {x - 2 * b, y + 2 * b},
                 {x, y + 3 * b},
                 {x + 2 * b, y + 2 * b},
                 {x + 3 * b, y},
                 {x + 2 * b, y - 2 * b}},
                true);
            break;
        case 3:  // diamond
            set({{x, y - 3 * b}, {x - 3 * b, y}, {x, y + 3 * b}, {x + 3 * b, y}}, true);
            break;
        case 4:  // triangle down
            set({{x, y + 3 * b}, {x - 2 * b, y - b}, {x + 2 * b, y - b}}, true);
            break;
        default:  // cross
            set({{x - 3 * b + 1, y - 3 * b + 1},
                 {x + 3 * b, y + 3 * b},
                 {x + 3 * b - 1, y - 3 * b + 1},
                 {x - 3 * b, y + 3 * b}},
                false);
            m.cross = true;
            break;
    }
    return m;
}

std::vector<PixelRun> marker_pixels(int n, int b) {
    const MarkerOutline m = marker_outline(n, 0, 0, b);
    const int reach = 3 * b;
    const int side = 2 * reach + 1;
    std::vector<bool> covered(static_cast<std::size_t>(side * side), false);
    const auto stroke = [&](Point a, Point z) {
        const int steps = 4 * (std::abs(z.x - a.x) + std::abs(z.y - a.y));
        for (int t = 0; t <= steps; ++t) {
            const double share = steps == 0 ? 0.0 : static_cast<double>(t) / steps;
            const auto cx = std::lround(a.x + (z.x - a.x) * share) + reach;
            const auto cy = std::lround(a.y + (z.y - a.y) * share) + reach;
            covered[static_cast<std::size_t>(cx * side + cy)] = true;
        }
    };
    for (int i = 0; i + 1 < m.count; i += m.cross ? 2 : 1) {
        stroke(m.points[static_cast<std::size_t>(i)], m.points[static_cast<std::size_t>(i + 1)]);
    }
    std::vector<PixelRun> runs;
    for (int cx = 0; cx < side; ++cx) {
        for (int cy = 0; cy < side; ++cy) {
            if (!covered[static_cast<std::size_t>(cx * side + cy)]) {
                continue;
            }
            if (!runs.empty() && runs.back().dx == cx - reach &&
                runs.back().bottom == cy - reach - 1) {
                runs.back().bottom = cy - reach;
            } else {
                runs.push_back({cx - reach, cy - reach, cy - reach});
            }
        }
    }
    return runs;
}

RowSet::RowSet(int first, int count)
    : first_(first),
      count_(std::max(0, count)),
      words_(static_cast<std::size_t>((count_ + 63) / 64), 0),
      low_(static_cast<int>(words_.size())) {}

void RowSet::clear() {
    for (int w = low_; w <= high_; ++w) {
        words_[static_cast<std::size_t>(w)] = 0;
    }
    low_ = static_cast<int>(words_.size());
    high_ = -1;
}

namespace {

// 64 bits of words[0 .. count − 1] from bit `from` (at least 0) on: bit i of the
// result is bit from + i; bits past the words read as 0.
std::uint64_t bits_from(const std::uint64_t* words, int count, int from) {
    const int w = from / 64;
    const int shift = from % 64;
    const std::uint64_t low = w < count ? words[w] : 0;
    if (shift == 0) {
        return low;
    }
    const std::uint64_t high = w + 1 < count ? words[w + 1] : 0;
    return (low >> shift) | (high << (64 - shift));
}

// Bit i of the result is set where any of bits i − height + 1 .. i of `bits` is,
// for 1 <= height <= 64; bits pushed past bit 63 are lost.
std::uint64_t swept_down(std::uint64_t bits, int height) {
    int reach = 1;
    for (; 2 * reach <= height; reach *= 2) {
        bits |= bits << reach;
    }
    return height > reach ? bits | (bits << (height - reach)) : bits;
}

// The longest piece a marker's run of rows is cut into before it is swept.
constexpr int MAX_SWEPT_ROWS = 32;

}  // namespace

MarkerRaster::MarkerRaster(const print::Rect& clip)
    : clip_(clip),
      columns_(std::max(0, clip.right - clip.left)),
      rows_(std::max(0, clip.bottom - clip.top)),
      words_((rows_ + 63) / 64),
      bits_(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(words_), 0) {}

void MarkerRaster::mark_markers(const std::vector<PixelRun>& pixels, int x, const RowSet& centres) {
    if (centres.empty()) {
        return;
    }
    int tallest = 1;
    for (const PixelRun& run : pixels) {
        tallest = std::max(tallest, std::min(MAX_SWEPT_ROWS, run.bottom - run.top + 1));
    }
    // The centres are taken `band` rows at a time, so that a band swept by a
    // piece of a run still fits one 64-bit word.
    const int band = 64 - (tallest - 1);
    const std::vector<std::uint64_t>& words = centres.words();
    const int count = static_cast<int>(words.size());
    const int low = 64 * centres.low_word() +
                    std::countr_zero(words[static_cast<std::size_t>(centres.low_word())]);
    const int high = 64 * centres.high_word() + 63 -
                     std::countl_zero(words[static_cast<std::size_t>(centres.high_word())]);
    for (int from = low; from <= high; from += band) {
        std::uint64_t bits = bits_from(words.data(), count, from);
        if (band < 64) {
            bits &= (std::uint64_t{1} << band) - 1;
        }
        if (bits == 0) {
            continue;
        }
        for (const PixelRun& run : pixels) {
            for (int top = run.top; top <= run.bottom; top += MAX_SWEPT_ROWS) {
                const int height = std::min(MAX_SWEPT_ROWS, run.bottom - top + 1);
                // Bit i stands for row centres.first() + from + top + i.
                mark_bits(x + run.dx, centres.first() + from + top, swept_down(bits, height));
            }
        }
    }
}

void MarkerRaster::mark_bits(int x, int row, std::uint64_t bits) {
    const int column = x - clip_.left;
    int r = row - clip_.top;
    if (column < 0 || column >= columns_ || r >= rows_ || r <= -64) {
        return;
    }
    if (r < 0) {
        bits >>= -r;
        r = 0;
    }
    std::uint64_t* words =
        &bits_[static_cast<std::size_t>(column) * static_cast<std::size_t>(words_)];
    const int w = r / 64;
    const int shift = r % 64;
    const auto put = [&](int i, std::uint64_t part) {
        if (i == words_ - 1 && rows_ % 64 != 0) {
            part &= (std::uint64_t{1} << (rows_ % 64)) - 1;
        }
        words[i] |= part;
        return part;
    };
    std::uint64_t marked = put(w, bits << shift);
    if (shift != 0 && w + 1 < words_) {
        marked |= put(w + 1, bits >> (64 - shift));
    }
    if (marked != 0) {
        first_ = last_ < first_ ? column : std::min(first_, column);
        last_ = std::max(last_, column);
    }
}

void MarkerRaster::take_strokes(std::vector<Stroke>& out) {
    out.clear();
    for (int column = first_; column <= last_; ++column) {
        std::uint64_t* words =
            &bits_[static_cast<std::size_t>(column) * static_cast<std::size_t>(words_)];
        // The next row at or after `row` whose bit is `set`; rows_ when there is none.
        const auto next = [&](int row, bool set) {
            for (int w = row / 64; w < words_; ++w) {
                std::uint64_t word = set ? words[w] : ~words[w];
                if (w == row / 64) {
                    word &= ~std::uint64_t{0} << (row % 64);
                }
                if (word != 0) {
                    return std::min(rows_, w * 64 + std::countr_zero(word));
                }
            }
            return rows_;
        };
        for (int row = next(0, true); row < rows_;) {
            const int end = next(row, false);
            out.push_back({clip_.left + column, clip_.top + row, clip_.top + end - 1});
            row = end < rows_ ? next(end, true) : rows_;
        }
        std::fill(words, words + words_, 0);
    }
    first_ = 0;
    last_ = -1;
}

void DRAW_MARKER(Canvas& canvas, int n, int x, int y, int size) {
    const MarkerOutline m = marker_outline(n, x, y, size);
    if (m.cross) {
        canvas.draw_line(m.points[0].x, m.points[0].y, m.points[1].x, m.points[1].y);
        canvas.draw_line(m.points[2].x, m.points[2].y, m.points[3].x, m.points[3].y);
        return;
    }
    canvas.polyline(std::span<const Point>(m.points.data(), static_cast<std::size_t>(m.count)));
}

std::uint32_t spectrum_colour(int spectrum) {
    constexpr std::array<std::uint32_t, 8> colours{0x000000, 0xD20000, 0x009B00, 0x0000FF,
                                                   0xFF00FF, 0x808000, 0x000080, 0x808000};
    return colours[static_cast<std::size_t>(((spectrum - 1) % 8 + 8) % 8)];
}

}  // namespace vorelbox::display
