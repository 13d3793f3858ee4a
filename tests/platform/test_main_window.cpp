// The main window as it comes up, and its program switch, menus and tool bar.

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

#include "app_state.h"
#include "main_window.h"
#include "status_part.h"

using vorelbox::core::AppState;
using vorelbox::platform::MainWindow;

namespace {

QStringList tab_texts(const MainWindow& w) {
    auto* tabs = w.findChild<QTabWidget*>(QStringLiteral("pageTabs"));
    QStringList texts;
    for (int i = 0; tabs != nullptr && i < tabs->count(); ++i) {
        texts.append(tabs->tabText(i));
    }
    return texts;
}

QRadioButton* radio(const MainWindow& w, const char* name) {
    return w.findChild<QRadioButton*>(QString::fromLatin1(name));
}

QMenu* menu_titled(const MainWindow& w, const QString& title) {
    for (QAction* a : w.menuBar()->actions()) {
        if (a->menu() != nullptr && a->text() == title) {
            return a->menu();
        }
    }
    return nullptr;
}

// Texts of a menu's entries, "-" for a separator.
QStringList entries(const QMenu* menu) {
    QStringList texts;
    for (QAction* a : menu->actions()) {
        if (a->isVisible()) {
            texts.append(a->isSeparator() ? QStringLiteral("-") : a->text());
        }
    }
    return texts;
}

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

