// Every text of every page fits its widget, at the window's first size and at
// its minimum size. Run with QT_SCALE_FACTOR=2 as well (a second test does).
// With VORELBOX_SCREENSHOT_DIR set, each page is also saved as a picture there.

#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <sstream>

#include "app_state.h"
#include "cli.h"
#include "main_window.h"
#include "window_texts.h"

using vorelbox::core::AppState;
using vorelbox::platform::MainWindow;

using window_texts::cut_texts;

class TestWindowTexts : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QVERIFY(samples_.isValid());
        std::ostringstream out, err;
        QCOMPARE(vorelbox::cli::run_cli({"samples", "--output-dir", samples_.path().toStdString()}, out, err), 0);
        // Questions and warnings close at once: the pages are looked at, not used.
        auto* closer = new QTimer(this);
        connect(closer, &QTimer::timeout, this, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                modal->close();
            }
        });
        closer->start(50);
    }

    void no_text_is_cut_on_any_page_data() {
        QTest::addColumn<int>("program");
        QTest::addColumn<bool>("minimum");
        QTest::addColumn<int>("first_program");  // the program the window comes up with
        QTest::newRow("adder, first size") << 1 << false << 1;
        QTest::newRow("adder, minimum size") << 1 << true << 1;
        QTest::newRow("adder after the converter, first size") << 1 << false << 2;
        QTest::newRow("converter, first size") << 2 << false << 2;
        QTest::newRow("converter, minimum size") << 2 << true << 2;
        QTest::newRow("converter after the adder, first size") << 2 << false << 1;
    }

    void no_text_is_cut_on_any_page() {
        QFETCH(int, program);
        QFETCH(bool, minimum);
        QFETCH(int, first_program);
        AppState state;
        state.program = first_program;
        MainWindow w(state);
        const QDir dir(samples_.path());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        if (program == 1) {
            w.open_files(vorelbox::core::plan_named_file(dir.filePath(QStringLiteral("pals-4096.vsl")).toStdString()));
            w.open_files({vorelbox::core::OpenAction::AddToList,
                          {dir.filePath(QStringLiteral("pals-maestro.chn")).toStdString()}});
        } else {
            w.open_files(vorelbox::core::plan_named_file(dir.filePath(QStringLiteral("pals-4096.dat")).toStdString()));
        }
        QCOMPARE(state.program, program);
        if (minimum) {
            w.resize(w.minimumSize());
        }
        QStringList cut;
        for (int tab = 0; tab < 3; ++tab) {
            w.page_tabs()->setCurrentIndex(tab);
            QTest::qWait(250);  // the pages lay out and redraw on their timers
            for (const QString& line : cut_texts(w)) {
                cut.append(QStringLiteral("page %1: %2").arg(tab + 1).arg(line));
            }
            if (first_program == program) {
                save_screenshot(w, program, tab, minimum);
            }
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
    }

  private:
    static void save_screenshot(QWidget& w, int program, int tab, bool minimum) {
        const QByteArray folder = qgetenv("VORELBOX_SCREENSHOT_DIR");
        if (folder.isEmpty()) {
            return;
        }
        QDir().mkpath(QString::fromLocal8Bit(folder));
        static const char* pages[] = {"program", "text-output", "multispectrum"};
        const QString name = QStringLiteral("%1-%2-%3-x%4.png")
                                 .arg(program == 1 ? QStringLiteral("adder") : QStringLiteral("converter"))
                                 .arg(QString::fromLatin1(pages[tab]))
                                 .arg(minimum ? QStringLiteral("minimum") : QStringLiteral("first-size"))
                                 .arg(w.devicePixelRatio());
        w.grab().save(QDir(QString::fromLocal8Bit(folder)).filePath(name));
    }

    QTemporaryDir samples_;
};

QTEST_MAIN(TestWindowTexts)
#include "test_window_texts.moc"
