#pragma once
// "Select spectra for multiplot": a modeless dialog listing the spectra of the
// Multispectrum page's file, several of which can be highlighted, with "&OK",
// "&All" and "&Cancel". Closing it counts as "&Cancel".

#include <QDialog>

#include <string>
#include <vector>

#include "multispectrum.h"

class QListWidget;

namespace vorelbox::platform {

class MultispectrumSelectionDialog : public QDialog {
    Q_OBJECT

  public:
    explicit MultispectrumSelectionDialog(QWidget* parent = nullptr);

    // The list's lines; the highlighted ones are 1-based line numbers.
    void set_lines(const std::vector<std::string>& lines);
    void set_highlighted(const std::vector<int>& lines);
    std::vector<int> highlighted() const;

    // Hides the dialog and answers "&Cancel".
    void reject() override;

  signals:
    // SelectionOk, SelectionAll or SelectionCancel.
    void chosen(vorelbox::display::MultiCommand command);

  private:
    QListWidget* list_ = nullptr;
};

}  // namespace vorelbox::platform