  private slots:
    void first_start_opens_the_converter() {
        AppState state;
        MainWindow w(state);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));

        QCOMPARE(w.windowTitle(), QStringLiteral("Vorelbox - Version 1.50 - 28-jul-2020"));
        QCOMPARE(state.program, 2);
        QVERIFY(radio(w, "program2Radio")->isChecked());
        QVERIFY(!radio(w, "program1Radio")->isChecked());
        QCOMPARE(radio(w, "program1Radio")->text(), QStringLiteral("Spectrum adder/collector"));
        QCOMPARE(tab_texts(w),
                 (QStringList{"Spectrum converter", "Text output", "Multispectrum plot"}));

        auto* part1 = w.findChild<QLabel*>(QStringLiteral("statusPart1"));
        QVERIFY(part1 != nullptr);
        QCOMPARE(part1->text(), QStringLiteral("Ready"));
        vorelbox::common::STATUS(w.ui(), "Converting");
        QCOMPARE(part1->text(), QStringLiteral("Ready"));
        QCOMPARE(w.findChild<QLabel*>(QStringLiteral("statusPart3"))->text(),
                 QStringLiteral("Converting"));

        QCOMPARE(w.findChild<QLabel*>(QStringLiteral("fileLabel"))->text(),
                 QStringLiteral("Original file"));
        QVERIFY(w.findChild<QLineEdit*>(QStringLiteral("filePath"))->isReadOnly());
    }

    void a_program_already_set_is_kept() {
        AppState state;
        state.program = 1;
        MainWindow w(state);
        QCOMPARE(state.program, 1);
        QVERIFY(radio(w, "program1Radio")->isChecked());
        QCOMPARE(tab_texts(w).value(0), QStringLiteral("Spectrum adder"));
    }

    void switching_programs_renames_the_first_page() {
        AppState state;
        MainWindow w(state);
        w.show();
        radio(w, "program1Radio")->click();
        QCOMPARE(state.program, 1);
        QCOMPARE(tab_texts(w),
                 (QStringList{"Spectrum adder", "Text output", "Multispectrum plot"}));
        QVERIFY(!radio(w, "program2Radio")->isChecked());

        radio(w, "program2Radio")->click();
        QCOMPARE(state.program, 2);
        QCOMPARE(tab_texts(w).value(0), QStringLiteral("Spectrum converter"));
    }

    void file_line_shows_the_list_and_its_marker() {
        AppState state;
        state.program = 1;
        state.adder.list.file_name = "/data/run1/list.vsl";
        state.adder.list.not_saved = true;
        MainWindow w(state);
        w.show();
        auto* marker = w.findChild<QLabel*>(QStringLiteral("modifiedMarker"));
        QCOMPARE(marker->text(), QStringLiteral("*"));
        QVERIFY(marker->isVisible());
        QCOMPARE(w.findChild<QLabel*>(QStringLiteral("fileLabel"))->text(), QStringLiteral("Spectrum list"));
        QCOMPARE(w.findChild<QLineEdit*>(QStringLiteral("filePath"))->text(), QStringLiteral("/data/run1/list.vsl"));
    }

    void menus_follow_the_program_and_exit_closes() {
        AppState state;
        MainWindow w(state);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QMenu* file = menu_titled(w, QStringLiteral("&File"));
        QMenu* help = menu_titled(w, QStringLiteral("&Help"));
        QVERIFY(file != nullptr);
        QVERIFY(help != nullptr);
        const QStringList converter_menu{"Load Spectrum file", "Save converted spectrum as", "Save &result", "-",
                                         "Show final spectrum as text", "Show original file",
                                         "Show &temp. control file", "Show &graphics file", "Show table file",
                                         "Show last logfile", "Show last spectrum converter log", "-",
                                         "Page set&up", "Options", "&Print result window", "-",
                                         "Startup with empty dataset", "Startup with previous dataset", "-",
                                         "E&xit"};
        QCOMPARE(entries(file), converter_menu);
        QCOMPARE(entries(help),
                 (QStringList{"Help", "How to use Vorelix", "Documentation", "Website", "Sample spectra", "-",
                              "About Vorelix"}));
        // The commands without an operation in this program cannot be chosen.
        for (const int command : {30020, 30030, 30042, 30046}) {
            const QAction* action = file->findChild<QAction*>(QStringLiteral("menu%1").arg(command));
            QVERIFY(action != nullptr);
            QVERIFY(!action->isEnabled());
        }

        // "Make &new list" comes with the adder and goes with it, exactly once.
        radio(w, "program1Radio")->click();
        QCOMPARE(entries(file).count(QStringLiteral("Make &new list")), 1);
        QCOMPARE(entries(file).value(1), QStringLiteral("Load spectrum list"));
        radio(w, "program2Radio")->click();
        radio(w, "program1Radio")->click();
        QCOMPARE(entries(file).count(QStringLiteral("Make &new list")), 1);
        radio(w, "program2Radio")->click();
        QCOMPARE(entries(file), converter_menu);

        file->actions().constLast()->trigger();
        QTRY_VERIFY(!w.isVisible());
    }

    // The name of an instrument's file can be longer than the status bar: the
    // text is shortened in the middle, keeps its start and its end, and the
    // window does not grow for it.
    void a_long_status_text_is_shortened_in_the_middle() {
        AppState state;
        MainWindow w(state);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.resize(w.minimumSize());
        QTest::qWait(50);
        const QSize before = w.size();
        auto* part = w.findChild<vorelbox::platform::StatusPart*>(QStringLiteral("statusPart3"));
        QVERIFY(part != nullptr);
        const QString name = QStringLiteral("01122014152731-GT01122014182338-GA37.4963000N-GO122.4633000W.n42");
        const QString text = QStringLiteral("ANSI N42.42-2012 file [") + name + QStringLiteral("] loaded");
        vorelbox::common::STATUS(w.ui(), text.toStdString());
        QTest::qWait(50);
        QCOMPARE(w.size(), before);
        QCOMPARE(part->text(), text);  // the whole text stays the part's
        QVERIFY(part->is_shortened());
        const QString shown = part->shown_text(part->contentsRect().width());
        QVERIFY(part->fontMetrics().horizontalAdvance(shown) <= part->contentsRect().width());
        QVERIFY2(shown.startsWith(QStringLiteral("ANSI N42")) && shown.endsWith(QStringLiteral("loaded")) &&
                     shown.contains(QChar(0x2026)),
                 qPrintable(shown));

        // A short text is shown as it is.
        vorelbox::common::STATUS(w.ui(), "Converting");
        QVERIFY(!part->is_shortened());
    }

    void about_box_names_the_version() {
        AppState state;
        MainWindow w(state);
        w.show();
        QString text;
        QObject guard;
        QTimer::singleShot(50, &guard, [&text] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                text = box->text();
                box->close();
            }
        });
        QTimer::singleShot(5000, &guard, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                modal->close();
            }
        });
        menu_titled(w, QStringLiteral("&Help"))->actions().constLast()->trigger();
        QVERIFY(text.contains(QStringLiteral("Vorelbox")));
        QVERIFY(text.contains(QStringLiteral("Version 1.50")));
    }

    void tool_bar_of_the_converter() {
        AppState state;
        MainWindow w(state);
        w.show();
        auto* bar = w.findChild<QToolBar*>(QStringLiteral("mainToolBar"));
        QVERIFY(bar != nullptr);
        QStringList tips;
        for (QAction* a : bar->actions()) {
            tips.append(a->isSeparator() ? QStringLiteral("-") : a->toolTip());
            QVERIFY(a->isSeparator() || !a->icon().isNull());
        }
        QCOMPARE(tips, (QStringList{"Load spectrum file", "Save spectrum file", "-",
                                    "Setup page and print font", "Nothing to print",
                                    "Save last result"}));
        QVERIFY(w.isVisible());
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
