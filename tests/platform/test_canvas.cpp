// The plots' canvases on Qt: the plot area and the EMF, PNG, SVG and PDF pictures.

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QPalette>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "emf_canvas.h"
#include "fakes/faulty_file_ops.h"
#include "fonts.h"
#include "plot_area.h"

#include <uemf.h>

using namespace vorelbox;

namespace {

// A red line across at y = 100, a black frame, a text reading upward and a
// polyline whose part outside the frame is clipped away.
void sample_drawing(display::Canvas& canvas) {
    canvas.fill_white();
    canvas.set_pen({3, 0xFF0000});
    canvas.draw_line(100, 100, 900, 100);
    canvas.set_pen({1, 0x000000});
    canvas.draw_rectangle({200, 200, 800, 600});
    print::SELECTFONT(canvas, 10, "N", "DejaVu Sans", 90);
    canvas.draw_text(50, 500, "Counts");
    canvas.set_clip(print::Rect{200, 200, 800, 600});
    const std::vector<display::Point> points = {{100, 400}, {500, 300}, {700, 500}, {1000, 400}};
    canvas.polyline(points);
    canvas.set_clip(std::nullopt);
}

QByteArray read_all(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::uint32_t u32(const QByteArray& bytes, qsizetype at) {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.constData() + at, sizeof value);
    return value;
}

// The EMF records' types, in order; nothing when a record runs past the end.
std::optional<std::vector<std::uint32_t>> record_types(const QByteArray& emf) {
    std::vector<std::uint32_t> types;
    for (qsizetype at = 0; at < emf.size();) {
        if (at + 8 > emf.size() || u32(emf, at + 4) < 8 || at + u32(emf, at + 4) > emf.size()) {
            return std::nullopt;
        }
        types.push_back(u32(emf, at));
        at += u32(emf, at + 4);
    }
    return types;
}

}  // namespace

class TestCanvas : public QObject {
    Q_OBJECT

  private slots:
    void emfPicture() {
        QTemporaryDir dir;
        const QString path = dir.filePath("plot 1 and 2.emf");
        QVERIFY(platform::save_picture(sample_drawing, path.toStdString(), "Vorelix", "plot"));
        const QByteArray emf = read_all(path);
        QVERIFY(emf.size() > 500);
        QCOMPARE(u32(emf, 0), 1u);                     // the header record
        QCOMPARE(emf.mid(40, 4), QByteArray(" EMF"));  // its signature
        QCOMPARE(u32(emf, 48), static_cast<std::uint32_t>(emf.size()));
        // The description: program, NUL, title, NUL, NUL.
        const std::uint32_t characters = u32(emf, 60);
        const QString description = QString::fromUtf16(
            reinterpret_cast<const char16_t*>(emf.constData() + u32(emf, 64)), characters);
        QCOMPARE(description, QString::fromUtf16(u"Vorelix\0plot\0\0", 14));
        // 1024 x 768 units: the bounds are inclusive.
        QCOMPARE(u32(emf, 16), 1023u);
        QCOMPARE(u32(emf, 20), 767u);
        // The frame (0.01 mm) covers the whole canvas at the screen's pixel size, so
        // that nothing at the bottom or the right is cut off.
        {
            platform::EmfCanvas canvas("Vorelix", "plot", {1024, 768, 271, 203});
            sample_drawing(canvas);
            const auto finished = canvas.finish();
            QVERIFY(finished.has_value());
            const QByteArray bytes(finished->data(), static_cast<qsizetype>(finished->size()));
            QCOMPARE(u32(bytes, 32), static_cast<std::uint32_t>(std::lround(100.0 * 271 / 1024 * 1024)));
            QCOMPARE(u32(bytes, 36), static_cast<std::uint32_t>(std::lround(100.0 * 203 / 768 * 768)));
        }

        const auto types = record_types(emf);
        QVERIFY(types.has_value());
        QCOMPARE(types->back(), static_cast<std::uint32_t>(U_EMR_EOF));
        for (const std::uint32_t type :
             {U_EMR_POLYLINE16, U_EMR_EXTTEXTOUTW, U_EMR_LINETO, U_EMR_RECTANGLE, U_EMR_SAVEDC,
              U_EMR_INTERSECTCLIPRECT, U_EMR_RESTOREDC}) {
            QVERIFY2(std::find(types->begin(), types->end(), type) != types->end(),
                     qPrintable(QString::number(type)));
        }
        // The font reads upward: escapement and orientation 900.
        qsizetype at = 0;
        bool upward = false;
        while (at < emf.size()) {
            if (u32(emf, at) == U_EMR_EXTCREATEFONTINDIRECTW) {
                upward = u32(emf, at + 20) == 900 && u32(emf, at + 24) == 900;
            }
            at += u32(emf, at + 4);
        }
        QVERIFY(upward);
    }

