#include "qt_ui.h"

#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
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

QString path_text(const std::string& path) {
    return QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
}

std::string utf8(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
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
    if (gathered_ != nullptr && request.buttons.size() <= 1 && !request.all_dialog) {
        gathered_->push_back(request);
        return buttons_of(request).front().id;
    }
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
    // A text set while a command works must show before the command ends, so the
    // label is painted at once; but at most ten times a second, as no one reads
    // faster, and a run of quick commands (files identified in a fraction of a
    // millisecond each, a list of them loaded) does not pay for paintings nobody
    // sees: painting a label's text costs more than identifying a small file. A
    // text not painted at once is painted as soon as the command is over.
    constexpr qint64 repaint_interval_ms = 100;
    if (!last_repaint_.isValid() || last_repaint_.elapsed() >= repaint_interval_ms) {
        label->repaint();
        last_repaint_.start();
    } else {
        label->update();
    }
}

QString QtUi::name_filter(const common::FileFilter& filter) {
    const QRegularExpression separators(QStringLiteral("[; ]"));
    QStringList patterns;
    for (const QString& p : path_text(filter.pattern).split(separators, Qt::SkipEmptyParts)) {
        patterns.append(p == QStringLiteral("*.*") ? QStringLiteral("*") : p);
    }
    if (patterns.isEmpty()) {
        patterns.append(QStringLiteral("*"));
    }
    QString description = from_program_text(filter.description).trimmed();
    if (description.endsWith(u')')) {
        const qsizetype open = description.lastIndexOf(u'(');
        if (open >= 0 && description.indexOf(u'*', open) >= 0) {
            description.truncate(open);
            description = description.trimmed();
        }
    }
    const QString joined = patterns.join(u' ');
    return description.isEmpty() ? joined : QStringLiteral("%1 (%2)").arg(description, joined);
}

std::string QtUi::choose_file(const common::FileDialogRequest& request) {
    QFileDialog dialog(parent_.data(), from_program_text(request.title));
    if (QGuiApplication::platformName() == QStringLiteral("offscreen")) {
        dialog.setOption(QFileDialog::DontUseNativeDialog);
    }
    QStringList filters;
    for (const common::FileFilter& f : request.filters) {
        filters.append(name_filter(f));
    }
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
    }
    if (request.kind == common::FileDialogKind::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirm_overwrite);
    }
    if (request.kind == common::FileDialogKind::SaveWithExtension) {
        QString suffix = path_text(request.default_extension);
        if (suffix.startsWith(u'.')) {
            suffix.remove(0, 1);
        }
        dialog.setDefaultSuffix(suffix);
    }
    if (request.kind != common::FileDialogKind::Open && request.filters.size() > 1) {
        // A name typed without an extension takes that of the chosen filter, so
        // that the filter decides the kind of file (a picture's EMF, PNG, SVG or PDF).
        const auto suffix_of = [](const QString& filter) {
            const qsizetype star = filter.indexOf(QStringLiteral("*."));
            if (star < 0) {
                return QString();
            }
            QString suffix = filter.mid(star + 2);
            const qsizetype end = suffix.indexOf(QRegularExpression(QStringLiteral("[ ;)]")));
            if (end >= 0) {
                suffix.truncate(end);
            }
            return suffix == QStringLiteral("*") ? QString() : suffix;
        };
        if (request.kind == common::FileDialogKind::Save) {
            dialog.setDefaultSuffix(suffix_of(filters.constFirst()));
        }
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog, suffix_of](const QString& filter) { dialog.setDefaultSuffix(suffix_of(filter)); });
    }
    if (!request.directory.empty()) {
        dialog.setDirectory(path_text(request.directory));
    }
    if (!request.file_name.empty()) {
        dialog.selectFile(path_text(request.file_name));
    }
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.constFirst().isEmpty()) {
        return {};
    }
    return utf8(QFileInfo(chosen.constFirst()).absoluteFilePath());
}

std::optional<std::string> QtUi::ask_label(const common::LabelRequest& request) {
    QDialog dialog(parent_.data());
    dialog.setWindowTitle(from_program_text(request.title));
    dialog.setModal(true);

    auto* layout = new QVBoxLayout(&dialog);
    auto* text_row = new QHBoxLayout;
    if (!request.text_caption.empty()) {
        auto* text_caption = new QLabel(from_program_text(request.text_caption), &dialog);
        text_caption->setObjectName(QStringLiteral("labelTextCaption"));
        text_caption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        text_row->addWidget(text_caption);
    }
    auto* text = new QLabel(display_text(request.text), &dialog);
    text->setObjectName(QStringLiteral("labelText"));
    text->setTextFormat(Qt::PlainText);
    text_row->addWidget(text, 1);
    layout->addLayout(text_row);

    auto* field_row = new QHBoxLayout;
    auto* caption = new QLabel(from_program_text(request.field_caption), &dialog);
    caption->setObjectName(QStringLiteral("labelCaption"));
    auto* edit = new QLineEdit(from_program_text(request.label), &dialog);
    edit->setObjectName(QStringLiteral("labelEdit"));
    edit->setMinimumWidth(300);
    caption->setBuddy(edit);
    field_row->addWidget(caption);
    field_row->addWidget(edit, 1);
    layout->addLayout(field_row);

    auto* button_row = new QHBoxLayout;
    button_row->addStretch(1);
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), &dialog);
    cancel->setAutoDefault(false);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    button_row->addWidget(ok);
    button_row->addWidget(cancel);
    layout->addLayout(button_row);

    // Showing the dialog gives the edit focus and selects its text; the caret is
    // placed after that.
    edit->setFocus();
    dialog.show();
    edit->deselect();
    edit->setCursorPosition(request.caret_at_start ? 0 : static_cast<int>(edit->text().size()));
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return utf8(edit->text());
}

void QtUi::attach_status_labels(const std::array<QLabel*, 3>& labels) {
    for (std::size_t i = 0; i < labels.size(); ++i) {
        status_labels_[i] = labels[i];
    }
}

}  // namespace vorelbox::platform
