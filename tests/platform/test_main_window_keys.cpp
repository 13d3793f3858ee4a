// The keys of the main window on every page, the mnemonics of the pages that
// must leave them free, and the text viewer's keys right after a Show command.

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <fstream>
#include <map>

#include "adder_page_widget.h"
#include "app_state.h"
#include "converter_page_widget.h"
#include "main_window.h"
#include "modal_boxes.h"
#include "program_setup.h"
#include "text_output_widget.h"

using vorelbox::core::AppState;
using vorelbox::platform::MainWindow;

namespace {

// The letter of a caption's mnemonic, or 0.
QChar mnemonic(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == u'&') {
            if (text[i + 1] == u'&') {
                ++i;
                continue;
            }
            return text[i + 1].toUpper();
        }
    }
    return {};
}

// The mnemonics of the buttons and labelled fields on a page.
std::multimap<QChar, QString> mnemonics(const QWidget& page) {
    std::multimap<QChar, QString> found;
    for (const QAbstractButton* b : page.findChildren<QAbstractButton*>()) {
        if (b->window() != page.window()) {
            continue;  // a dialog of the page has keys of its own
        }
        if (const QChar c = mnemonic(b->text()); !c.isNull()) {
            found.emplace(c, b->text());
        }
    }
    for (const QLabel* l : page.findChildren<QLabel*>()) {
        if (l->buddy() != nullptr && l->window() == page.window()) {
            if (const QChar c = mnemonic(l->text()); !c.isNull()) {
                found.emplace(c, l->text());
            }
        }
    }
    return found;
}

// A key as the user types it into the window (active again after a dialog).
void press(QWidget& window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    if (QApplication::activeWindow() != &window) {
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
    QWidget* target = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : &window;
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    QCoreApplication::processEvents();
}

}  // namespace

class TestMainWindowKeys : public QObject {
    Q_OBJECT

  private slots:
    void page_mnemonics_leave_the_window_keys_free() {
        AppState state;
        MainWindow w(state);
        // Alt+S is "Save as" on every page; Alt+F and Alt+H open the menus.
        const QString window_keys = QStringLiteral("SFH");
        for (QWidget* page : {static_cast<QWidget*>(w.adder_page()), static_cast<QWidget*>(w.converter_page()),
                              static_cast<QWidget*>(w.text_page()), w.page(3)}) {
            const auto found = mnemonics(*page);
            for (const auto& [letter, caption] : found) {
                QVERIFY2(!window_keys.contains(letter), qPrintable(page->objectName() + ": " + caption));
                QVERIFY2(found.count(letter) == 1, qPrintable(page->objectName() + ": " + caption));
            }
        }
    }

