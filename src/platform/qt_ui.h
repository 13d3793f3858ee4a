#pragma once
// The message boxes, file choosers and the status bar of the desktop program.

#include <QElapsedTimer>
#include <QPointer>
#include <QString>

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui.h"

class QLabel;
class QWidget;

namespace vorelbox::platform {

class QtUi : public common::Ui {
  public:
    // Boxes are shown over `parent` (the main window; may be null).
    explicit QtUi(QWidget* parent = nullptr);

    int show_message(const common::MessageRequest& request) override;

    // While `into` is set, boxes with a single button (warnings and notices) are
    // kept there instead of shown, so that the caller can show them as one
    // message; queries are still asked. Null shows boxes again.
    void gather_notices(std::vector<common::MessageRequest>* into) { gathered_ = into; }

    // Writes to the label of part 1..3 that the main window attached; other parts
    // and parts without a label are ignored. The label is painted at once, unless
    // a label was painted so less than a tenth of a second ago: it is then
    // painted when the program next waits for the user.
    void set_status_text(int part, const std::string& text) override;

    // Qt's file dialog; its own (not the system's) on the offscreen platform so
    // that the tests can drive it.
    std::string choose_file(const common::FileDialogRequest& request) override;

    // A small dialog: the text (after its caption, if any), then the field caption
    // beside an edit ("labelEdit") holding the proposed label, then "OK" and "Cancel".
    std::optional<std::string> ask_label(const common::LabelRequest& request) override;

    void attach_status_labels(const std::array<QLabel*, 3>& labels);

    // A program text as shown on screen: UTF-8 when it is valid UTF-8, Latin-1
    // otherwise; every '\r' becomes a line break and each line loses its trailing blanks.
    static QString display_text(std::string_view text);

    // A filter as Qt's file dialog reads it: the description, its parenthesised
    // patterns replaced by the filter's own ("*.a;*.b" becoming "*.a *.b", "*.*" "*").
    static QString name_filter(const common::FileFilter& filter);

  private:
    int show_box(const common::MessageRequest& request);
    int show_all_dialog(const common::MessageRequest& request);

    QPointer<QWidget> parent_;
    std::vector<common::MessageRequest>* gathered_ = nullptr;
    std::array<QPointer<QLabel>, 3> status_labels_;
    QElapsedTimer last_repaint_;  // when a status label was last painted at once
};

}  // namespace vorelbox::platform
