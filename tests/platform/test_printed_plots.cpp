// The plots on paper and in pictures, drawn with Qt's fonts: a page at a
// printer's resolution is a QImage of 1200 dots per inch.

#include <QImage>
#include <QPainter>
#include <QtTest>

#include <cmath>
#include <vector>

#include "draw_spectrum_list.h"
#include "qt_canvas.h"

using namespace vorelbox;

namespace {

constexpr int PRINTER_DPI = 1200;

// A white page of width × height dots at 1200 dpi.
QImage printer_page(int width, int height) {
    QImage page(width, height, QImage::Format_RGB32);
    const int dots_per_metre = static_cast<int>(std::lround(PRINTER_DPI / 0.0254));
    page.setDotsPerMeterX(dots_per_metre);
    page.setDotsPerMeterY(dots_per_metre);
    page.fill(Qt::white);
    return page;
}

// The longest horizontal run of the colour in rows top..bottom - 1, and the
// number of rows that hold a run of at least `length`.
struct Runs {
    int longest = 0;
    int rows = 0;
};
Runs horizontal_runs(const QImage& image, QRgb colour, int top, int bottom, int length) {
    Runs runs;
    for (int y = top; y < bottom; ++y) {
        int run = 0;
        int row_longest = 0;
        for (int x = 0; x < image.width(); ++x) {
            run = (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF) ? run + 1 : 0;
            row_longest = std::max(row_longest, run);
        }
        runs.longest = std::max(runs.longest, row_longest);
        runs.rows += row_longest >= length ? 1 : 0;
    }
    return runs;
}

}  // namespace

class TestPrintedPlots : public QObject {
    Q_OBJECT

  private slots:
    // Six rows on paper: every legend entry with its sample line, 20 graph units
    // long and a unit thick, lies in the upper half of the plot, where the flat
    // data at the bottom cannot reach.
    void printedListPlotKeepsItsLegendAndScalesItsLines() {
        QImage page = printer_page(2400, 2000);
        adder::SpectrumList list;
        list.channels = 40;
        for (int i = 0; i < 6; ++i) {
            list.rows.push_back({"", 1, "", std::vector<double>(40, 10.0), 0.0});
        }
        print::PageSetup setup;
        setup.margins = {0.2, 0.2, 0.2, 0.2};
        const double units_per_cm = PRINTER_DPI / 2.54;
        const int u = static_cast<int>(std::trunc(0.0254 * units_per_cm));
        QCOMPARE(u, 12);
        display::Frame frame;
        {
            QPainter painter(&page);
            platform::QPainterCanvas canvas(painter, page, page.width(), page.height(), units_per_cm);
            frame = display::plot_frame(display::PlotTarget::Print, canvas, setup.margins);
            display::DRAW_SPECTRUM_LIST(canvas, display::PlotTarget::Print, list, {}, setup);
        }
        const int middle = (frame.y0 + frame.y1) / 2;
        for (int row = 1; row <= 6; ++row) {
            const Runs runs = horizontal_runs(page, display::list_row_colour(row), frame.y0, middle, 19 * u);
            QVERIFY2(runs.longest >= 19 * u && runs.longest <= 21 * u,
                     qPrintable(QStringLiteral("row %1: sample line %2 dots long").arg(row).arg(runs.longest)));
            QVERIFY2(runs.rows >= u - 2 && runs.rows <= u + 2,
                     qPrintable(QStringLiteral("row %1: sample line %2 rows thick").arg(row).arg(runs.rows)));
        }
    }
};

QTEST_MAIN(TestPrintedPlots)
#include "test_printed_plots.moc"
