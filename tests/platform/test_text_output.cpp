// The Text output page on screen: a file shows its first lines and scrolls by
// key, the Find dialog and F3 move from hit to hit, Ctrl+C copies the selection.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <QtTest>

#include <fstream>
#include <string>

#include "../fakes/fake_clipboard.h"
#include "auto_answer_ui.h"
#include "find_dialog.h"
#include "text_output_widget.h"

using vorelbox::platform::FindDialog;
using vorelbox::platform::TextOutputWidget;

namespace {

template <typename T>
T* child(const QObject& parent, const char* name) {
    T* found = parent.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) {
        qWarning("no control %s", name);
    }
    return found;
}

// "line 1" .. "line n", with "needle" added to the lines in `needles`.
std::string write_lines(const QTemporaryDir& dir, int n, std::initializer_list<int> needles = {}) {
    const std::string path = dir.filePath(QStringLiteral("report.txt")).toStdString();
    std::ofstream out(path, std::ios::binary);
    for (int i = 1; i <= n; ++i) {
        out << "line " << i;
        if (std::find(needles.begin(), needles.end(), i) != needles.end()) {
            out << " needle";
        }
        out << "\r\n";
    }
    return path;
}

QString first_row(const QPlainTextEdit& edit) {
    return edit.document()->firstBlock().text();
}

}  // namespace

class TestTextOutput : public QObject {
    Q_OBJECT

  private slots:
    void a_file_shows_its_first_lines_and_scrolls_by_key() {
        QTemporaryDir dir;
        vorelbox::common::AutoAnswerUi ui(true);
        vorelbox::fakes::FakeClipboard clipboard;
        TextOutputWidget page(ui, clipboard);
        page.resize(500, 400);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));

        QVERIFY(page.show_file(write_lines(dir, 100), "Vorelix Analysis", "Report: report.txt"));
        auto* edit = child<QPlainTextEdit>(page, "viewerEdit");
        QCOMPARE(first_row(*edit), QStringLiteral("line 1"));
        QVERIFY(edit->document()->blockCount() > 5);
        QCOMPARE(child<QLabel>(page, "fileNameLabel")->text(), QStringLiteral("Report: report.txt"));
        auto* scroll = child<QScrollBar>(page, "viewerScroll");
        QCOMPARE(scroll->maximum(), 81);

        QTest::keyClick(edit, Qt::Key_PageDown);
        QCOMPARE(scroll->value(), 21);
        QCOMPARE(first_row(*edit), QStringLiteral("line 21"));
        QTest::keyClick(edit, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(first_row(*edit), QStringLiteral("line 80"));
        child<QPushButton>(page, "lineNumbersButton")->click();
        QCOMPARE(first_row(*edit), QStringLiteral("80 line 80"));
        scroll->setValue(3);
        QCOMPARE(first_row(*edit), QStringLiteral("3 line 3"));
        QVERIFY(ui.messages().empty());
    }

    void f3_after_a_find_moves_to_the_next_hit() {
        QTemporaryDir dir;
        vorelbox::common::AutoAnswerUi ui(true);
        vorelbox::fakes::FakeClipboard clipboard;
        TextOutputWidget page(ui, clipboard);
        page.resize(500, 400);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QVERIFY(page.show_file(write_lines(dir, 100, {5, 50}), "Vorelix Analysis", "Report"));
        auto* edit = child<QPlainTextEdit>(page, "viewerEdit");

        bool dialog_seen = false;
        QTimer::singleShot(0, this, [&dialog_seen] {
            auto* dialog = qobject_cast<FindDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            dialog_seen = true;
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Find"));
            child<QLineEdit>(*dialog, "findTextEdit")->setText(QStringLiteral("NEEDLE"));
            child<QPushButton>(*dialog, "findNextButton")->click();
        });
        QTest::keyClick(edit, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(dialog_seen);
        QCOMPARE(page.viewer().hit.line, 5);
        QCOMPARE(first_row(*edit), QStringLiteral("line 3"));
        QCOMPARE(edit->textCursor().selectedText(), QStringLiteral("needle"));

        QTest::keyClick(edit, Qt::Key_F3);
        QCOMPARE(page.viewer().hit.line, 50);
        QCOMPARE(first_row(*edit), QStringLiteral("line 48"));
        QCOMPARE(edit->textCursor().blockNumber(), 2);
        QCOMPARE(edit->textCursor().selectedText(), QStringLiteral("needle"));

        QTest::keyClick(edit, Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(page.viewer().hit.line, 5);
        QVERIFY(ui.messages().empty());
    }

    void ctrl_c_copies_the_selection() {
        QTemporaryDir dir;
        vorelbox::common::AutoAnswerUi ui(true);
        vorelbox::fakes::FakeClipboard clipboard;
        TextOutputWidget page(ui, clipboard);
        page.resize(500, 400);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QVERIFY(page.show_file(write_lines(dir, 10), "Vorelix Analysis", "Report"));
        auto* edit = child<QPlainTextEdit>(page, "viewerEdit");

        QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);  // nothing selected
        QTextCursor cursor = edit->textCursor();
        cursor.setPosition(edit->document()->findBlockByNumber(1).position() + 5);
        cursor.setPosition(edit->document()->findBlockByNumber(2).position() + 4, QTextCursor::KeepAnchor);
        edit->setTextCursor(cursor);
        QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard.set_texts, (std::vector<std::string>{"", "2\nline"}));

        // Trailing blanks of the selection stay behind.
        const std::string padded = dir.filePath(QStringLiteral("padded.txt")).toStdString();
        std::ofstream(padded, std::ios::binary) << "value   next\r\n";
        QVERIFY(page.show_file(padded, "Vorelix Analysis", "Report"));
        cursor = edit->textCursor();
        cursor.setPosition(0);
        cursor.setPosition(8, QTextCursor::KeepAnchor);  // "value   " 
        edit->setTextCursor(cursor);
        QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QString::fromStdString(clipboard.set_texts.back()), QStringLiteral("value"));
    }
};

QTEST_MAIN(TestTextOutput)
#include "test_text_output.moc"
