#pragma once
// The main window: program choice, control-file line, tool bar, the three pages
// and the status bar.

#include <QMainWindow>

#include <array>

#include "app_state.h"
#include "qt_ui.h"

class QLabel;
class QLineEdit;
class QRadioButton;
class QTabWidget;
class QToolBar;

namespace vorelbox::platform {

class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    // On a first start (state.program == 0) the converter becomes the active program.
    explicit MainWindow(core::AppState& state, QWidget* parent = nullptr);

    QtUi& ui() { return ui_; }
    core::AppState& state() { return state_; }

    QTabWidget* page_tabs() const { return page_tabs_; }
    // Page 1..3 of the tab widget.
    QWidget* page(int number) const;

    // The control file shown on the file line, and whether it has unsaved changes.
    void set_file_path(const QString& path);
    void set_modified(bool modified);

  private:
    QWidget* build_program_line();
    QWidget* build_file_line();
    QToolBar* build_tool_bar();
    QTabWidget* build_pages();
    void build_menus();
    void build_status_bar();

    void select_program(int program);
    void show_about();

    core::AppState& state_;
    QtUi ui_;
    QRadioButton* adder_radio_ = nullptr;
    QRadioButton* converter_radio_ = nullptr;
    QLabel* modified_marker_ = nullptr;
    QLineEdit* file_path_ = nullptr;
    QTabWidget* page_tabs_ = nullptr;
    std::array<QLabel*, 3> status_parts_{};
};

}  // namespace vorelbox::platform
