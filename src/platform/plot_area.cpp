#include "qt_text.h"
#include "plot_area.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QMarginsF>
#include <QPageSize>
#include <QPainter>
#include <QRegion>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <optional>

#include "emf_canvas.h"
#include "qt_canvas.h"

namespace vorelbox::platform {
namespace {

// Draws on a painter over the device, which stands for the whole picture.
bool paint_picture(QPaintDevice& device, const DrawPlot& draw) {
    QPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    QPainterCanvas canvas(painter, device, PICTURE_WIDTH, PICTURE_HEIGHT);
    draw(canvas);
    return painter.end();
}

bool draw_png(const DrawPlot& draw, QBuffer& bytes) {
    QImage image(PICTURE_WIDTH, PICTURE_HEIGHT, QImage::Format_RGB32);
    image.fill(Qt::white);
    return paint_picture(image, draw) && image.save(&bytes, "PNG");
}

bool draw_svg(const DrawPlot& draw, QBuffer& bytes, const std::string& program, const std::string& title) {
    QSvgGenerator svg;
    svg.setOutputDevice(&bytes);
    svg.setSize(QSize(PICTURE_WIDTH, PICTURE_HEIGHT));
    svg.setViewBox(QRect(0, 0, PICTURE_WIDTH, PICTURE_HEIGHT));
    // The generator takes 72 dpi unless told; the picture is at the screen's 96.
    svg.setResolution(96);
    svg.setTitle(qt_text(title));
    svg.setDescription(qt_text(program));
    return paint_picture(svg, draw);
}

bool draw_pdf(const DrawPlot& draw, QBuffer& bytes, const std::string& program, const std::string& title) {
    QPdfWriter pdf(&bytes);
    pdf.setResolution(96);
    // 1024 × 768 units at 96 dpi, in points.
    pdf.setPageSize(QPageSize(QSize(PICTURE_WIDTH * 72 / 96, PICTURE_HEIGHT * 72 / 96), QString(),
                              QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setTitle(qt_text(title));
    pdf.setCreator(qt_text(program));
    return paint_picture(pdf, draw);
}

// The picture file's bytes for the kind ("emf", "png", "svg" or "pdf").
std::optional<std::string> picture_bytes(const DrawPlot& draw, const QString& kind, const std::string& program,
                                         const std::string& title) {
    if (kind == "emf") {
        EmfCanvas canvas(program, title);
        draw(canvas);
        return canvas.finish();
    }
    QByteArray data;
    QBuffer bytes(&data);
    bytes.open(QIODevice::WriteOnly);
    bool drawn = false;
    if (kind == "png") {
        drawn = draw_png(draw, bytes);
    } else if (kind == "svg") {
        drawn = draw_svg(draw, bytes, program, title);
    } else if (kind == "pdf") {
        drawn = draw_pdf(draw, bytes, program, title);
    }
    bytes.close();
    if (!drawn) {
        return std::nullopt;
    }
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

}  // namespace

PlotArea::PlotArea(QWidget* parent) : QWidget(parent) {
    setObjectName("plotArea");
    // Below the controls made before it too; the background is painted with the
    // drawing, inside the area's own part only.
    lower();
}

void PlotArea::set_smallest_size(const QSize& size) {
    smallest_ = size;
    updateGeometry();
}

QRegion PlotArea::own_area() const {
    QRegion area(rect());
    const QWidget* parent = parentWidget();
    if (parent == nullptr) {
        return area;
    }
    for (const QObject* object : parent->children()) {
        const auto* sibling = qobject_cast<const QWidget*>(object);
        if (sibling == nullptr || sibling == this || sibling->isWindow() || !sibling->isVisible()) {
            continue;
        }
        area -= QRegion(sibling->geometry().translated(-pos()));
    }
    return area;
}

void PlotArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRegion area = own_area();
    painter.setClipRegion(area);
    painter.fillRect(rect(), Qt::white);
    if (!draw) {
        return;
    }
    QPainterCanvas canvas(painter, *this, width(), height());
    canvas.keep_within(area);
    draw(canvas);
}

common::SaveResult save_picture(const DrawPlot& draw, const std::string& path, const std::string& program,
                                const std::string& title, common::FileOps& ops) {
    const QString kind = QFileInfo(qt_text(path)).suffix().toLower();
    if (kind != "emf" && kind != "png" && kind != "svg" && kind != "pdf") {
        return {common::SaveProblem::Content, {}};
    }
    // The picture is drawn whole first: a failed drawing leaves the old file.
    const auto bytes = picture_bytes(draw, kind, program, title);
    if (!bytes) {
        return {common::SaveProblem::Content, {}};
    }
    return common::replace_file(
        path,
        [&bytes](std::ostream& out) {
            out.write(bytes->data(), static_cast<std::streamsize>(bytes->size()));
            return static_cast<bool>(out);
        },
        ops);
}

}  // namespace vorelbox::platform
