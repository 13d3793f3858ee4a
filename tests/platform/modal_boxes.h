#pragma once
// Answers the modal boxes that a test's actions open: every message box's text is
// recorded, and the box is closed by the button a test queued (by its text) or,
// with none queued, as its close box would close it. File dialogs are cancelled
// unless a path was queued for them.

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

class ModalBoxes : public QObject {
  public:
    ModalBoxes() {
        timer_.setInterval(10);
        connect(&timer_, &QTimer::timeout, this, &ModalBoxes::answer);
        timer_.start();
    }

    QStringList texts;    // every message box's text, in order
    QStringList buttons;  // the buttons to press, in order
    QStringList files;    // the paths the file dialogs return, in order
    QStringList dialogs;  // the titles of the file dialogs shown
    QStringList filters;  // the name filters of the file dialog shown last

  private:
    void answer() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            texts.append(box->text());
            if (!buttons.isEmpty()) {
                const QString wanted = buttons.takeFirst();
                for (QAbstractButton* b : box->buttons()) {
                    if (b->text() == wanted) {
                        b->click();
                        return;
                    }
                }
            }
            box->reject();
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            // A dialog still open after its answer gets the same answer again, a
            // few times: the dialog may not have taken the name yet.
            if (dialog != answering_) {
                answering_ = dialog;
                attempts_ = 0;
                dialogs.append(dialog->windowTitle());
                filters = dialog->nameFilters();
                answer_ = files.isEmpty() ? QString() : files.takeFirst();
            }
            if (answer_.isEmpty() || ++attempts_ > 50) {
                dialog->reject();
            } else {
                dialog->selectFile(answer_);
                // selectFile leaves the name field alone while it has the focus.
                if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
                    name->setText(answer_);
                }
                static_cast<QDialog*>(dialog)->accept();  // public there, and still the file dialog's own
            }
        }
    }

    QTimer timer_;
    QPointer<QFileDialog> answering_;  // the file dialog answered last, while it is open
    QString answer_;                   // its answer; empty: cancel
    int attempts_ = 0;
};
