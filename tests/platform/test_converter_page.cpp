// The Spectrum converter page: its captions, how it shows a converter, the
// acquisition pane of the file read, and the commands its controls send.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QtTest>

#include <utility>
#include <vector>

#include "converter_page.h"
#include "converter_page_widget.h"

using vorelbox::converter::Converter;
using vorelbox::converter::ConverterCommand;
using vorelbox::platform::ConverterPageWidget;

namespace {

using Sent = std::vector<std::pair<ConverterCommand, int>>;

void record(ConverterPageWidget& page, Sent& sent) {
    QObject::connect(&page, &ConverterPageWidget::command,
                     [&sent](ConverterCommand c, int argument) { sent.emplace_back(c, argument); });
}

template <typename T>
T* child(const QWidget& page, const char* name) {
    T* found = page.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) {
        qWarning("no control %s", name);
    }
    return found;
}

QString field(const QWidget& page, const char* name) {
    return child<QLineEdit>(page, name)->text();
}

// A Maestro file of 2048 channels, shown at zoom 3 from channel 500.
Converter maestro_converter() {
    Converter c;
    c.state.file = "/data/run3.chn";
    c.state.type_text = "Maestro CHN";
    c.state.channels = 2048;
    c.state.spectra = 1;
    c.state.selected = 1;
    c.state.headers = {"Cu 300 K - 31Jan 2019 15:17:20"};
    c.state.last = 2048;
    vorelbox::spectra::MaestroPane m;
    m.detector_number = 4;
    m.segment_number = 2;
    m.date = "31Jan 2019";
    m.start_time = "15:17:20";
    m.real_time = "   3600.00";
    m.detector = "BaF2 start";
    m.energy = {"    0.1250", "    2.5000", "    0.0001"};
    m.shape = {"    1.1000", "    0.0200"};
    c.state.maestro = m;
    c.page.file_text = "run3.chn";
    c.page.modified_mark = true;
    c.page.number_of_channels = "2048";
    c.page.spin_maximum = 1;
    c.page.zoom_index = 3;
    c.page.scroll_position = 500;
    c.page.first_displayed = 500;
    c.page.last_displayed = 1523;
    c.page.first_channel_maximum = 2048;
    c.page.channels_in_spectrum = 2048;
    c.page.channels_in_spectrum_maximum = 2048;
    return c;
}

}  // namespace

class TestConverterPage : public QObject {
    Q_OBJECT

  private slots:
    void groups_and_captions() {
        ConverterPageWidget page;
        QStringList titles;
        for (const QGroupBox* g : page.findChildren<QGroupBox*>()) {
            titles.append(g->title());
        }
        titles.sort();
        QCOMPARE(titles, (QStringList{"Display", "Energy calibration", "Peak shape calibration",
                                      "Spectrum"}));
        const std::pair<const char*, const char*> buttons[] = {{"findFileButton", "F&ind file"},
                                                               {"pasteButton", "&Paste"},
                                                               {"editHeaderButton", "&Edit header"},
                                                               {"reloadButton", "&Reload"},
                                                               {"saveAsButton", "Sa&ve as"},
                                                               {"appendToButton", "&Append to"},
                                                               {"redrawButton", "R"},
                                                               {"centerPeakButton", "Center peak"}};
        for (const auto& [name, text] : buttons) {
            QCOMPARE(child<QPushButton>(page, name)->text(), QString::fromLatin1(text));
        }
        QCOMPARE(child<QRadioButton>(page, "logRadio")->text(), QStringLiteral("  log"));
        QCOMPARE(child<QRadioButton>(page, "linRadio")->text(), QStringLiteral("  lin"));
        QCOMPARE(child<QSlider>(page, "zoomSlider")->maximum(), 12);
        QVERIFY(child<vorelbox::platform::PlotArea>(page, "plotArea") != nullptr);
    }

    void render_shows_the_file_and_its_pane() {
        ConverterPageWidget page;
        Sent sent;
        record(page, sent);
        Converter c = maestro_converter();
        page.render(c);
        QVERIFY(sent.empty());

        QCOMPARE(field(page, "spectrumFileEdit"), QStringLiteral("run3.chn"));
        QVERIFY(!child<QLabel>(page, "modifiedMark")->isHidden());
        QCOMPARE(child<QComboBox>(page, "headersCombo")->currentText(),
                 QStringLiteral("Cu 300 K - 31Jan 2019 15:17:20"));
        QCOMPARE(child<QScrollBar>(page, "displayScroll")->value(), 500);
        QCOMPARE(child<QLabel>(page, "lastDisplayedLabel")->text(), QStringLiteral("1523"));
        QVERIFY(!child<QWidget>(page, "maestroPane")->isHidden());
        QVERIFY(child<QWidget>(page, "spePane")->isHidden());
        QVERIFY(child<QWidget>(page, "tembraPane")->isHidden());
        QCOMPARE(field(page, "maestroDetectorNumberEdit"), QStringLiteral("4"));
        QCOMPARE(field(page, "maestroStartTimeEdit"), QStringLiteral("15:17:20"));
        QCOMPARE(field(page, "maestroDetectorEdit"), QStringLiteral("BaF2 start"));
        QCOMPARE(field(page, "energySlopeEdit").trimmed(), QStringLiteral("2.5000"));
        QCOMPARE(field(page, "shapeSlopeEdit").trimmed(), QStringLiteral("0.0200"));

        Converter back;
        page.read_into(back);
        QCOMPARE(back.page.zoom_index, 3);
        QCOMPARE(back.page.scroll_position, 500);
        QVERIFY(!back.page.log_scale);

        // A ".spe" file brings its own pane, the calibration numbers in one line.
        c.state.maestro.reset();
        vorelbox::spectra::SpePane spe;
        spe.factor_a = "   -0.5000";
        spe.factors = {0.25, 1.5, -3};
        c.state.spe = spe;
        page.render(c);
        QVERIFY(child<QWidget>(page, "maestroPane")->isHidden());
        QVERIFY(!child<QWidget>(page, "spePane")->isHidden());
        QCOMPARE(field(page, "speFactorsEdit"), QStringLiteral("0.25 1.5 -3"));

        // A native file has no acquisition data.
        c.state.spe.reset();
        c.page.modified_mark = false;
        page.render(c);
        for (const char* pane : {"maestroPane", "spePane", "tembraPane"}) {
            QVERIFY2(child<QWidget>(page, pane)->isHidden(), pane);
        }
        QVERIFY(child<QLabel>(page, "modifiedMark")->isHidden());
        QVERIFY(sent.empty());
    }

