#include "find_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "text_search.h"

namespace vorelbox::platform {

FindDialog::FindDialog(const QString& text, const display::FindSettings& options, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("findDialog"));
    setWindowTitle(tr("Find"));

    auto* label = new QLabel(tr("Fi&nd what:"), this);
    text_ = new QLineEdit(text, this);
    text_->setObjectName(QStringLiteral("findTextEdit"));
    text_->setMaxLength(static_cast<int>(display::SEARCH_TEXT_CHARS));
    text_->selectAll();
    label->setBuddy(text_);

    whole_words_ = new QCheckBox(tr("Match &whole words only"), this);
    whole_words_->setObjectName(QStringLiteral("wholeWordsCheck"));
    whole_words_->setChecked(options.whole_words);
    match_case_ = new QCheckBox(tr("Match &case"), this);
    match_case_->setObjectName(QStringLiteral("matchCaseCheck"));
    match_case_->setChecked(options.match_case);

    auto* direction = new QGroupBox(tr("Direction"), this);
    up_ = new QRadioButton(tr("&Up"), direction);
    up_->setObjectName(QStringLiteral("upRadio"));
    down_ = new QRadioButton(tr("&Down"), direction);
    down_->setObjectName(QStringLiteral("downRadio"));
    (options.upward ? up_ : down_)->setChecked(true);
    auto* direction_layout = new QHBoxLayout(direction);
    direction_layout->addWidget(up_);
    direction_layout->addWidget(down_);

    auto* find_next = new QPushButton(tr("&Find Next"), this);
    find_next->setObjectName(QStringLiteral("findNextButton"));
    find_next->setDefault(true);
    auto* find_previous = new QPushButton(tr("Find &Previous"), this);
    find_previous->setObjectName(QStringLiteral("findPreviousButton"));
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    connect(find_next, &QPushButton::clicked, this, [this] {
        choice_ = Choice::FindNext;
        accept();
    });
    connect(find_previous, &QPushButton::clicked, this, [this] {
        choice_ = Choice::FindPrevious;
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* grid = new QGridLayout;
    grid->addWidget(label, 0, 0);
    grid->addWidget(text_, 0, 1, 1, 2);
    grid->addWidget(whole_words_, 1, 0, 1, 2);
    grid->addWidget(match_case_, 2, 0, 1, 2);
    grid->addWidget(direction, 1, 2, 2, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(find_next);
    buttons->addWidget(find_previous);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addLayout(buttons);
}

FindDialog::Choice FindDialog::ask() {
    choice_ = Choice::Cancel;
    exec();
    return choice_;
}

QString FindDialog::text() const {
    return text_->text();
}

display::FindSettings FindDialog::options() const {
    display::FindSettings settings;
    settings.whole_words = whole_words_->isChecked();
    settings.match_case = match_case_->isChecked();
    settings.upward = up_->isChecked();
    return settings;
}

}  // namespace vorelbox::platform
