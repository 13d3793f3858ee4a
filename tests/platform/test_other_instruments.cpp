// Files of other instruments in a real window: the converter and the adder
// open each kind through their own "Find file" and "Lookup" buttons and show
// what the file holds, without a text cut off. Copies of the files in
// ../shared/testdata/formats are opened, so that their native copies are
// written beside the copies.
// With VORELBOX_SCREENSHOT_DIR set, each file's converter and adder pages are
// also saved as pictures there.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <numeric>

#include "app_state.h"
#include "adder_page_widget.h"
#include "auto_answer_ui.h"
#include "converter_page_widget.h"
#include "load_spectrum_file.h"
#include "main_window.h"
#include "timers.h"
#include "modal_boxes.h"
#include "window_texts.h"

using vorelbox::core::AppState;
using vorelbox::platform::MainWindow;

namespace {

// A file dialog and a file read can take seconds on a machine busy with builds.
constexpr int BUSY_MACHINE_MS = 30000;

QString field(const QWidget& page, const char* name) {
    const auto* edit = page.findChild<QLineEdit*>(QString::fromLatin1(name));
    return edit == nullptr ? QStringLiteral("<no field %1>").arg(QString::fromLatin1(name)) : edit->text();
}

QPushButton* button(const QWidget& page, const char* name) {
    return page.findChild<QPushButton*>(QString::fromLatin1(name));
}

// Clicks a page's button that opens a file dialog, and answers the dialog with `path`.
void open_through(QPushButton* find, ModalBoxes& boxes, const QString& path) {
    boxes.files.append(path);
    find->click();
    QCoreApplication::processEvents();
}

// Cut texts, with the file and the page they were seen on.
QStringList cut_on(const MainWindow& w, const QString& where) {
    QStringList cut;
    for (const QString& line : window_texts::cut_texts(w)) {
        cut.append(where + QStringLiteral(": ") + line);
    }
    return cut;
}

// The page redraws on a timer, and the values the drawing finds (the peak
// channel) are laid out after it.
void settle() {
    QTest::qWait(2 * vorelbox::core::REDRAW_DELAY_MS);
    QCoreApplication::processEvents();
}

void save_screenshot(QWidget& w, const QString& name) {
    const QByteArray folder = qgetenv("VORELBOX_SCREENSHOT_DIR");
    if (folder.isEmpty()) {
        return;
    }
    QDir().mkpath(QString::fromLocal8Bit(folder));
    w.grab().save(QDir(QString::fromLocal8Bit(folder))
                      .filePath(QStringLiteral("%1-x%2.png").arg(name).arg(w.devicePixelRatio())));
}

}  // namespace

