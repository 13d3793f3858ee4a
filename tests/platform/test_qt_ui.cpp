// The message boxes and status texts of the desktop program, answered by a script
// that acts on the modal box once it is up.

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

#include "qt_ui.h"
#include "ui.h"

using vorelbox::common::MessageRequest;
using vorelbox::platform::QtUi;
namespace answer = vorelbox::common::answer;

namespace {

// Runs `action` on the first modal widget that comes up. Should nothing act
// within a few seconds, every modal widget is closed so that the test cannot hang.
class ModalScript : public QObject {
  public:
    explicit ModalScript(std::function<void(QWidget*)> action) : action_(std::move(action)) {
        poll();
        QTimer::singleShot(5000, this, [this] {
            timed_out = true;
            while (QWidget* w = QApplication::activeModalWidget()) {
                if (auto* d = qobject_cast<QDialog*>(w)) {
                    d->reject();
                } else {
                    w->close();
                }
                QApplication::processEvents();
            }
        });
    }

    bool acted = false;
    bool timed_out = false;

  private:
    void poll() {
        QTimer::singleShot(10, this, [this] {
            QWidget* w = QApplication::activeModalWidget();
            if (w == nullptr || !w->isVisible()) {
                poll();
                return;
            }
            acted = true;
            action_(w);
        });
    }

    std::function<void(QWidget*)> action_;
};

QAbstractButton* button_with_text(QWidget* w, const QString& text) {
    for (QAbstractButton* b : w->findChildren<QAbstractButton*>()) {
        if (b->text() == text) {
            return b;
        }
    }
    return nullptr;
}

std::function<void(QWidget*)> click(const QString& text) {
    return [text](QWidget* w) {
        QAbstractButton* b = button_with_text(w, text);
        QVERIFY2(b != nullptr, qPrintable(QStringLiteral("no button ") + text));
        b->click();
    };
}

void press_escape(QWidget* w) {
    QTest::keyClick(w, Qt::Key_Escape);
}
void press_enter(QWidget* w) {
    QTest::keyClick(w, Qt::Key_Return);
}
void close_box(QWidget* w) {
    w->close();
}

// Visible buttons of the box, left to right.
QStringList button_row(QWidget* w) {
    QList<QAbstractButton*> buttons;
    for (QAbstractButton* b : w->findChildren<QAbstractButton*>()) {
        if (b->isVisible()) {
            buttons.append(b);
        }
    }
    std::sort(buttons.begin(), buttons.end(), [w](QAbstractButton* a, QAbstractButton* b) {
        return a->mapTo(w, QPoint(0, 0)).x() < b->mapTo(w, QPoint(0, 0)).x();
    });
    QStringList texts;
    for (QAbstractButton* b : buttons) {
        texts.append(b->text());
    }
    return texts;
}

QString default_button(QWidget* w) {
    for (QPushButton* b : w->findChildren<QPushButton*>()) {
        if (b->isDefault()) {
            return b->text();
        }
    }
    return {};
}

}  // namespace

class TestQtUi : public QObject {
    Q_OBJECT

  private slots:
    void yes_no_all_buttons_return_their_ids() {
        QtUi ui;
        struct Case {
            QString caption;
            int expected;
        };
        const Case cases[] = {{"Yes to &all", answer::all}, {"&No", answer::no_button}};
        for (const Case& c : cases) {
            ModalScript script(click(c.caption));
            QCOMPARE(vorelbox::common::ASK_YES_NO_ALL(ui, "Replace the file?"), c.expected);
            QVERIFY(script.acted);
            QVERIFY(!script.timed_out);
        }
    }