    void trim_shows_the_first_channel() {
        ConverterPageWidget page;
        Converter c = maestro_converter();
        page.render(c);
        auto* label = child<QLabel>(page, "firstChannelLabel");
        auto* spin = child<QSpinBox>(page, "firstChannelSpin");
        QCOMPARE(label->text(), QStringLiteral("First channel"));
        QVERIFY(label->isHidden() && spin->isHidden());

        Sent sent;
        record(page, sent);
        child<QCheckBox>(page, "trimCheck")->click();
        QCOMPARE(sent, (Sent{{ConverterCommand::Trim, 1}}));
        QVERIFY(!label->isHidden() && !spin->isHidden());

        // The state decides: a render of a converter without trimming hides them again.
        page.render(c);
        QVERIFY(!child<QCheckBox>(page, "trimCheck")->isChecked());
        QVERIFY(label->isHidden() && spin->isHidden());
        c.state.trim = true;
        c.state.first = 40;
        page.render(c);
        QVERIFY(!spin->isHidden());
        QCOMPARE(spin->value(), 40);
    }

    void controls_send_their_commands() {
        ConverterPageWidget page;
        Converter c = maestro_converter();
        c.state.spectra = 3;
        c.state.headers = {"one", "two", "three"};
        c.page.spin_maximum = 3;
        page.render(c);
        Sent sent;
        record(page, sent);

        child<QPushButton>(page, "saveAsButton")->click();
        child<QComboBox>(page, "headersCombo")->setCurrentIndex(2);
        child<QSpinBox>(page, "selectedSpectrumSpin")->setValue(2);
        child<QRadioButton>(page, "logRadio")->click();
        child<QSlider>(page, "zoomSlider")->setValue(5);
        QCOMPARE(sent, (Sent{{ConverterCommand::SaveAs, 0},
                             {ConverterCommand::HeaderSelection, 3},
                             {ConverterCommand::SpinSelection, 2},
                             {ConverterCommand::Log, 0},
                             {ConverterCommand::XZoom, 5}}));
        // The headers and the spin follow each other.
        QCOMPARE(child<QComboBox>(page, "headersCombo")->currentText(), QStringLiteral("two"));
    }

    void typed_channels_wait_for_a_pause() {
        ConverterPageWidget page;
        page.render(maestro_converter());
        Sent sent;
        record(page, sent);
        auto* length = child<QSpinBox>(page, "channelsInSpectrumSpin");
        auto* first = child<QSpinBox>(page, "firstChannelSpin");

        // Typing "120": only the last value goes out, once the typing has paused.
        for (int value : {1, 12, 120}) {
            first->setValue(value);
        }
        QVERIFY(sent.empty());
        QTRY_COMPARE_WITH_TIMEOUT(sent.size(), std::size_t{1}, 2000);
        QCOMPARE(sent.front(), std::make_pair(ConverterCommand::FirstChannel, 120));
        QTest::qWait(ConverterPageWidget::CHANNEL_TYPING_PAUSE_MS + 100);
        QCOMPARE(sent.size(), std::size_t{1});

        // A button used before the pause ends sends the typed value first.
        sent.clear();
        length->setValue(1000);
        child<QPushButton>(page, "reloadButton")->click();
        QCOMPARE(sent, (Sent{{ConverterCommand::ChannelsInSpectrum, 1000},
                             {ConverterCommand::Reload, 0}}));

        // A render (the other spin's command, say) keeps a value still waiting,
        // which then goes out after its pause.
        sent.clear();
        first->setValue(100);
        length->setValue(50);
        page.render(maestro_converter());
        QCOMPARE(first->value(), 100);
        QCOMPARE(length->value(), 50);
        QTRY_COMPARE_WITH_TIMEOUT(sent.size(), std::size_t{2}, 2000);
        QCOMPARE(sent, (Sent{{ConverterCommand::FirstChannel, 100},
                             {ConverterCommand::ChannelsInSpectrum, 50}}));
        // Once sent, the next render shows the state again.
        page.render(maestro_converter());
        QCOMPARE(first->value(), 1);
    }
};

QTEST_MAIN(TestConverterPage)
#include "test_converter_page.moc"