    void pngPicture() {
        QTemporaryDir dir;
        const QString path = dir.filePath("plot.PNG");
        QVERIFY(platform::save_picture(sample_drawing, path.toStdString(), "Vorelix", "plot"));
        const QImage image(path);
        QCOMPARE(image.size(), QSize(1024, 768));
        QCOMPARE(image.pixelColor(500, 100), QColor(Qt::red));
        QCOMPARE(image.pixelColor(500, 150), QColor(Qt::white));
        QCOMPARE(image.pixelColor(500, 200), QColor(Qt::black));  // the frame
        // The polyline starts left of the clip: nothing of it shows there.
        QCOMPARE(image.pixelColor(150, 388), QColor(Qt::white));
        // The upward text lies in a narrow, tall box at the left.
        int dark = 0;
        for (int y = 400; y <= 500; ++y) {
            for (int x = 50; x < 70; ++x) {
                dark += image.pixelColor(x, y).lightness() < 128 ? 1 : 0;
            }
        }
        QVERIFY(dark > 30);
    }

    void svgAndPdfPictures() {
        QTemporaryDir dir;
        const QString svg_path = dir.filePath("plot.svg");
        QVERIFY(platform::save_picture(sample_drawing, svg_path.toStdString(), "Vorelix", "plot"));
        const QByteArray svg = read_all(svg_path);
        QVERIFY(svg.contains("<polyline") || svg.contains("<path"));
        // The SVG generator ignores the painter's clip: the polyline is cut at the
        // frame by the canvas, from its crossing of x = 200 to that of x = 799.
        QVERIFY2(svg.contains("points=\"200,375 500,300 700,500 799,467 \""), svg.constData());

        const QString pdf_path = dir.filePath("plot.pdf");
        QVERIFY(platform::save_picture(sample_drawing, pdf_path.toStdString(), "Vorelix", "plot"));
        QVERIFY(read_all(pdf_path).startsWith("%PDF"));
    }

