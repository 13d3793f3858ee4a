#pragma once
// The modal "Vorelbox- Page Setup" dialog: page margins, the report font (monospaced
// fonts only) and the graphics font with their sizes, and the page-header switch.

#include <QDialog>

#include "fonts.h"
#include "page_setup.h"
#include "ui.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace vorelbox::platform {

// The installed fonts in the two lists of the dialog.
print::FontLists installed_font_lists();

// Controls, by object name: "leftMarginEdit", "topMarginEdit", "rightMarginEdit",
// "bottomMarginEdit", "reportFontCombo", "reportSizeCombo", "graphicsFontCombo",
// "graphicsSizeCombo", "pageHeaderCheck".
class PageSetupDialog : public QDialog {
    Q_OBJECT
  public:
    explicit PageSetupDialog(QWidget* parent = nullptr);

    // Lists the monospaced fonts for the report font and all for the graphics font.
    void set_font_lists(const print::FontLists& fonts);
    void show_entry(const print::PageSetupEntry& entry);
    print::PageSetupEntry entry() const;

  private:
    QLineEdit* left_;
    QLineEdit* top_;
    QLineEdit* right_;
    QLineEdit* bottom_;
    QComboBox* report_font_;
    QComboBox* report_size_;
    QComboBox* graphics_font_;
    QComboBox* graphics_size_;
    QCheckBox* page_header_;
};

// The dialog's start: fills its font lists and shows the stored values, margins
// written "(f10.2)"; a font that is not installed is listed first.
void SETUPFONTS(PageSetupDialog& dialog, const print::FontLists& fonts, const print::PageSetup& setup);

struct PageSetupOutcome {
    print::PageSetup setup;  // the values stored now
    bool accepted = false;   // the dialog ended with a valid OK
};

// Shows the dialog with the current values until it is cancelled or OK is pressed with
// legal sizes ("Illegal fontsize" otherwise, and it comes back with the values stored
// so far). The main window keeps the outcome's values either way.
PageSetupOutcome run_page_setup_dialog(QWidget* parent, common::Ui& ui, const print::PageSetup& current);

}  // namespace vorelbox::platform
