#pragma once
// The main window: program choice, control-file line, tool bar, the three pages
// and the status bar.

#include <QMainWindow>
#include <QString>

#include <array>

#include "app_state.h"
#include "qt_clipboard.h"
#include "qt_ui.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QRadioButton;
class QTabWidget;
class QToolBar;

namespace vorelbox::platform {

class AdderPageWidget;
class ConverterPageWidget;

class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    // On a first start (state.program == 0) the converter becomes the active program.
    explicit MainWindow(core::AppState& state, QWidget* parent = nullptr);

    QtUi& ui() { return ui_; }
    common::Clipboard& clipboard() { return clipboard_; }
    core::AppState& state() { return state_; }
    AdderPageWidget* adder_page() const { return adder_page_; }
    ConverterPageWidget* converter_page() const { return converter_page_; }

    QTabWidget* page_tabs() const { return page_tabs_; }
    // Page 1..3 of the tab widget.
    QWidget* page(int number) const;

    // The converter's control file shown on the file line, and whether it has
    // unsaved changes. With the adder active the line shows the spectrum list instead.
    void set_file_path(const QString& path);
    void set_modified(bool modified);

    // Carries out a command of the adder page: the page's controls go into the
    // state, the command runs, and the page and the file line show the result.
    void run_adder_command(adder::AdderCommand command, int argument = 0);
    // The same for a command of the converter page, its File-menu entries and tool bar.
    void run_converter_command(converter::ConverterCommand command, int argument = 0);

  private:
    QWidget* build_program_line();
    QWidget* build_file_line();
    QToolBar* build_tool_bar();
    QTabWidget* build_pages();
    void build_menus();
    void build_status_bar();

    // The File menu and the tool bar hold the active program's entries.
    void fill_file_menu();
    void fill_tool_bar();
    // The recent spectrum lists (adder) or spectrum files (converter) in the File menu.
    void show_recent_lists();
    void show_file_line();
    void show_program_page();

    void select_program(int program);
    void show_about();

    core::AppState& state_;
    QtUi ui_;
    QtClipboard clipboard_;
    QAction* recent_separator_ = nullptr;  // shown only when there are recent files
    QRadioButton* adder_radio_ = nullptr;
    QRadioButton* converter_radio_ = nullptr;
    QLabel* file_label_ = nullptr;
    QLabel* modified_marker_ = nullptr;
    QLineEdit* file_path_ = nullptr;
    QString control_file_;
    bool control_file_modified_ = false;
    QToolBar* tool_bar_ = nullptr;
    QMenu* file_menu_ = nullptr;
    std::array<QAction*, 8> recent_actions_{};
    QTabWidget* page_tabs_ = nullptr;
    AdderPageWidget* adder_page_ = nullptr;
    ConverterPageWidget* converter_page_ = nullptr;
    // While a command runs (a dialog of it may run an event loop) no other starts.
    bool command_running_ = false;
    std::array<QLabel*, 3> status_parts_{};
};

}  // namespace vorelbox::platform
