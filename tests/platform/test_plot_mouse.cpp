// Real mouse and wheel events on the plots of the main window and on the Text
// output page, and the page state they leave.

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>

#include <cmath>
#include <fstream>
#include <string>

#include "adder_commands.h"
#include "adder_page_widget.h"
#include "app_state.h"
#include "converter_page_widget.h"
#include "main_window.h"
#include "text_output_widget.h"

using namespace vorelbox;
using platform::MainWindow;

namespace {

constexpr int CHANNELS = 1000;

// A native spectrum file: `spectra` spectra of 1000 channels, a peak at 300.
std::string write_spectra(const QTemporaryDir& dir, int spectra) {
    const std::string path = dir.filePath(QStringLiteral("run.dat")).toStdString();
    std::ofstream out(path);
    for (int k = 1; k <= spectra; ++k) {
        out << "Spectrum " << k << " of the run\n";
        for (int i = 1; i <= CHANNELS; ++i) {
            const long count = 10 + static_cast<long>(5000.0 * k * std::exp(-std::pow((i - 300) / 40.0, 2)));
            std::string number = std::to_string(count);
            out << std::string(8 - number.size(), ' ') << number << ((i % 10 == 0) ? "\n" : "");
        }
    }
    return path;
}

void wheel(QWidget* widget, QPoint at, int turn, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, turn), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

// A move with no button held, as the pointer passes over.
void hover(QWidget* widget, QPoint at) {
    QMouseEvent event(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void leave(QWidget* widget) {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(widget, &event);
}

// The x of a channel on a spectrum plot as last drawn.
int x_of(const common::ChannelScale& scale, int channel) {
    return static_cast<int>(scale.left + (channel - scale.first) * scale.pixels_per_channel + 0.5);
}

}  // namespace

class TestPlotMouse : public QObject {
    Q_OBJECT

  private slots:
    void converter_plot_reads_zooms_drags_and_trims() {
        QTemporaryDir dir;
        core::AppState state;
        MainWindow w(state);
        w.resize(1100, 800);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        state.converter.state.file = write_spectra(dir, 1);
        w.run_converter_command(converter::ConverterCommand::Reload);
        QCOMPARE(state.converter.state.channels, CHANNELS);
        QTRY_VERIFY(state.converter.page.plot_scale.pixels_per_channel > 0.0);
        QWidget* plot = w.converter_page()->plot_area();
        auto* read_out = w.converter_page()->findChild<QLabel*>(QStringLiteral("pointerChannelValue"));
        QVERIFY(read_out != nullptr);

        // The channel under the pointer, and nothing once it has left.
        const common::ChannelScale scale = state.converter.page.plot_scale;
        const QPoint over_200(x_of(scale, 200), plot->height() / 2);
        hover(plot, over_200);
        const long expected = std::lround(1 + (over_200.x() - scale.left) / scale.pixels_per_channel);
        QVERIFY(std::abs(expected - 200) <= 1);
        QCOMPARE(read_out->text(), QString::number(expected));
        leave(plot);
        QCOMPARE(read_out->text(), QString());

        // Two notches back zoom in to level 2; "Center peak" comes with it.
        auto* center = w.converter_page()->findChild<QPushButton*>(QStringLiteral("centerPeakButton"));
        QVERIFY(!center->isEnabled());
        wheel(plot, over_200, -240);
        QCOMPARE(state.converter.page.zoom_index, 2);
        QVERIFY(center->isEnabled());
        QTRY_COMPARE(state.converter.page.plot_scale.pixels_per_channel > scale.pixels_per_channel, true);

        // A drag to the left moves the window on into the spectrum.
        const int before = state.converter.page.scroll_position;
        const double px = state.converter.page.plot_scale.pixels_per_channel;
        const QPoint start(plot->width() / 2, plot->height() / 2);
        QTest::mousePress(plot, Qt::LeftButton, Qt::NoModifier, start);
        QCOMPARE(plot->cursor().shape(), Qt::ClosedHandCursor);
        QTest::mouseMove(plot, start - QPoint(100, 0));
        QCOMPARE(state.converter.page.scroll_position, before + static_cast<int>(std::lround(100 / px)));
        QTest::mouseRelease(plot, Qt::LeftButton, Qt::NoModifier, start - QPoint(100, 0));
        QCOMPARE(plot->cursor().shape(), Qt::ArrowCursor);
        QTRY_COMPARE(state.converter.page.plot_scale.first, state.converter.page.scroll_position);

        // Two Shift-clicks: red lines, and the trimming window between them.
        const common::ChannelScale now = state.converter.page.plot_scale;
        const int a = now.first + 150;
        const int b = now.first + 40;
        QTest::mouseClick(plot, Qt::LeftButton, Qt::ShiftModifier, QPoint(x_of(now, a), 100));
        QTest::mouseClick(plot, Qt::LeftButton, Qt::ShiftModifier, QPoint(x_of(now, b), 100));
        QCOMPARE(state.mouse.trim_lines.size(), std::size_t{2});
        QVERIFY(state.converter.state.trim);
        // A pixel holds several channels when fewer than one pixel falls to a
        // channel, so the click finds the channel to within that many.
        const int within = std::max(1, static_cast<int>(std::ceil(1.0 / now.pixels_per_channel)));
        const int first = state.converter.state.first;
        const int last = state.converter.state.last;
        QVERIFY2(std::abs(first - b) <= within, qPrintable(QStringLiteral("%1 for %2").arg(first).arg(b)));
        QVERIFY2(std::abs(last - a) <= within, qPrintable(QStringLiteral("%1 for %2").arg(last).arg(a)));
        QVERIFY(w.converter_page()->findChild<QCheckBox*>(QStringLiteral("trimCheck"))->isChecked());
        QCOMPARE(w.converter_page()->findChild<QSpinBox*>(QStringLiteral("firstChannelSpin"))->value(), first);
        QCOMPARE(w.converter_page()->findChild<QSpinBox*>(QStringLiteral("channelsInSpectrumSpin"))->value(),
                 last - first + 1);
        QVERIFY(w.findChild<QLabel*>(QStringLiteral("statusPart3"))->text().startsWith("Trimming starts at"));
        // The next drawing shows the window as brackets and replaces the lines.
        QTRY_VERIFY(state.mouse.trim_lines.empty());
    }

    void adder_plot_zooms_and_drags() {
        QTemporaryDir dir;
        core::AppState state;
        state.program = core::PROGRAM_ADDER;
        MainWindow w(state);
        w.resize(1100, 800);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        adder::load_input_file(state.store, state.raw_files, state.adder, w.ui(), w.clipboard(),
                               write_spectra(dir, 1));
        w.run_adder_command(adder::AdderCommand::DisplaySelection);
        QTRY_VERIFY(state.adder.page.plot_scale.pixels_per_channel > 0.0);
        QWidget* plot = w.adder_page()->plot_area();

        const QPoint middle(plot->width() / 2, plot->height() / 2);
        const double whole = state.adder.page.plot_scale.pixels_per_channel;
        wheel(plot, middle, -3 * 120);
        QCOMPARE(state.adder.page.zoom_index, 3);
        QVERIFY(w.adder_page()->findChild<QPushButton*>(QStringLiteral("centerPeakButton"))->isEnabled());
        QTRY_VERIFY(state.adder.page.plot_scale.pixels_per_channel > 1.5 * whole);
        wheel(plot, middle, 10 * 120);
        QCOMPARE(state.adder.page.zoom_index, 1);  // the adder goes no lower
        wheel(plot, middle, -4 * 120);
        QTRY_COMPARE(state.adder.page.plot_scale.first, state.adder.page.scroll_position);

        const int before = state.adder.page.scroll_position;
        QTest::mousePress(plot, Qt::LeftButton, Qt::NoModifier, middle);
        QTest::mouseMove(plot, middle + QPoint(2000, 0));  // to the right, and out of the plot
        QCOMPARE(plot->cursor().shape(), Qt::ArrowCursor);  // leaving ended the drag
        QTest::mouseRelease(plot, Qt::LeftButton, Qt::NoModifier, middle + QPoint(2000, 0));
        QTest::mousePress(plot, Qt::LeftButton, Qt::NoModifier, middle);
        QTest::mouseMove(plot, middle + QPoint(30, 0));
        QVERIFY(state.adder.page.scroll_position < before);
        QTest::mouseRelease(plot, Qt::LeftButton, Qt::NoModifier, middle + QPoint(30, 0));
    }

    void multispectrum_legend_moves_and_the_wheel_zooms() {
        QTemporaryDir dir;
        core::AppState state;
        state.program = core::PROGRAM_ADDER;  // the page shows the active program's file
        MainWindow w(state);
        w.resize(1100, 800);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        state.adder.page.input_file = write_spectra(dir, 3);
        w.page_tabs()->setCurrentIndex(2);
        QTRY_VERIFY(state.multispectrum.layout.drawn);
        QWidget* plot = w.page(3)->findChild<QWidget*>(QStringLiteral("multispectrumPlot"));
        QVERIFY(plot != nullptr);

        const display::MultiFrame frame = state.multispectrum.layout.frame;
        const QPoint on_legend(state.multispectrum.legend_left + 5, frame.top + 40);
        QTest::mousePress(plot, Qt::LeftButton, Qt::NoModifier, on_legend);
        QCOMPARE(plot->cursor().shape(), Qt::ClosedHandCursor);
        QTest::mouseMove(plot, QPoint(frame.right - 2, frame.top + 40));
        QCOMPARE(state.multispectrum.legend_left, frame.right - 100);
        QTest::mouseRelease(plot, Qt::LeftButton, Qt::NoModifier, QPoint(frame.right - 2, frame.top + 40));
        QCOMPARE(plot->cursor().shape(), Qt::ArrowCursor);

        wheel(plot, QPoint((frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2), -2 * 120);
        QCOMPARE(state.multispectrum.page.x_zoom, 2);
        QTRY_COMPARE(state.multispectrum.layout.hi - state.multispectrum.layout.lo + 1,
                     static_cast<int>(CHANNELS / 1.4));
    }

    void text_output_scrolls_three_lines_a_notch() {
        QTemporaryDir dir;
        const std::string path = dir.filePath(QStringLiteral("report.txt")).toStdString();
        {
            std::ofstream out(path);
            for (int i = 1; i <= 200; ++i) {
                out << "line " << i << "\n";
            }
        }
        core::AppState state;
        MainWindow w(state);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.page_tabs()->setCurrentIndex(1);
        QVERIFY(w.text_page()->show_file(path, "Report", "Report: "));
        QWidget* text = w.text_page()->text_area();
        const QPoint middle(text->width() / 2, text->height() / 2);
        wheel(text, middle, -120);
        wheel(text, middle, -120);
        QCOMPARE(w.text_page()->viewer().first_line, 7);
        wheel(text, middle, 120);
        wheel(text, middle, 120);
        wheel(text, middle, 120);
        QCOMPARE(w.text_page()->viewer().first_line, 1);
        // A touchpad's small steps add up to a notch.
        for (int i = 0; i < 3; ++i) {
            wheel(text, middle, -40);
        }
        QCOMPARE(w.text_page()->viewer().first_line, 4);
    }
};

QTEST_MAIN(TestPlotMouse)
#include "test_plot_mouse.moc"
