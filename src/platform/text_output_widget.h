#pragma once
// The "Text output" page: a read-only view of a text file with its own vertical
// scroll bar, the "Filename:" line, the "#" toggle for line numbers and the Find
// dialog. The page's state is a display::TextViewer; the widget only feeds it the
// user's actions and shows it.

#include <QString>
#include <QWidget>

#include <optional>
#include <string>

#include "clipboard.h"
#include "text_search.h"
#include "text_viewer.h"
#include "ui.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QTimer;

namespace vorelbox::platform {

class TextOutputWidget : public QWidget {
    Q_OBJECT

  public:
    TextOutputWidget(common::Ui& ui, common::Clipboard& clipboard, QWidget* parent = nullptr);

    // Shows a file on the page: `kind` is the short label of what it is (the print
    // title), `caption` the text of the "Filename:" line. False, after a warning,
    // when the file cannot be read; the page then shows what it showed before.
    bool show_file(const std::string& path, const std::string& kind, const std::string& caption);

    // Reads the visible lines again, e.g. after the file was written to.
    void refresh();

    // The report font of the page setup: its name and size text ("10"; a size
    // that is not a number above 0 gives 10 points).
    void set_report_font(const std::string& name, const std::string& size_text);

    // The page's keys, also callable from the main window (Ctrl+Home and Ctrl+End
    // act on any page).
    void scroll_key(display::ViewerKey key);
    void open_find();      // Ctrl+F
    void find_next();      // F3
    void find_previous();  // Shift+F3
    void copy_selection(); // Ctrl+C: at most the first 64000 characters of the view, trailing blanks removed

    // The text area takes the keyboard, so that the page's keys work at once.
    void focus_viewer();

    const display::TextViewer& viewer() const { return viewer_; }

    // Shows the file from `position` on (the wheel's scrolling comes here).
    void scroll_to(display::LineNumber position);
    // Where the text is shown: the mouse wheel over it scrolls the file.
    QWidget* text_area() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool handle_key(int key, Qt::KeyboardModifiers modifiers);
    void redraw();
    void render();
    void search(display::SearchCommand command, const std::optional<display::FindSettings>& dialog);
    std::optional<display::ViewPosition> caret() const;
    std::optional<display::ViewSelection> selection() const;

    // Text of the file as shown, and back: UTF-8 unless the view is not UTF-8.
    QString decoded(const std::string& bytes) const;
    std::string encoded(const QString& text) const;
    // The byte offset in a row of a character offset in its shown text.
    std::size_t byte_offset(std::size_t row, int char_offset) const;

    common::Ui& ui_;
    common::Clipboard& clipboard_;
    display::TextViewer viewer_;
    bool latin1_ = false;

    QLabel* file_name_ = nullptr;
    QPushButton* line_numbers_ = nullptr;
    QPlainTextEdit* edit_ = nullptr;
    QScrollBar* scroll_ = nullptr;
    QTimer* resize_timer_ = nullptr;
};

}  // namespace vorelbox::platform