class TestOtherInstruments : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QVERIFY(copies_.isValid());
        const QDir formats(QStringLiteral(VORELBOX_FORMATS_DATA));
        for (const QString& name : formats.entryList(QDir::Files)) {
            QVERIFY(QFile::copy(formats.filePath(name), copies_.filePath(name)));
        }
    }

    // What the converter shows of each kind. The expected facts come from the
    // files themselves (their headers, SOURCES.md and an independent reader),
    // written as the page writes them: times in seconds with two decimals.
    void the_converter_shows_each_kind_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("instrument");  // a part of it
        QTest::addColumn<QString>("detector");    // a part of it
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("real");
        QTest::addColumn<QString>("live");
        // A part of the energy or the points field; "none": both are blank.
        QTest::addColumn<QString>("calibration");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("spectra");
        QTest::newRow("CNF") << "LaBr.CNF"
                             << "Canberra (cnf)"
                             << "Canberra CNF" << "" << "" << "2019-02-07 11:48:18" << "3403.67" << "3385.54" << ""
                             << 1024 << 1;
        QTest::newRow("N42 2006, eight detectors")
            << "ba133_source_640s_20100317.n42"
            << "N42 (n42)"
            << "ANSI N42.42-2006"
            << "OSASP"
            << "A1"
            << "2010-04-17T17:33:19.409Z"
            << "639.92"
            << "629.17"
            << "0.187422" << 16384 << 8;
        QTest::newRow("N42 2012") << "Alcatraz14.n42"
                                  << "N42 (n42)"
                                  << "ANSI N42.42-2012" << "" << "" << "2012-09-17T13:41:07.0" << "905.42" << "900.00" << "" << 8192 << 1;
        QTest::newRow("MCA with calibration")
            << "minix_20kV_15uA_sdd.mca"
            << "Amptek (mca)"
            << "Amptek MCA" << "" << "" << "06/07/2024 12:04:33" << "9252.21" << "8994.99" << " ch = " << 2048 << 1;
        QTest::newRow("MCA without calibration")
            << "demoNoCal.mca"
            << "Amptek (mca)"
            << "Amptek MCA" << "" << "" << "11/11/2011 11:11:11" << "200.00" << "200.00" << "none" << 2048 << 1;
        QTest::newRow("IEC") << "hpge_dummy_test_01.iec"
                             << "IEC 61455 (iec)"
                             << "IEC 61455"
                             << "NUCICA" << "" << "09/12/21 10:54:31" << "3600.00" << "3564.00" << "0.8" << 2048 << 1;
        QTest::newRow("TKA") << "LaBr.TKA"
                             << "TKA (tka)"
                             << "TKA" << "" << "" << "" << "3403.67" << "3385.54" << "" << 1024 << 1;
        QTest::newRow("column text") << "SGM102432.csv"
                                     << "Column text (csv)"
                                     << "Column text, comma-separated: channel, count" << "" << "" << "" << "" << "" << "none" << 4094 << 1;
    }

    void the_converter_shows_each_kind() {
        QFETCH(QString, file);
        QFETCH(QString, type);
        QFETCH(QString, format);
        QFETCH(QString, instrument);
        QFETCH(QString, detector);
        QFETCH(QString, start);
        QFETCH(QString, real);
        QFETCH(QString, live);
        QFETCH(QString, calibration);
        QFETCH(int, channels);
        QFETCH(int, spectra);
        AppState state;
        state.program = vorelbox::core::PROGRAM_CONVERTER;
        MainWindow w(state);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        ModalBoxes boxes;
        const QWidget& page = *w.converter_page();
        remove_native_copy(file);
        open_through(button(page, "findFileButton"), boxes, copies_.filePath(file));
        QTRY_COMPARE_WITH_TIMEOUT(field(page, "spectrumTypeEdit"), type, BUSY_MACHINE_MS);
        QCOMPARE(boxes.dialogs, QStringList{"Vorelix Spectrum Converter"});
        QVERIFY2(boxes.texts.isEmpty(), qPrintable(boxes.texts.join(QLatin1Char('\n'))));
        // The dialog offers the kind (its own filter, besides "all files").
        const QString extension = QFileInfo(file).suffix().toLower();
        QVERIFY2(boxes.filters.filter(QStringLiteral("*.") + extension).size() == 1,
                 qPrintable(boxes.filters.join(QLatin1Char('|'))));

        QCOMPARE(field(page, "spectrumFileEdit"), file);
        QCOMPARE(field(page, "channelsEdit").trimmed().toInt(), channels);
        QCOMPARE(field(page, "spectraEdit").trimmed().toInt(), spectra);
        QCOMPARE(page.findChild<QComboBox*>(QStringLiteral("headersCombo"))->count(), spectra);
        QVERIFY(page.findChild<QWidget*>(QStringLiteral("acquisitionPane"))->isVisible());
        QVERIFY(!page.findChild<QWidget*>(QStringLiteral("maestroPane"))->isVisible());
        QCOMPARE(field(page, "acquisitionFormatEdit"), format);
        QVERIFY2(field(page, "acquisitionInstrumentEdit").contains(instrument),
                 qPrintable(field(page, "acquisitionInstrumentEdit")));
        QVERIFY2(field(page, "acquisitionDetectorEdit").contains(detector),
                 qPrintable(field(page, "acquisitionDetectorEdit")));
        QCOMPARE(field(page, "acquisitionStartEdit"), start);
        QCOMPARE(field(page, "acquisitionRealTimeEdit").trimmed(), real);
        QCOMPARE(field(page, "acquisitionLiveTimeEdit").trimmed(), live);
        const QString energy = field(page, "acquisitionEnergyEdit") + QLatin1Char('|') + field(page, "acquisitionPointsEdit");
        if (calibration == QStringLiteral("none")) {
            QCOMPARE(energy, QStringLiteral("|"));
        } else {
            QVERIFY2(energy.contains(calibration), qPrintable(energy));
        }
        QCOMPARE(field(page, "acquisitionSpectraEdit").toInt(), spectra);
        // A value may be longer than its field: the field's tool tip holds it whole.
        for (const QLineEdit* edit : page.findChild<QWidget*>(QStringLiteral("acquisitionPane"))->findChildren<QLineEdit*>()) {
            QVERIFY2(edit->toolTip().contains(edit->text().trimmed()), qPrintable(edit->objectName()));
        }

        settle();
        QStringList cut = cut_on(w, file + QStringLiteral(", first size"));
        save_screenshot(w, QStringLiteral("converter-") + QFileInfo(file).completeBaseName());
        w.resize(w.minimumSize());
        settle();
        cut.append(cut_on(w, file + QStringLiteral(", minimum size")));
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
    }

    // The native copy of an eight-detector portal file holds all eight spectra,
    // as the native reader reads them back: the counts an independent reader
    // gives for spectrum 1 and for all eight.
    void the_native_copy_of_an_n42_holds_every_spectrum() {
        AppState state;
        state.program = vorelbox::core::PROGRAM_CONVERTER;
        MainWindow w(state);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        ModalBoxes boxes;
        const QString copy = copies_.filePath(QStringLiteral("ba133_source_640s_20100317.dat"));
        remove_native_copy(QStringLiteral("ba133_source_640s_20100317.n42"));
        open_through(button(*w.converter_page(), "findFileButton"), boxes,
                     copies_.filePath(QStringLiteral("ba133_source_640s_20100317.n42")));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(copy), BUSY_MACHINE_MS);
        QVERIFY2(boxes.texts.isEmpty(), qPrintable(boxes.texts.join(QLatin1Char('\n'))));

        // The pane describes the spectrum selected: each detector has its own
        // times and energy calibration (A1 first, B4 last in the file).
        const QWidget& page = *w.converter_page();
        QCOMPARE(field(page, "acquisitionDetectorEdit"), QStringLiteral("A1"));
        page.findChild<QSpinBox*>(QStringLiteral("selectedSpectrumSpin"))->setValue(8);
        QTRY_COMPARE(field(page, "acquisitionDetectorEdit"), QStringLiteral("B4"));
        QCOMPARE(field(page, "acquisitionRealTimeEdit").trimmed(), QStringLiteral("639.91"));
        QCOMPARE(field(page, "acquisitionLiveTimeEdit").trimmed(), QStringLiteral("631.80"));
        QVERIFY2(field(page, "acquisitionEnergyEdit").startsWith(QStringLiteral("0.09645")),
                 qPrintable(field(page, "acquisitionEnergyEdit")));
        QCOMPARE(field(page, "acquisitionInstrumentEdit"), QStringLiteral("ORTEC OSASP Serial #1XXX"));

        vorelbox::spectra::SpectrumStore back;
        vorelbox::common::AutoAnswerUi quiet(false);
        const auto read = vorelbox::spectra::LOAD_SPECTRUM_FILE(back, quiet, copy.toStdString());
        QCOMPARE(read.channel_count, 16384);
        QCOMPARE(back.FILE_SPECTRUM_COUNT, 8);
        double first = 0;
        double all = 0;
        for (int k = 0; k < 8; ++k) {
            const auto& counts = back.FILE_SPECTRA[static_cast<std::size_t>(k)];
            const double sum = std::accumulate(counts.begin(), counts.begin() + 16384, 0.0);
            first = k == 0 ? sum : first;
            all += sum;
        }
        QCOMPARE(first, 305570.0);
        QCOMPARE(all, 2621142.0);
        QVERIFY(QString::fromStdString(back.FILE_SPECTRUM_HEADERS[7]).startsWith(QStringLiteral("B4")));
    }

    // The adder takes each kind as its input spectrum through "Lookup".
    void the_adder_takes_each_kind_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("spectra");
        QTest::newRow("CNF") << "BEGe.CNF" << 8192 << 1;
        QTest::newRow("N42 2012, 100 of 153 spectra") << "Q345_Racetrack.n42" << 1024 << 100;
        QTest::newRow("N42 2006") << "Q8910_Helicopter.N42" << 1024 << 81;
        QTest::newRow("MCA") << "20241217_111314_25kV_40uA_Alwin1_0pt2mm_unfilt1.mca" << 2048 << 1;
        QTest::newRow("IEC") << "hpge_dummy_test_02b.iec" << 2048 << 1;
        QTest::newRow("TKA") << "LaBr.TKA" << 1024 << 1;
        QTest::newRow("column text") << "SGM102432.csv" << 4094 << 1;
    }

    void the_adder_takes_each_kind() {
        QFETCH(QString, file);
        QFETCH(int, channels);
        QFETCH(int, spectra);
        AppState state;
        state.program = vorelbox::core::PROGRAM_ADDER;
        MainWindow w(state);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        ModalBoxes boxes;
        const QWidget& page = *w.adder_page();
        remove_native_copy(file);
        open_through(button(page, "lookupButton"), boxes, copies_.filePath(file));
        const QString native = QFileInfo(file).completeBaseName() + QStringLiteral(".dat");
        QTRY_COMPARE_WITH_TIMEOUT(field(page, "inputFileEdit"), native, BUSY_MACHINE_MS);
        QCOMPARE(boxes.dialogs, QStringList{"Vorelix Spectrum"});
        const QString extension = QFileInfo(file).suffix().toLower();
        QVERIFY2(boxes.filters.filter(QStringLiteral("*.") + extension).size() == 1,
                 qPrintable(boxes.filters.join(QLatin1Char('|'))));
        QCOMPARE(field(page, "channelsEdit").trimmed().toInt(), channels);
        QCOMPARE(field(page, "spectraEdit").trimmed().toInt(), spectra);
        QCOMPARE(page.findChild<QComboBox*>(QStringLiteral("selectionCombo"))->count(), spectra);
        // Only the reader's own note: the spectra of the file beyond 100 were left out.
        for (const QString& text : boxes.texts) {
            QVERIFY2(spectra == 100 && text.endsWith(QStringLiteral("left out")), qPrintable(text));
        }

        // Included, the first spectrum becomes a row of the list.
        button(page, "includeButton")->click();
        QTRY_COMPARE(state.adder.list.row_count(), 1);
        QCOMPARE(state.adder.list.channels, channels);

        settle();
        QStringList cut = cut_on(w, file + QStringLiteral(", first size"));
        save_screenshot(w, QStringLiteral("adder-") + QFileInfo(file).completeBaseName());
        w.resize(w.minimumSize());
        settle();
        cut.append(cut_on(w, file + QStringLiteral(", minimum size")));
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
    }

  private:
    // LaBr.CNF and LaBr.TKA share the name of their native copy: each test
    // starts without it, so that no question about a different copy comes up.
    void remove_native_copy(const QString& file) {
        QFile::remove(copies_.filePath(QFileInfo(file).completeBaseName() + QStringLiteral(".dat")));
    }

    QTemporaryDir copies_;
};

QTEST_MAIN(TestOtherInstruments)
#include "test_other_instruments.moc"
