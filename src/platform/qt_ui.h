#pragma once
// The message boxes and the status bar of the desktop program.

#include <QPointer>
#include <QString>

#include <array>
#include <string>
#include <string_view>

#include "ui.h"

class QLabel;
class QWidget;

namespace vorelbox::platform {

class QtUi : public common::Ui {
  public:
    // Boxes are shown over `parent` (the main window; may be null).
    explicit QtUi(QWidget* parent = nullptr);

    int show_message(const common::MessageRequest& request) override;

    // Writes to the label of part 1..3 that the main window attached; other parts
    // and parts without a label are ignored.
    void set_status_text(int part, const std::string& text) override;

    void attach_status_labels(const std::array<QLabel*, 3>& labels);

    // A program text as shown on screen: UTF-8 when it is valid UTF-8, Latin-1
    // otherwise; every '\r' becomes a line break and each line loses its trailing blanks.
    static QString display_text(std::string_view text);

  private:
    int show_box(const common::MessageRequest& request);
    int show_all_dialog(const common::MessageRequest& request);

    QPointer<QWidget> parent_;
    std::array<QPointer<QLabel>, 3> status_labels_;
};

}  // namespace vorelbox::platform