    void unwritablePathsLeaveNoFile() {
        QTemporaryDir dir;
        for (const char* name : {"missing/plot.emf", "missing/plot.png", "missing/plot.svg",
                                 "missing/plot.pdf", "plot.bmp"}) {
            const QString path = dir.filePath(name);
            QVERIFY2(!platform::save_picture(sample_drawing, path.toStdString(), "Vorelix", "plot"),
                     name);
            QVERIFY(!QFile::exists(path));
        }
        // A folder of that name stays as it was.
        QVERIFY(QDir(dir.path()).mkdir("taken.emf"));
        const auto taken = platform::save_picture(sample_drawing, dir.filePath("taken.emf").toStdString(), "Vorelix", "plot");
        QCOMPARE(taken.problem, common::SaveProblem::Folder);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"taken.emf"});
    }

    // Pictures are saved as every file is: a failed write, flush or rename keeps
    // the old picture and leaves no temporary file.
    void failedSavesKeepTheOldPicture() {
        QTemporaryDir dir;
        for (const char* name : {"plot.emf", "plot.png", "plot.svg", "plot.pdf"}) {
            const QString path = dir.filePath(name);
            {
                QFile old(path);
                QVERIFY(old.open(QIODevice::WriteOnly));
                old.write("old picture");
            }
            for (int fault = 0; fault < 4; ++fault) {
                fakes::FaultyFileOps ops;
                ops.fail_write = fault == 0 ? 1 : 0;
                ops.disk_space = fault == 1 ? std::optional<std::size_t>(10) : std::nullopt;
                ops.fail_sync = fault == 2;
                ops.fail_rename = fault == 3;
                const auto saved = platform::save_picture(sample_drawing, path.toStdString(), "Vorelix", "plot", ops);
                QVERIFY2(!saved, name);
                QCOMPARE(read_all(path), QByteArray("old picture"));
                QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 1);
            }
            QVERIFY(platform::save_picture(sample_drawing, path.toStdString(), "Vorelix", "plot"));
            QVERIFY(read_all(path).size() > 100);
            QVERIFY(QFile::remove(path));
        }
    }

    void plotAreaDrawsOnTheWidget() {
        platform::PlotArea area;
        area.resize(300, 200);
        QCOMPARE(area.objectName(), QString("plotArea"));
        double units = 0.0;
        area.draw = [&units](display::Canvas& canvas) {
            units = canvas.units_per_cm();
            canvas.set_pen({1, 0x0000FF});
            canvas.move_to(0, canvas.height() / 2);
            canvas.line_to(canvas.width(), canvas.height() / 2);
        };
        const QImage image = area.grab().toImage();
        QCOMPARE(units, 50.0);
        QCOMPARE(image.pixelColor(150, 100), QColor(Qt::blue));
        QCOMPARE(image.pixelColor(150, 50), QColor(Qt::white));
    }

    // In a window smaller than its layout the plot area gives way: it never
    // reaches over the controls below it.
    void plotGivesWayInATooSmallWindow() {
        QWidget page;
        auto* column = new QVBoxLayout(&page);
        column->setSizeConstraint(QLayout::SetNoConstraint);  // the window may be too small
        auto* area = new platform::PlotArea(&page);
        area->set_smallest_size(QSize(240, 160));
        auto* button = new QPushButton(QStringLiteral("Center peak"), &page);
        column->addWidget(area, 1);
        column->addWidget(button);
        QVERIFY(page.minimumSizeHint().height() >= 160);
        page.resize(300, 100);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QCOMPARE(page.height(), 100);
        QVERIFY2(!area->geometry().intersects(button->geometry()),
                 qPrintable(QStringLiteral("plot bottom %1, button top %2")
                                .arg(area->geometry().bottom())
                                .arg(button->geometry().top())));
    }

    // A window too small for its layout lets a control overlap the plot: the
    // drawing, clip or no clip, stays out of the control's place.
    void plotStaysOutOfTheControlsOverIt() {
        QWidget page;
        page.resize(300, 200);
        page.setAutoFillBackground(true);
        QPalette grey = page.palette();
        grey.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
        page.setPalette(grey);
        auto* label = new QLabel(QStringLiteral("4096"), &page);
        label->setGeometry(200, 150, 90, 40);
        auto* area = new platform::PlotArea(&page);
        area->setGeometry(0, 0, 300, 200);  // made after the label, over it
        area->draw = [](display::Canvas& canvas) {
            canvas.set_clip(print::Rect{0, 0, canvas.width(), canvas.height()});
            canvas.fill_rectangle({0, 0, canvas.width(), canvas.height()}, 0x0000FF);
            canvas.set_clip(std::nullopt);
            canvas.set_pen({4, 0xFF0000});
            canvas.draw_line(0, 170, 300, 170);
        };
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QCOMPARE(area->own_area(), QRegion(0, 0, 300, 200) - QRegion(200, 150, 90, 40));
        const QImage image = page.grab().toImage();
        QCOMPARE(image.pixelColor(100, 100), QColor(Qt::blue));
        QCOMPARE(image.pixelColor(100, 170), QColor(Qt::red));
        QCOMPARE(image.pixelColor(285, 185), QColor(0xC0, 0xC0, 0xC0));  // the label's empty corner
        QCOMPARE(image.pixelColor(250, 170), QColor(0xC0, 0xC0, 0xC0));  // the line stops at the label
    }
};

QTEST_MAIN(TestCanvas)
#include "test_canvas.moc"