    void all_dialog_layout_and_closing() {
        QtUi ui;
        QString title;
        QString text;
        QStringList row;
        QString def;
        ModalScript look([&](QWidget* w) {
            title = w->windowTitle();
            auto* label = w->findChild<QLabel*>();
            text = label != nullptr ? label->text() : QString();
            row = button_row(w);
            def = default_button(w);
            close_box(w);
        });
        QCOMPARE(vorelbox::common::ASK_OK_ALL(ui, "first\rsecond  "), answer::cancel);
        QVERIFY(!look.timed_out);
        QCOMPARE(title, QStringLiteral("Vorelbox Query"));
        QCOMPARE(text, QStringLiteral("first\nsecond"));
        QCOMPARE(row, (QStringList{"&Ok", "OK to &all", "Cancel"}));
        QCOMPARE(def, QStringLiteral("&Ok"));

        ModalScript escape(press_escape);
        QCOMPARE(vorelbox::common::ASK_OK_ALL(ui, "again"), 2);
        QVERIFY(!escape.timed_out);

        vorelbox::common::OkAllCaptions relabelled;
        relabelled.all = "Skip &all";
        ModalScript relabel(click("Skip &all"));
        QCOMPARE(vorelbox::common::ASK_OK_ALL(ui, "relabelled", relabelled), answer::all);
        QVERIFY(relabel.acted && !relabel.timed_out);
    }

    void yes_no_queries() {
        QtUi ui;
        ModalScript escape(press_escape);
        QCOMPARE(vorelbox::common::ASK_YNC(ui, "Save?"), 'C');
        QVERIFY(escape.acted && !escape.timed_out);

        ModalScript closed(close_box);
        QCOMPARE(vorelbox::common::ASK_YNC(ui, "Save?"), 'C');
        QVERIFY(closed.acted && !closed.timed_out);

        QStringList row;
        QString def;
        ModalScript enter([&](QWidget* w) {
            row = button_row(w);
            def = default_button(w);
            press_enter(w);
        });
        QCOMPARE(vorelbox::common::IASK_YNC(ui, "Save?"), answer::yes);
        QVERIFY(!enter.timed_out);
        QCOMPARE(row, (QStringList{"&Yes", "&No", "Cancel"}));
        QCOMPARE(def, QStringLiteral("&Yes"));

        ModalScript yes(click("&Yes"));
        QVERIFY(vorelbox::common::ASK_YN(ui, "Go on?"));
        QVERIFY(yes.acted && !yes.timed_out);
    }

    void box_without_close_button_returns_close_answer() {
        QtUi ui;
        MessageRequest r;
        r.caption = "Choose";
        r.text = "pick one";
        r.buttons = {{10, "&First"}, {20, "&Second"}};
        r.close_answer = 99;
        QStringList row;
        ModalScript escape([&](QWidget* w) {
            row = button_row(w);
            press_escape(w);
        });
        QCOMPARE(ui.show_message(r), 99);
        QVERIFY(!escape.timed_out);
        QCOMPARE(row, (QStringList{"&First", "&Second"}));

        ModalScript second(click("&Second"));
        QCOMPARE(ui.show_message(r), 20);
    }

