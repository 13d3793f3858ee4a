#pragma once
// The "Find" dialog of the Text output page: the text to find, whole words,
// case and direction. It closes on "&Find Next", "Find &Previous" or "Cancel".

#include <QDialog>
#include <QString>

#include "text_viewer.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace vorelbox::platform {

class FindDialog : public QDialog {
    Q_OBJECT

  public:
    enum class Choice { Cancel, FindNext, FindPrevious };

    // Shows `text` in "Fi&nd what:" and the options of `options` (its text is not used).
    FindDialog(const QString& text, const display::FindSettings& options, QWidget* parent = nullptr);

    // Runs the dialog modally and tells which button closed it.
    Choice ask();

    QString text() const;
    // The options as the dialog shows them; the text is left empty.
    display::FindSettings options() const;

  private:
    QLineEdit* text_ = nullptr;
    QCheckBox* whole_words_ = nullptr;
    QCheckBox* match_case_ = nullptr;
    QRadioButton* up_ = nullptr;
    QRadioButton* down_ = nullptr;
    Choice choice_ = Choice::Cancel;
};

}  // namespace vorelbox::platform
