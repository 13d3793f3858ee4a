// The main window's start from the settings and its exit: what survives a run,
// what an empty start opens, and how a start-up file that fails is reported.

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

#include <string>
#include <vector>

#include "app_state.h"
#include "main_window.h"
#include "modal_boxes.h"
#include "program_setup.h"

using vorelbox::core::AppState;
using vorelbox::platform::MainWindow;

namespace {

QString read_all(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

void write_all(const QString& path, const QString& text) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.toUtf8());
}

// One run of the program: start from the settings, show the window, leave by Exit.
void run_once(const QString& ini, AppState& state) {
    MainWindow w(state);
    w.start(ini.toStdString(), {});
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCoreApplication::processEvents();
    w.run_command(vorelbox::core::command::exit);
    QTRY_VERIFY(!w.isVisible());
}

}  // namespace

class TestMainWindowStart : public QObject {
    Q_OBJECT

  private slots:
    void display_options_survive_every_run() {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("Vorelbox.ini"));
        {
            AppState state;
            run_once(ini, state);
        }
        // The first start writes the defaults.
        QVERIFY(read_all(ini).contains(QStringLiteral("\nShow_selected=F\n")));
        QVERIFY(read_all(ini).contains(QStringLiteral("\nShow_sum=T\n")));

        for (const int program : {1, 2}) {
            write_all(ini, QStringLiteral("Program=%1\nShow_selected=T\nShow_sum=F\n").arg(program));
            for (int run = 0; run < 3; ++run) {
                AppState state;
                run_once(ini, state);
                const QString written = read_all(ini);
                QVERIFY2(written.contains(QStringLiteral("\nShow_selected=T\n")), qPrintable(written));
                QVERIFY2(written.contains(QStringLiteral("\nShow_sum=F\n")), qPrintable(written));
                QVERIFY(written.contains(QStringLiteral("\nProgram=%1\n").arg(program)));
            }
        }
    }

    void an_empty_start_opens_no_file() {
        QTemporaryDir dir;
        const QString data = dir.filePath(QStringLiteral("run.dat"));
        write_all(data, QStringLiteral("first\n1 2 3 4\n"));
        const QString ini = dir.filePath(QStringLiteral("Vorelbox.ini"));
        write_all(ini, QStringLiteral("Program=2\nConverterFile=%1\nStart_empty=T\n").arg(data));
        ModalBoxes boxes;
        AppState state;
        MainWindow w(state);
        w.start(ini.toStdString(), {});
        QCOMPARE(state.converter.state.spectra, 0);
        QVERIFY(state.converter.state.file.empty());
        QCOMPARE(boxes.texts, QStringList());
    }

    void a_startup_file_that_fails_is_named_once() {
        QTemporaryDir dir;
        const QString broken = dir.filePath(QStringLiteral("broken.dat"));
        write_all(broken, QStringLiteral("this is no spectrum at all\n"));
        const QString ini = dir.filePath(QStringLiteral("Vorelbox.ini"));
        write_all(ini, QStringLiteral("Program=2\nConverterFile=%1\n").arg(broken));
        ModalBoxes boxes;
        AppState state;
        MainWindow w(state);
        w.start(ini.toStdString(), {});
        QCOMPARE(boxes.texts.size(), 1);
        QVERIFY2(boxes.texts[0].startsWith(QStringLiteral("Error loading startup file ") + broken),
                 qPrintable(boxes.texts[0]));
    }

    void a_missing_readme_is_named_in_one_message() {
        QTemporaryDir dir;
        ModalBoxes boxes;
        AppState state;
        MainWindow w(state);
        state.program_folder = dir.path().toStdString();
        w.run_help_command(vorelbox::platform::help_command::how_to_use);
        QCOMPARE(boxes.texts.join(" / "), QStringLiteral("See the %1 file").arg(dir.filePath("Readme.txt")));
    }

    void the_startup_choice_is_in_the_file_menu() {
        ModalBoxes boxes;
        AppState state;
        MainWindow w(state);
        auto* file = w.findChild<QMenu*>(QStringLiteral("fileMenu"));
        auto* empty = file->findChild<QAction*>(QStringLiteral("menu1335"));
        auto* previous = file->findChild<QAction*>(QStringLiteral("menu1336"));
        QVERIFY(empty != nullptr && previous != nullptr);
        QVERIFY(!empty->isChecked() && previous->isChecked());
        previous->trigger();
        QVERIFY(state.settings.start_empty);
        QVERIFY(empty->isChecked() && !previous->isChecked());
        QCOMPARE(boxes.texts.value(0),
                 QStringLiteral("The next startup of Vorelbox will begin with an empty dataset"));
    }
};

QTEST_MAIN(TestMainWindowStart)
#include "test_main_window_start.moc"
