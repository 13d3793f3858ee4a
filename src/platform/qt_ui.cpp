#include "qt_ui.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStringDecoder>
#include <QVBoxLayout>

#include <map>
#include <vector>

namespace vorelbox::platform {
namespace {

QString from_program_text(std::string_view text) {
    const QByteArrayView bytes(text.data(), static_cast<qsizetype>(text.size()));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = utf8.decode(bytes);
    if (utf8.hasError()) {
        return QString::fromLatin1(bytes);
    }
    return decoded;
}

// The buttons to show: a box without any gets an "OK" that stands for closing it.
std::vector<common::MessageButton> buttons_of(const common::MessageRequest& request) {
    if (request.buttons.empty()) {
        return {{request.close_answer, "OK"}};
    }
    return request.buttons;
}

bool is_trailing_blank(QChar c) {
    return c == u' ' || c == u'\t' || c == QChar(0);
}

QMessageBox::Icon box_icon(common::MessageIcon icon) {
    switch (icon) {
        case common::MessageIcon::Information:
            return QMessageBox::Information;
        case common::MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case common::MessageIcon::Question:
            return QMessageBox::Question;
        case common::MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

QtUi::QtUi(QWidget* parent) : parent_(parent) {}

QString QtUi::display_text(std::string_view text) {
    QStringList lines = from_program_text(text).split(u'\r');
    for (QString& line : lines) {
        qsizetype end = line.size();
        while (end > 0 && is_trailing_blank(line.at(end - 1))) {
            --end;
        }
        line.truncate(end);
    }
    return lines.join(u'\n');
}

int QtUi::show_message(const common::MessageRequest& request) {
    return request.all_dialog ? show_all_dialog(request) : show_box(request);
}

int QtUi::show_box(const common::MessageRequest& request) {
    QMessageBox box(parent_.data());
    box.setWindowTitle(from_program_text(request.caption));
    box.setIcon(box_icon(request.icon));
    box.setTextFormat(Qt::PlainText);
    box.setText(display_text(request.text));

    // All buttons share one role so that the box keeps them in the order given.
    std::map<const QAbstractButton*, int> ids;
    QPushButton* first = nullptr;
    QPushButton* escape = nullptr;
    for (const common::MessageButton& b : buttons_of(request)) {
        QPushButton* button = box.addButton(from_program_text(b.caption), QMessageBox::ActionRole);
        ids[button] = b.id;
        if (first == nullptr) {
            first = button;
        }
        if (escape == nullptr && b.id == request.close_answer) {
            escape = button;
        }
    }
    if (escape == nullptr) {
        // No button stands for closing: an invisible one does, so that Escape and
        // the close box still end the box.
        escape = box.addButton(QString(), QMessageBox::RejectRole);
        escape->setObjectName(QStringLiteral("closeStandIn"));
        escape->hide();
    }
    box.setEscapeButton(escape);
    if (first != nullptr) {
        box.setDefaultButton(first);
    }

    box.exec();
    const auto found = ids.find(box.clickedButton());
    return found == ids.end() ? request.close_answer : found->second;
}

int QtUi::show_all_dialog(const common::MessageRequest& request) {
    QDialog dialog(parent_.data());
    dialog.setWindowTitle(from_program_text(request.caption));
    dialog.setModal(true);

    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel(display_text(request.text), &dialog);
    label->setObjectName(QStringLiteral("queryText"));
    label->setTextFormat(Qt::PlainText);
    layout->addWidget(label);

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    int chosen = request.close_answer;
    bool first = true;
    for (const common::MessageButton& b : buttons_of(request)) {
        auto* button = new QPushButton(from_program_text(b.caption), &dialog);
        button->setAutoDefault(false);
        button->setDefault(first);
        first = false;
        const int id = b.id;
        QObject::connect(button, &QPushButton::clicked, &dialog, [&dialog, &chosen, id] {
            chosen = id;
            dialog.done(id);
        });
        row->addWidget(button);
    }
    layout->addLayout(row);

    dialog.exec();
    return chosen;
}

void QtUi::set_status_text(int part, const std::string& text) {
    if (part < 1 || part > static_cast<int>(status_labels_.size())) {
        return;
    }
    QLabel* label = status_labels_[static_cast<std::size_t>(part - 1)].data();
    if (label == nullptr) {
        return;
    }
    label->setText(from_program_text(text));
    label->repaint();
}

void QtUi::attach_status_labels(const std::array<QLabel*, 3>& labels) {
    for (std::size_t i = 0; i < labels.size(); ++i) {
        status_labels_[i] = labels[i];
    }
}

}  // namespace vorelbox::platform
