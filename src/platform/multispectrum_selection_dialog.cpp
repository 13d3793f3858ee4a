#include "multispectrum_selection_dialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "qt_ui.h"

namespace vorelbox::platform {

using display::MultiCommand;

MultispectrumSelectionDialog::MultispectrumSelectionDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("multispectrumSelection"));
    setWindowTitle(QString::fromLatin1(display::SELECTION_DIALOG_TITLE));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("selectionList"));
    list_->setSelectionMode(QAbstractItemView::MultiSelection);
    layout->addWidget(list_, 1);

    auto* buttons = new QDialogButtonBox(this);
    const auto add = [&](const QString& caption, const char* name, MultiCommand command) {
        auto* button = buttons->addButton(caption, QDialogButtonBox::ActionRole);
        button->setObjectName(QString::fromLatin1(name));
        connect(button, &QPushButton::clicked, this, [this, command] { emit chosen(command); });
        return button;
    };
    add(tr("&OK"), "selectionOkButton", MultiCommand::SelectionOk)->setDefault(true);
    add(tr("&All"), "selectionAllButton", MultiCommand::SelectionAll);
    add(tr("&Cancel"), "selectionCancelButton", MultiCommand::SelectionCancel);
    layout->addWidget(buttons);
    resize(520, 360);
}

void MultispectrumSelectionDialog::set_lines(const std::vector<std::string>& lines) {
    QStringList texts;
    for (const std::string& line : lines) {
        texts.append(QtUi::display_text(line));
    }
    QStringList shown;
    for (int i = 0; i < list_->count(); ++i) {
        shown.append(list_->item(i)->text());
    }
    if (shown != texts) {
        list_->clear();
        list_->addItems(texts);
    }
}

void MultispectrumSelectionDialog::set_highlighted(const std::vector<int>& lines) {
    const QSignalBlocker block(list_);
    list_->clearSelection();
    for (const int line : lines) {
        if (line >= 1 && line <= list_->count()) {
            list_->item(line - 1)->setSelected(true);
        }
    }
}

std::vector<int> MultispectrumSelectionDialog::highlighted() const {
    std::vector<int> lines;
    for (int i = 0; i < list_->count(); ++i) {
        if (list_->item(i)->isSelected()) {
            lines.push_back(i + 1);
        }
    }
    return lines;
}

void MultispectrumSelectionDialog::reject() {
    QDialog::reject();
    emit chosen(MultiCommand::SelectionCancel);
}

}  // namespace vorelbox::platform
