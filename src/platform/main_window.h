#pragma once
// The main window: program choice, file line, tool bar, the three pages and the
// status bar. Its commands go to the dispatcher; the pages' own controls go to
// their page routines.

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app_state.h"
#include "dispatch.h"
#include "open_plan.h"
#include "draw_spectrum_list.h"
#include "qt_clipboard.h"
#include "qt_timers.h"
#include "qt_ui.h"

class QAction;
class QButtonGroup;
class QCloseEvent;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMimeData;
class QMenu;
class QRadioButton;
class QTabWidget;
class QToolBar;

namespace vorelbox::platform {

class AdderPageWidget;
class ConverterPageWidget;
class TextOutputWidget;
class MultispectrumPageWidget;
class MouseTranslator;

// Commands of the Help menu, which the window carries out itself.
namespace help_command {
constexpr int general = 1081;
constexpr int how_to_use = 1082;
constexpr int website = 30034;
constexpr int documentation = 30036;
constexpr int start_empty = 1335;
constexpr int start_previous = 1336;
constexpr int samples = 30090;  // where the sample spectra are
}  // namespace help_command

class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    // On a first start (state.program == 0) the converter becomes the active program.
    explicit MainWindow(core::AppState& state, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Reads the settings, restores the previous dataset (or opens the file named
    // on the command line) and shows the program chosen. Returns whether the
    // window should be shown maximised.
    bool start(const std::string& settings_path, const std::vector<std::string>& arguments);

    QtUi& ui() { return ui_; }
    common::Clipboard& clipboard() { return clipboard_; }
    core::AppState& state() { return state_; }
    AdderPageWidget* adder_page() const { return adder_page_; }
    ConverterPageWidget* converter_page() const { return converter_page_; }
    TextOutputWidget* text_page() const { return text_page_; }
    QTabWidget* page_tabs() const { return page_tabs_; }
    // Page 1..3 of the tab widget.
    QWidget* page(int number) const;
    int selected_tab() const;

    // A command of the menus, the tool bar, the keys or the program buttons.
    void run_command(int command);
    void run_help_command(int command);
    // A command of the adder page or the converter page.
    void run_adder_command(adder::AdderCommand command, int argument = 0);
    void run_converter_command(converter::ConverterCommand command, int argument = 0);
    // A mouse event on a plot or on the Text output page; true when it was used.
    bool mouse_action(const core::MouseEvent& event);

    // Files a second start of the program handed over: each opens as a file
    // named on the command line would, and the window comes to the front.
    void open_handed_over(const QStringList& files);
    // Carries out what the window does with files dropped on it or handed over.
    void open_files(const core::OpenPlan& plan);

  protected:
    // Closing the window by its frame is the Exit command.
    void closeEvent(QCloseEvent* event) override;
    // Files dropped on the window (main_window_open.cpp).
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Ctrl+P, Ctrl+S, Alt+S, F5, Ctrl+Home and Ctrl+End: the keys that act on every page.
    static bool is_window_key(const QKeyEvent& key);

    QWidget* build_program_line();
    QWidget* build_file_line();
    QToolBar* build_tool_bar();
    QTabWidget* build_pages();
    void build_menus();
    void build_shortcuts();
    void build_status_bar();
    void build_services();

    void fill_file_menu();
    void fill_tool_bar();
    void show_recent_lists();
    void show_file_line();
    void show_program_page();
    void show_start_choice();
    void render_pages();
    void tab_changed(int index);
    void refresh_graph();

    // The adder's list plot as a picture or on paper (its plot area's context menu).
    void save_list_picture();
    void print_list_plot();
    display::SpectrumListPlotPage list_plot_page() const;

    // The Multispectrum page: its commands, then its page and a pending redraw.
    void run_multispectrum(const std::function<void()>& command);
    void draw_multispectra(display::PlotTarget target);

    core::OpenPlan drop_plan(const QMimeData* data) const;
    void add_to_list(const std::vector<std::string>& files);

    int layout_unit() const;
    void update_minimum_size();

    void select_program(int program);
    void show_about();
    bool show_result(const std::string& file, const std::string& kind, const std::string& caption);
    core::WindowPlacement placement() const;

    core::AppState& state_;
    QtUi ui_;
    QtClipboard clipboard_;
    QtTimers timers_;
    core::Redraws redraws_;
    std::unique_ptr<core::Services> services_;
    std::string settings_path_;
    bool closing_ = false;

    QRadioButton* adder_radio_ = nullptr;
    QRadioButton* converter_radio_ = nullptr;
    QButtonGroup* program_group_ = nullptr;
    QLabel* file_label_ = nullptr;
    QLabel* modified_marker_ = nullptr;
    QLineEdit* file_path_ = nullptr;
    QToolBar* tool_bar_ = nullptr;
    QMenu* file_menu_ = nullptr;
    QAction* recent_separator_ = nullptr;  // shown only when there are recent files
    std::array<QAction*, 8> recent_actions_{};
    QAction* start_empty_action_ = nullptr;
    QAction* start_previous_action_ = nullptr;
    QTabWidget* page_tabs_ = nullptr;
    AdderPageWidget* adder_page_ = nullptr;
    ConverterPageWidget* converter_page_ = nullptr;
    TextOutputWidget* text_page_ = nullptr;
    MultispectrumPageWidget* multi_page_ = nullptr;
    std::vector<QPointer<MouseTranslator>> mouse_translators_;
    // While a command runs (a dialog of it may run an event loop) no other starts.
    bool command_running_ = false;
    std::array<QLabel*, 3> status_parts_{};
};

}  // namespace vorelbox::platform
