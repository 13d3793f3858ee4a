#include "page_setup_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace vorelbox::platform {
namespace {

QString qt_text(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string utf8(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QLineEdit* margin_edit(const char* name) {
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

QComboBox* font_combo(const char* name) {
    auto* combo = new QComboBox;
    combo->setObjectName(QString::fromLatin1(name));
    return combo;
}

void list_fonts(QComboBox* combo, const std::vector<std::string>& fonts) {
    combo->clear();
    for (const std::string& font : fonts) {
        combo->addItem(qt_text(font));
    }
}

QComboBox* size_combo(const char* name) {
    auto* combo = new QComboBox;
    combo->setObjectName(QString::fromLatin1(name));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->lineEdit()->setMaxLength(static_cast<int>(print::FONT_SIZE_LENGTH));
    for (const std::string_view size : print::FONT_SIZE_LIST) {
        combo->addItem(QString::fromLatin1(size.data(), static_cast<qsizetype>(size.size())));
    }
    return combo;
}

// Selects the name; a name that is not listed (a font not installed) is put first.
void select_font(QComboBox* combo, const std::string& name) {
    const QString text = qt_text(name);
    int index = combo->findText(text);
    if (index < 0 && !text.isEmpty()) {
        combo->insertItem(0, text);
        index = 0;
    }
    combo->setCurrentIndex(index);
}

}  // namespace

print::FontLists installed_font_lists() {
    std::vector<print::FontFamily> families;
    for (const QString& family : QFontDatabase::families()) {
        if (QFontDatabase::isPrivateFamily(family)) {
            continue;
        }
        families.push_back({utf8(family), QFontDatabase::isSmoothlyScalable(family),
                            QFontDatabase::isFixedPitch(family),
                            QFontDatabase::writingSystems(family).contains(QFontDatabase::Latin)});
    }
    return print::font_lists(families);
}

PageSetupDialog::PageSetupDialog(QWidget* parent)
    : QDialog(parent),
      left_(margin_edit("leftMarginEdit")),
      top_(margin_edit("topMarginEdit")),
      right_(margin_edit("rightMarginEdit")),
      bottom_(margin_edit("bottomMarginEdit")),
      report_font_(font_combo("reportFontCombo")),
      report_size_(size_combo("reportSizeCombo")),
      graphics_font_(font_combo("graphicsFontCombo")),
      graphics_size_(size_combo("graphicsSizeCombo")),
      page_header_(new QCheckBox(tr("Print page header"))) {
    setWindowTitle(tr("Vorelbox- Page Setup"));
    setModal(true);
    page_header_->setObjectName(QStringLiteral("pageHeaderCheck"));

    auto* margins = new QGroupBox(tr("Margins (in cm)"));
    auto* margin_form = new QFormLayout(margins);
    margin_form->addRow(tr("Left"), left_);
    margin_form->addRow(tr("Right"), right_);
    margin_form->addRow(tr("Top"), top_);
    margin_form->addRow(tr("Bottom"), bottom_);

    auto* fonts_box = new QGroupBox;
    auto* font_grid = new QGridLayout(fonts_box);
    font_grid->addWidget(new QLabel(tr("Report font\n(monospaced only)")), 0, 0);
    font_grid->addWidget(report_font_, 0, 1);
    font_grid->addWidget(report_size_, 0, 2);
    font_grid->addWidget(new QLabel(tr("Graphics font")), 1, 0);
    font_grid->addWidget(graphics_font_, 1, 1);
    font_grid->addWidget(graphics_size_, 1, 2);
    font_grid->setColumnStretch(1, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(margins);
    layout->addWidget(fonts_box);
    layout->addWidget(page_header_);
    layout->addWidget(buttons);
}

void PageSetupDialog::set_font_lists(const print::FontLists& fonts) {
    list_fonts(report_font_, fonts.monospaced);
    list_fonts(graphics_font_, fonts.all);
}

void PageSetupDialog::show_entry(const print::PageSetupEntry& entry) {
    left_->setText(qt_text(entry.left));
    top_->setText(qt_text(entry.top));
    right_->setText(qt_text(entry.right));
    bottom_->setText(qt_text(entry.bottom));
    select_font(report_font_, entry.report_font);
    select_font(graphics_font_, entry.graphics_font);
    report_size_->setEditText(qt_text(entry.report_font_size));
    graphics_size_->setEditText(qt_text(entry.graphics_font_size));
    page_header_->setChecked(entry.print_page_header);
}

print::PageSetupEntry PageSetupDialog::entry() const {
    print::PageSetupEntry entry;
    entry.left = utf8(left_->text());
    entry.top = utf8(top_->text());
    entry.right = utf8(right_->text());
    entry.bottom = utf8(bottom_->text());
    entry.report_font = utf8(report_font_->currentText());
    entry.report_font_size = utf8(report_size_->currentText());
    entry.graphics_font = utf8(graphics_font_->currentText());
    entry.graphics_font_size = utf8(graphics_size_->currentText());
    entry.print_page_header = page_header_->isChecked();
    return entry;
}

void SETUPFONTS(PageSetupDialog& dialog, const print::FontLists& fonts, const print::PageSetup& setup) {
    dialog.set_font_lists(fonts);
    dialog.show_entry(print::page_setup_entry(setup));
}

PageSetupOutcome run_page_setup_dialog(QWidget* parent, common::Ui& ui, const print::PageSetup& current) {
    const print::FontLists fonts = installed_font_lists();
    PageSetupOutcome outcome{current, false};
    for (;;) {
        PageSetupDialog dialog(parent);
        SETUPFONTS(dialog, fonts, outcome.setup);
        if (dialog.exec() != QDialog::Accepted) {
            return outcome;
        }
        const print::PageSetupTaken taken = print::take_page_setup(ui, outcome.setup, dialog.entry());
        outcome.setup = taken.setup;
        if (taken.valid) {
            outcome.accepted = true;
            return outcome;
        }
    }
}

}  // namespace vorelbox::platform
