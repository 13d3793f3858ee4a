// The Multispectrum plot page: how it shows the page state, the commands its
// controls send and the values it hands back, its selection dialog, and the plot
// command that draws a file into a picture without a window.

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>

#include <fstream>
#include <sstream>
#include <vector>

#include "multispectrum_page_widget.h"
#include "multispectrum_selection_dialog.h"
#include "plot_command.h"

using namespace vorelbox::display;
using vorelbox::platform::MultispectrumPageWidget;

namespace {

template <typename T>
T* child(const QObject& parent, const char* name) {
    T* found = parent.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) {
        qWarning("no control %s", name);
    }
    return found;
}

// A native file of three spectra of 200 channels.
std::string write_spectra(const QTemporaryDir& dir) {
    const std::string path = dir.filePath(QStringLiteral("three.dat")).toStdString();
    std::ofstream out(path);
    for (int k = 1; k <= 3; ++k) {
        out << "Run " << k << "\n";
        for (int i = 1; i <= 200; ++i) {
            out << std::setw(8) << 50 * k + (i == 80 + k ? 4000 : i % 17)
                << (i % 10 == 0 ? "\n" : "");
        }
    }
    return path;
}

int plot(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    return vorelbox::platform::run_plot_command(args, out, err);
}

}  // namespace

class TestMultispectrumPage : public QObject {
    Q_OBJECT

  private slots:
    void rendersThePageState() {
        MultispectrumPageWidget page;
        MultispectrumState state;
        state.page.lower_channel = "120";
        state.page.upper_channel = "370";
        state.page.x_zoom = 5;
        state.page.x_scroll_maximum = 1000;
        state.page.x_scroll_page = 250;
        state.page.x_scroll = 120;
        state.page.log = true;
        state.page.log_letters = LOG_LETTERS;
        state.page.vertical_shown = false;
        state.page.selected = 3;
        state.page.out_of = 9;
        state.page.select_enabled = true;
        page.render(state);
        page.show();

        QCOMPARE(child<QLabel>(page, "logLetters")->text(), QStringLiteral("o\ng"));
        QVERIFY(!child<QSlider>(page, "yZoomSlider")->isVisible());
        QCOMPARE(child<QLabel>(page, "selectedLabel")->text(), QStringLiteral("3"));
        QCOMPARE(child<QLabel>(page, "outOfLabel")->text(), QStringLiteral("9"));
        QVERIFY(!child<QPushButton>(page, "peakButton")->isEnabled());
        auto* scroll = child<QScrollBar>(page, "xScroll");
        QCOMPARE(scroll->maximum(), 751);  // the last window starts at 1000 - 250 + 1
        QCOMPARE(scroll->pageStep(), 250);

        MultispectrumState back;
        page.read_into(back);
        QCOMPARE(back.page.lower_channel, std::string("120"));
        QCOMPARE(back.page.upper_channel, std::string("370"));
        QCOMPARE(back.page.x_zoom, 5);
        QCOMPARE(back.page.x_scroll, 120);
        QVERIFY(back.page.log);
    }

    void controlsSendTheirCommands() {
        MultispectrumPageWidget page;
        std::vector<MultiCommand> commands;
        std::vector<std::pair<MultiControl, MultiReason>> ranges;
        connect(&page, &MultispectrumPageWidget::command,
                [&](MultiCommand c) { commands.push_back(c); });
        connect(&page, &MultispectrumPageWidget::range,
                [&](MultiControl c, MultiReason r) { ranges.emplace_back(c, r); });
        page.render(MultispectrumState{});  // emits nothing
        QVERIFY(commands.empty() && ranges.empty());

        QTest::mouseClick(child<QPushButton>(page, "findSpectraButton"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(page, "redrawButton"), Qt::LeftButton);
        child<QSlider>(page, "xZoomSlider")->setValue(3);
        child<QPushButton>(page, "logButton")->click();
        auto* lower = child<QLineEdit>(page, "lowerChannelEdit");
        lower->setText(QStringLiteral("40"));
        emit lower->editingFinished();

        QCOMPARE(commands,
                 (std::vector<MultiCommand>{MultiCommand::FindSpectra, MultiCommand::Redraw}));
        QCOMPARE(ranges.size(), std::size_t{3});
        QVERIFY(ranges[0] == std::make_pair(MultiControl::XZoom, MultiReason::Change));
        QVERIFY(ranges[1] == std::make_pair(MultiControl::Log, MultiReason::Click));
        QVERIFY(ranges[2] == std::make_pair(MultiControl::LowerChannel, MultiReason::Change));

    }

    void selectionDialogShowsTheLinesAndAnswers() {
        MultispectrumPageWidget page;
        MultispectrumState state;
        state.page.selection_lines = {selection_line(1, "first"), selection_line(2, "second"),
                                      selection_line(3, "third")};
        state.page.highlighted = {1, 3};
        state.page.selection_shown = true;
        page.render(state);
        auto* dialog = page.selection_dialog();
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Select spectra for multiplot"));
        QCOMPARE(child<QListWidget>(*dialog, "selectionList")->count(), 3);
        QCOMPARE(dialog->highlighted(), (std::vector<int>{1, 3}));

        std::vector<MultiCommand> commands;
        connect(&page, &MultispectrumPageWidget::command,
                [&](MultiCommand c) { commands.push_back(c); });
        child<QListWidget>(*dialog, "selectionList")->item(1)->setSelected(true);
        child<QPushButton>(*dialog, "selectionOkButton")->click();
        page.read_into(state);
        QCOMPARE(state.page.highlighted, (std::vector<int>{1, 2, 3}));
        dialog->reject();
        QCOMPARE(commands, (std::vector<MultiCommand>{MultiCommand::SelectionOk,
                                                      MultiCommand::SelectionCancel}));

        state.page.selection_shown = false;
        page.render(state);
        QVERIFY(!dialog->isVisible());
    }

    void plotCommandDrawsPictures() {
        QTemporaryDir dir;
        const std::string file = write_spectra(dir);
        const std::string png = dir.filePath(QStringLiteral("three.png")).toStdString();
        QCOMPARE(plot({file, "--spectra", "1,3", "--log", "-o", png}), 0);
        const QImage image(QString::fromStdString(png));
        QCOMPARE(image.size(), QSize(1024, 768));
        // The red (210, 0, 0) of spectrum 2 is left out; the green of spectrum 3 is drawn.
        bool green = false;
        bool red = false;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                green = green || image.pixel(x, y) == qRgb(0, 155, 0);
                red = red || image.pixel(x, y) == qRgb(210, 0, 0);
            }
        }
        QVERIFY(green && !red);

        const std::string emf = dir.filePath(QStringLiteral("three.emf")).toStdString();
        QCOMPARE(plot({file, "--first", "50", "--last", "120", "-o", emf}), 0);
        std::ifstream picture(emf, std::ios::binary);
        QVERIFY(picture.good());

        QCOMPARE(plot({file, "-o", dir.filePath(QStringLiteral("x.jpg")).toStdString()}), 2);
        QCOMPARE(plot({file, "--spectra", "4", "-o", png}), 1);
        QCOMPARE(plot({dir.filePath(QStringLiteral("none.dat")).toStdString(), "-o", png}), 1);
    }
};

QTEST_MAIN(TestMultispectrumPage)
#include "test_multispectrum_page.moc"
