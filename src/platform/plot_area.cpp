#include "qt_text.h"
#include "plot_area.h"

#include <QFileInfo>
#include <QImage>
#include <QMarginsF>
#include <QPageSize>
#include <QPainter>
#include <QRegion>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

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

bool save_png(const DrawPlot& draw, QSaveFile& file) {
    QImage image(PICTURE_WIDTH, PICTURE_HEIGHT, QImage::Format_RGB32);
    image.fill(Qt::white);
    return paint_picture(image, draw) && image.save(&file, "PNG");
}

bool save_svg(const DrawPlot& draw, QSaveFile& file, const std::string& program,
              const std::string& title) {
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setSize(QSize(PICTURE_WIDTH, PICTURE_HEIGHT));
    svg.setViewBox(QRect(0, 0, PICTURE_WIDTH, PICTURE_HEIGHT));
    // The generator takes 72 dpi unless told; the picture is at the screen's 96.
    svg.setResolution(96);
    svg.setTitle(qt_text(title));
    svg.setDescription(qt_text(program));
    return paint_picture(svg, draw);
}

bool save_pdf(const DrawPlot& draw, QSaveFile& file, const std::string& program,
              const std::string& title) {
    QPdfWriter pdf(&file);
    pdf.setResolution(96);
    // 1024 × 768 units at 96 dpi, in points.
    pdf.setPageSize(QPageSize(QSize(PICTURE_WIDTH * 72 / 96, PICTURE_HEIGHT * 72 / 96), QString(),
                              QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setTitle(qt_text(title));
    pdf.setCreator(qt_text(program));
    return paint_picture(pdf, draw);
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

bool save_picture(const DrawPlot& draw, const std::string& path, const std::string& program,
                  const std::string& title) {
    const QString target = qt_text(path);
    const QString kind = QFileInfo(target).suffix().toLower();
    if (kind == "emf") {
        EmfCanvas canvas(program, title);
        draw(canvas);
        return canvas.finish(path);
    }
    if (kind != "png" && kind != "svg" && kind != "pdf") {
        return false;
    }
    // The file replaces one already there only once it is complete.
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    bool written = false;
    if (kind == "png") {
        written = save_png(draw, file);
    } else if (kind == "svg") {
        written = save_svg(draw, file, program, title);
    } else {
        written = save_pdf(draw, file, program, title);
    }
    if (!written) {
        file.cancelWriting();
    }
    return file.commit() && written;
}

}  // namespace vorelbox::platform