    void shown_text_title_and_icon() {
        QtUi ui;
        QString text;
        QString title;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        ModalScript look([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box != nullptr);
            text = box->text();
            title = box->windowTitle();
            icon = box->icon();
            click("OK")(w);
        });
        vorelbox::common::TELL(ui, "line one\rline two   ");
        QVERIFY(!look.timed_out);
        QCOMPARE(text, QStringLiteral("line one\nline two"));
        QCOMPARE(title, QStringLiteral("Vorelbox Information"));
        QCOMPARE(icon, QMessageBox::Information);
    }

    void warning_flag_is_set_while_the_box_is_up() {
        QtUi ui;
        bool open_while_shown = false;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        ModalScript look([&](QWidget* w) {
            open_while_shown = ui.warning_open();
            if (auto* box = qobject_cast<QMessageBox*>(w)) {
                icon = box->icon();
            }
            close_box(w);
        });
        QVERIFY(!ui.warning_open());
        vorelbox::common::WARN(ui, "The file is damaged");
        QVERIFY(look.acted && !look.timed_out);
        QVERIFY(open_while_shown);
        QCOMPARE(icon, QMessageBox::Warning);
        QVERIFY(!ui.warning_open());
    }

    void label_dialog_gives_the_edited_text_or_nothing() {
        QtUi ui;
        vorelbox::common::LabelRequest r;
        r.title = "Vorelix Query";
        r.text = "Include sum in list?";
        r.field_caption = "Sum Spectrum Label:";
        r.label = "Sum of 4";
        r.caret_at_start = true;
        QString shown_label;
        int caret = -1;
        ModalScript edit([&](QWidget* w) {
            auto* field = w->findChild<QLineEdit*>(QStringLiteral("labelEdit"));
            QVERIFY(field != nullptr);
            shown_label = field->text();
            caret = field->cursorPosition();
            field->setText(QString::fromUtf8("Sum 20 \xC2\xB5s"));
            click("OK")(w);
        });
        QCOMPARE(ui.ask_label(r), std::optional<std::string>("Sum 20 \xC2\xB5s"));
        QVERIFY(edit.acted && !edit.timed_out);
        QCOMPARE(shown_label, QStringLiteral("Sum of 4"));
        QCOMPARE(caret, 0);

        ModalScript cancel(click("Cancel"));
        QCOMPARE(ui.ask_label(r), std::nullopt);
        QVERIFY(cancel.acted && !cancel.timed_out);
    }

    void save_dialog_filters_and_adds_the_extension() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const std::string folder = dir.path().toStdString();
        QtUi ui;
        QStringList filters;
        ModalScript accept([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            QVERIFY(dialog != nullptr);
            filters = dialog->nameFilters();
            static_cast<QDialog*>(dialog)->accept();  // QFileDialog checks the typed name
        });
        const std::string chosen = vorelbox::common::SAVE_FILEWEXT(
            ui, folder + "/summed", "Save spectrum list",
            "Spectrum list (*.vsl)|*.vsl|Spectra (*.spe;*.chn)|*.spe;*.chn|All files|*.*||",
            ".vsl");
        QVERIFY(accept.acted && !accept.timed_out);
        QCOMPARE(filters, (QStringList{"Spectrum list (*.vsl)", "Spectra (*.spe *.chn)",
                                       "All files (*)"}));
        QCOMPARE(chosen, folder + "/summed.vsl");

        ModalScript cancel([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
        QCOMPARE(vorelbox::common::FIND_FILEW(ui, folder + "/x.vsl", "Load", "Lists|*.vsl||"),
                 std::string());
        QVERIFY(cancel.acted);
    }

    void display_text_conversion() {
        QCOMPARE(QtUi::display_text("a  \rb\t\r\rc"), QStringLiteral("a\nb\n\nc"));
        QCOMPARE(QtUi::display_text("  lead"), QStringLiteral("  lead"));
        // Valid UTF-8 is read as such, anything else as Latin-1.
        QCOMPARE(QtUi::display_text("5 \xC2\xB5s"), QString::fromUtf8("5 \xC2\xB5s"));
        QCOMPARE(QtUi::display_text("5 \xB5s"), QString(QStringLiteral("5 ") + QChar(0xB5) + "s"));
    }

    void status_text_goes_to_the_attached_parts() {
        QtUi ui;
        QLabel one;
        QLabel two;
        QLabel three;
        ui.attach_status_labels({&one, &two, &three});
        ui.set_status_text(2, "Loading");
        vorelbox::common::STATUS(ui, "  12 spectra  ");
        ui.set_status_text(0, "nowhere");
        ui.set_status_text(4, "nowhere");
        QCOMPARE(one.text(), QString());
        QCOMPARE(two.text(), QStringLiteral("Loading"));
        QCOMPARE(three.text(), QStringLiteral("12 spectra"));
    }
};

QTEST_MAIN(TestQtUi)
#include "test_qt_ui.moc"
