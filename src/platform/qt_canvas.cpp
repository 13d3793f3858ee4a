#include "qt_canvas.h"

#include <QColor>
#include <QPaintEngine>
#include <QRect>

#include <algorithm>
#include <cmath>

namespace vorelbox::platform {
namespace {

struct Segment {
    QPoint from;
    QPoint to;
    bool from_kept;  // the start was inside the clip, not moved onto its edge
};

// Liang-Barsky: the part of the segment inside the rectangle, if any.
std::optional<Segment> clip_segment(QPoint a, QPoint b, const print::Rect& clip) {
    const double left = clip.left;
    const double right = clip.right - 1;
    const double top = clip.top;
    const double bottom = clip.bottom - 1;
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    double t0 = 0.0;
    double t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - left, right - a.x(), a.y() - top, bottom - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) {
                return std::nullopt;
            }
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
    }
    if (t0 > t1) {
        return std::nullopt;
    }
    const auto at = [&](double t) {
        return QPoint(static_cast<int>(std::lround(a.x() + t * dx)),
                      static_cast<int>(std::lround(a.y() + t * dy)));
    };
    return Segment{t0 == 0.0 ? a : at(t0), t1 == 1.0 ? b : at(t1), t0 == 0.0};
}

bool contains(const print::Rect& rect, int x, int y) {
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

}  // namespace

QPainterCanvas::QPainterCanvas(QPainter& painter, QPaintDevice& device, int width, int height,
                               double units_per_cm)
    : painter_(painter),
      surface_(painter, device),
      width_(width),
      height_(height),
      units_per_cm_(units_per_cm),
      clip_by_hand_(painter.paintEngine() != nullptr &&
                    painter.paintEngine()->type() == QPaintEngine::SVG),
      pen_(Qt::black) {}

void QPainterCanvas::draw_text(int x, int y, std::string_view text) {
    // A clip done by hand keeps the texts that start inside it.
    if (const print::Rect* clip = own_clip(); clip != nullptr && !contains(*clip, x, y)) {
        return;
    }
    surface_.draw_text(x, y, text);
}

void QPainterCanvas::set_pen(const print::Pen& pen) {
    surface_.set_pen(pen);
    pen_ = QPen(QColor(static_cast<QRgb>(pen.rgb)), std::max(0, pen.width), Qt::SolidLine,
                Qt::RoundCap, Qt::RoundJoin);
}

void QPainterCanvas::draw_line(int x1, int y1, int x2, int y2) {
    if (const print::Rect* clip = own_clip(); clip != nullptr) {
        const auto part = clip_segment(QPoint(x1, y1), QPoint(x2, y2), *clip);
        if (part) {
            surface_.draw_line(part->from.x(), part->from.y(), part->to.x(), part->to.y());
        }
        return;
    }
    surface_.draw_line(x1, y1, x2, y2);
}

void QPainterCanvas::draw_rectangle(const print::Rect& rect) {
    if (own_clip() != nullptr) {
        const display::Point outline[5] = {{rect.left, rect.top},
                                           {rect.right, rect.top},
                                           {rect.right, rect.bottom},
                                           {rect.left, rect.bottom},
                                           {rect.left, rect.top}};
        polyline(outline);
        return;
    }
    surface_.draw_rectangle(rect);
}

void QPainterCanvas::fill_rectangle(const print::Rect& rect, std::uint32_t rgb) {
    if (const print::Rect* clip = own_clip(); clip != nullptr) {
        const print::Rect part{std::max(rect.left, clip->left), std::max(rect.top, clip->top),
                               std::min(rect.right, clip->right),
                               std::min(rect.bottom, clip->bottom)};
        if (part.left < part.right && part.top < part.bottom) {
            surface_.fill_rectangle(part, rgb);
        }
        return;
    }
    surface_.fill_rectangle(rect, rgb);
}

void QPainterCanvas::set_clip(const std::optional<print::Rect>& rect) {
    clip_ = rect;
    surface_.set_clip(rect);
    if (within_ && painter_.isActive()) {
        QRegion region = *within_;
        if (rect) {
            region &= QRegion(QRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top));
        }
        // Clipping is turned on first: after it was turned off, Qt takes a region
        // equal to the one it had as no change and leaves clipping off.
        painter_.setClipping(true);
        painter_.setClipRegion(region);
    }
}

void QPainterCanvas::keep_within(const QRegion& region) {
    within_ = region;
    set_clip(clip_);
}

void QPainterCanvas::fill_white() {
    fill_rectangle({0, 0, width_, height_}, 0xFFFFFF);
}

void QPainterCanvas::move_to(int x, int y) {
    at_ = QPoint(x, y);
}

void QPainterCanvas::line_to(int x, int y) {
    draw_line(at_.x(), at_.y(), x, y);
    at_ = QPoint(x, y);
}

void QPainterCanvas::polyline(std::span<const display::Point> points) {
    if (points.size() < 2 || !painter_.isActive()) {
        return;
    }
    painter_.setPen(pen_);
    points_.clear();
    const print::Rect* clip = own_clip();
    if (clip == nullptr) {
        points_.reserve(points.size());
        for (const auto& p : points) {
            points_.emplace_back(p.x, p.y);
        }
        painter_.drawPolyline(points_.data(), static_cast<int>(points_.size()));
        return;
    }
    // Clipped by hand: every run of connected visible parts is one polyline.
    const auto flush = [this] {
        if (points_.size() >= 2) {
            painter_.drawPolyline(points_.data(), static_cast<int>(points_.size()));
        }
        points_.clear();
    };
    for (std::size_t i = 1; i < points.size(); ++i) {
        const auto part = clip_segment(QPoint(points[i - 1].x, points[i - 1].y),
                                       QPoint(points[i].x, points[i].y), *clip);
        if (!part) {
            flush();
            continue;
        }
        if (!part->from_kept || points_.empty()) {
            flush();
            points_.push_back(part->from);
        }
        points_.push_back(part->to);
    }
    flush();
}

}  // namespace vorelbox::platform