    void the_keys_work_on_every_page() {
        QTemporaryDir dir;
        for (const int program : {vorelbox::core::PROGRAM_ADDER, vorelbox::core::PROGRAM_CONVERTER}) {
            AppState state;
            state.program = program;
            MainWindow w(state);
            w.show();
            w.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&w));
            const bool adder = program == vorelbox::core::PROGRAM_ADDER;
            for (int tab = 0; tab < 3; ++tab) {
                ModalBoxes boxes;
                w.page_tabs()->setCurrentIndex(tab);
                QTest::qWait(2 * vorelbox::core::REDRAW_DELAY_MS);  // the page is drawn (and says what it says)
                boxes.texts.clear();
                w.page_tabs()->tabBar()->setFocus();  // as after a click on the page's tab
                const QString where = QStringLiteral("program %1, tab %2").arg(program).arg(tab + 1);

                press(w, Qt::Key_S, Qt::AltModifier);  // Save as
                if (adder) {
                    QVERIFY2(boxes.dialogs == QStringList{"Save spectrum list"}, qPrintable(where));
                } else {
                    QVERIFY2(boxes.texts == QStringList{"There is nothing to save"}, qPrintable(where));
                }
                boxes.texts.clear();
                press(w, Qt::Key_S, Qt::ControlModifier);  // Save result
                press(w, Qt::Key_P, Qt::ControlModifier);  // Print
                press(w, Qt::Key_F5);                      // Save sum
                QStringList expected = tab == 2 ? QStringList{"No spectra to save", "No spectra to print"}
                                                : QStringList{"There is no result to save", "There is nothing to print"};
                if (adder) {
                    expected.append(QStringLiteral("There is nothing to save"));
                }
                // Only the answers of these keys count here.
                QStringList answers;
                for (const QString& text : boxes.texts) {
                    if (expected.contains(text)) {
                        answers.append(text);
                    }
                }
                QVERIFY2(answers == expected, qPrintable(where + ": " + boxes.texts.join(" | ")));

                // Alt+F opens the File menu.
                auto* file_menu = w.findChild<QMenu*>(QStringLiteral("fileMenu"));
                press(w, Qt::Key_F, Qt::AltModifier);
                QTRY_VERIFY2(file_menu->isVisible(), qPrintable(where + ": " + boxes.texts.join(" | ") + " focus " + (QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString("none")) + (QApplication::activeWindow() == &w ? " active" : " inactive")));
                file_menu->hide();
                QCoreApplication::processEvents();
            }
        }
    }

    void the_viewer_takes_the_keys_after_a_show_command() {
        QTemporaryDir dir;
        const std::string log = dir.filePath(QStringLiteral("Vorelbox.log")).toStdString();
        {
            std::ofstream out(log);
            for (int i = 1; i <= 200; ++i) {
                out << "line " << i << '\n';
            }
        }
        AppState state;
        state.log_file = log;
        MainWindow w(state);
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.run_command(vorelbox::core::command::show_logfile);
        QCOMPARE(w.selected_tab(), 2);
        QCOMPARE(w.text_page()->viewer().first_line, 1);
        press(w, Qt::Key_PageDown);
        QCOMPARE(w.text_page()->viewer().first_line, 21);
        press(w, Qt::Key_Down);
        QCOMPARE(w.text_page()->viewer().first_line, 22);

        // Ctrl+Home and Ctrl+End move the viewer from any page.
        w.page_tabs()->setCurrentIndex(0);
        QCoreApplication::processEvents();
        press(w, Qt::Key_End, Qt::ControlModifier);
        QVERIFY(w.text_page()->viewer().first_line > 100);
        press(w, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(w.text_page()->viewer().first_line, 1);
    }

    void a_control_that_disables_itself_leaves_the_focus_on_its_page() {
        QTemporaryDir dir;
        const QString data = dir.filePath(QStringLiteral("two.dat"));
        {
            std::ofstream out(data.toStdString());
            for (const char* header : {"first", "second"}) {
                out << header << '\n';
                for (int i = 0; i < 1000; ++i) {
                    out << (i % 97) << (i % 10 == 9 ? '\n' : ' ');
                }
            }
        }
        AppState state;
        state.program = vorelbox::core::PROGRAM_ADDER;  // the page shows the active program's file
        MainWindow w(state);
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.page_tabs()->setCurrentIndex(2);
        QWidget* page = w.page(3);
        ModalBoxes boxes;
        boxes.files.append(data);
        page->findChild<QAbstractButton*>(QStringLiteral("findSpectraButton"))->click();
        // The file dialog and the reading run from the event loop: on a busy machine
        // that takes longer than the default five seconds.
        QTRY_COMPARE_WITH_TIMEOUT(state.multispectrum.page.selected, 2, 30000);
        page->findChild<QSlider*>(QStringLiteral("xZoomSlider"))->setValue(4);
        auto* whole = page->findChild<QAbstractButton*>(QStringLiteral("wholeButton"));
        QVERIFY(whole->isEnabled());
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        whole->setFocus();
        QVERIFY(whole->hasFocus());
        QTest::keyClick(whole, Qt::Key_Space);  // "<--->" shows every channel and disables itself
        QVERIFY(!whole->isEnabled());
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus != nullptr);
        QVERIFY2(page->isAncestorOf(focus), qPrintable(focus->objectName()));
    }
};

QTEST_MAIN(TestMainWindowKeys)
#include "test_main_window_keys.moc"
