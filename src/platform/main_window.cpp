#include "qt_text.h"
#include "main_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFontMetrics>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QRadioButton>
#include <QScreen>
#include <QSizePolicy>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include "adder_commands.h"
#include "adder_page_widget.h"
#include "converter_page_widget.h"
#include "mouse_translator.h"
#include "multispectrum_page_widget.h"
#include "multispectrum_paint.h"
#include "draw_spectrum.h"
#include "draw_spectrum_list.h"
#include "page_setup_dialog.h"
#include "plot_area.h"
#include "print_canvas.h"
#include "print_file.h"
#include "program_files.h"
#include "program_setup.h"
#include "qt_print_device.h"
#include "startup.h"
#include "status_part.h"
#include "text_output_widget.h"

namespace vorelbox::platform {
namespace {

// A control that a command disables hands the keyboard to the next control of
// the window, which may lie outside the page: the program buttons, where an
// arrow key would switch programs. The focus that was on a page stays on it.
class FocusOnPage {
  public:
    explicit FocusOnPage(QWidget* page) : page_(page), before_(QApplication::focusWidget()) {
        if (before_ != nullptr && !page_->isAncestorOf(before_)) {
            before_ = nullptr;
        }
    }
    FocusOnPage(const FocusOnPage&) = delete;
    FocusOnPage& operator=(const FocusOnPage&) = delete;
    ~FocusOnPage() {
        QWidget* now = QApplication::focusWidget();
        if (before_ == nullptr || !page_->isVisible() || (now != nullptr && page_->isAncestorOf(now))) {
            return;
        }
        for (QWidget* w = before_->nextInFocusChain(); w != nullptr && w != before_; w = w->nextInFocusChain()) {
            if (page_->isAncestorOf(w) && w->isEnabled() && w->isVisible() && (w->focusPolicy() & Qt::TabFocus) != 0) {
                w->setFocus(Qt::TabFocusReason);
                return;
            }
        }
        page_->setFocus(Qt::OtherFocusReason);
    }

  private:
    QWidget* page_;
    QPointer<QWidget> before_;
};

}  // namespace

MainWindow::MainWindow(core::AppState& state, QWidget* parent) : QMainWindow(parent), state_(state), ui_(this) {
    if (state_.program == 0) {
        state_.program = core::PROGRAM_CONVERTER;
    }
    setWindowTitle(qt_text(core::main_window_caption()));
    const int g = layout_unit();
    resize(1120 * g, 780 * g);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(build_program_line());
    layout->addWidget(build_file_line());
    layout->addWidget(build_tool_bar());
    layout->addWidget(build_pages(), 1);
    setCentralWidget(central);
    // Spectrum files and lists can be dropped on the window.
    setAcceptDrops(true);

    build_menus();
    build_shortcuts();
    build_status_bar();
    build_services();
    update_minimum_size();

    state_.program_folder = std_text(QCoreApplication::applicationDirPath());
    ui_.dialog_folders().program = state_.program_folder;
    ui_.dialog_folders().home = std_text(QDir::homePath());
    state_.adder.program_folder = state_.program_folder;
    state_.converter.program_folder = state_.program_folder;
    render_pages();
    show_file_line();
}

MainWindow::~MainWindow() {
    // The pages outlive this object's own members while Qt takes them down;
    // the last events they see (leaving, focus) must not reach it.
    for (const QPointer<MouseTranslator>& translator : mouse_translators_) {
        if (translator) {
            translator->detach();
        }
    }
}

int MainWindow::layout_unit() const {
    // The height of "Vorelbox" in the window's font / 16; every size is a multiple of it.
    return std::max(1, QFontMetrics(font()).boundingRect(QStringLiteral("Vorelbox")).height() / 16);
}

void MainWindow::update_minimum_size() {
    // 920 g by 640 g, as far as the screen allows, and never less than the pages
    // need: a smaller window would cut texts and let the plots cover the controls.
    const int g = layout_unit();
    QSize floor(920 * g, 640 * g);
    if (const QScreen* s = screen()) {
        floor = floor.boundedTo(s->availableSize());
    }
    if (QLayout* l = layout()) {
        l->activate();
    }
    setMinimumSize(floor.expandedTo(QMainWindow::minimumSizeHint()));
}

void MainWindow::build_services() {
    // The plots draw from the state when they are painted; the labels they set
    // are shown once the painting is over.
    const auto draw_adder = [this](display::Canvas& canvas) {
        display::draw_adder_plot(canvas, state_.store, state_.adder, state_.settings.page_setup);
        QMetaObject::invokeMethod(this, [this] { adder_page_->render(state_.adder); }, Qt::QueuedConnection);
    };
    const auto draw_converter = [this](display::Canvas& canvas) {
        display::draw_converter_plot(canvas, state_.store, state_.converter, state_.settings.page_setup);
        core::draw_trim_lines(canvas, state_.mouse.trim_lines);
        QMetaObject::invokeMethod(this, [this] { converter_page_->render(state_.converter); }, Qt::QueuedConnection);
    };
    redraws_.draw_spectrum = [this, draw_adder, draw_converter] {
        if (state_.adder_active()) {
            adder_page_->set_plot(draw_adder);
        } else {
            // The drawing replaces the red lines of the trimming points.
            state_.mouse.trim_lines.clear();
            converter_page_->set_plot(draw_converter);
        }
    };
    redraws_.draw_list = [this, draw_adder] { adder_page_->set_plot(draw_adder); };
    redraws_.draw_multispectra = [this] {
        display::MultispectrumState& st = state_.multispectrum;
        multi_page_->read_into(st);
        display::MULTISPECTRUM_RANGES_FOR_VORELBOX(st, ui_, display::MultiControl::None, display::MultiReason::Refresh);
        display::prepare_multispectra(st, ui_);
        st.redraw_request = false;
        multi_page_->render(st);
        multi_page_->set_plot([this](display::Canvas& canvas) {
            display::paint_multispectra(canvas, display::PlotTarget::Show, state_.multispectrum,
                                        state_.settings.page_setup);
        });
    };
    redraws_.refont_viewer = [this] {
        const auto& setup = state_.settings.page_setup;
        text_page_->set_report_font(setup.report_font, setup.report_font_size);
    };
    services_ = std::make_unique<core::Services>(ui_, clipboard_, timers_, redraws_);
    core::Services& s = *services_;
    s.selected_tab = [this] { return selected_tab(); };
    s.setup_program = [this](int program) { select_program(program); };
    s.page_setup = [this] {
        const PageSetupOutcome outcome = run_page_setup_dialog(this, ui_, state_.settings.page_setup);
        state_.settings.page_setup = outcome.setup;
        if (outcome.accepted && selected_tab() == 2) {
            timers_.start(core::TIMER_FONT, core::FOLLOW_UP_DELAY_MS, redraws_.refont_viewer);
        }
        return outcome.accepted;
    };
    s.print_file = [this](const std::string& kind, const std::string& file) {
        print::PRINTFILE(system_printer(this, ui_), ui_, state_.settings.page_setup, kind, file);
    };
    s.draw_multispectra = [this](display::PlotTarget target) { draw_multispectra(target); };
    s.show_result = [this](const std::string& file, const std::string& kind, const std::string& caption) {
        show_result(file, kind, caption);
    };
    s.set_text_tab_caption = [this](const std::string& caption) { page_tabs_->setTabText(1, qt_text(caption)); };
    s.about = [this] { show_about(); };
    s.close_window = [this] {
        closing_ = true;
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    };
    s.window_placement = [this] { return placement(); };
}

bool MainWindow::start(const std::string& settings_path, const std::vector<std::string>& arguments) {
    settings_path_ = settings_path;
    services_->settings_path = settings_path;
    const int program = core::VORELBOXINI(state_, ui_, clipboard_, settings_path, arguments);
    bool maximised = false;
    if (const auto& window = state_.settings.window) {
        const core::WindowRect rect = core::window_rect(*window);
        setGeometry(rect.x, rect.y, rect.width, rect.height);
        maximised = rect.maximised;
    }
    redraws_.refont_viewer();
    show_start_choice();
    // The pages show the settings before anything reads them back.
    render_pages();
    state_.program = 0;  // the program is set up anew
    const std::string wanted = program == core::PROGRAM_CONVERTER ? state_.converter.state.file : std::string();
    // A start-up file that cannot be read gets one message, with the reasons below it.
    std::vector<common::MessageRequest> notices;
    ui_.gather_notices(&notices);
    select_program(program);
    ui_.gather_notices(nullptr);
    if (!wanted.empty() && state_.converter.state.spectra == 0) {
        std::string text = "Error loading startup file " + wanted;
        for (const common::MessageRequest& notice : notices) {
            text += '\r';
            text += notice.text;
        }
        common::WARN(ui_, text);
        ui_.set_status_text(2, "No data");
        file_path_->setText(tr(" - no startup file specified -"));
    } else {
        for (const common::MessageRequest& notice : notices) {
            ui_.show_message(notice);
        }
    }
    return maximised;
}

QWidget* MainWindow::build_program_line() {
    auto* line = new QWidget(this);
    auto* row = new QHBoxLayout(line);
    row->setContentsMargins(0, 0, 0, 0);
    adder_radio_ = new QRadioButton(tr("Spectrum adder/collector"), line);
    adder_radio_->setObjectName(QStringLiteral("program1Radio"));
    converter_radio_ = new QRadioButton(tr("Spectrum converter"), line);
    converter_radio_->setObjectName(QStringLiteral("program2Radio"));
    program_group_ = new QButtonGroup(line);
    program_group_->addButton(adder_radio_, core::command::program_adder);
    program_group_->addButton(converter_radio_, core::command::program_converter);
    (state_.adder_active() ? adder_radio_ : converter_radio_)->setChecked(true);
    connect(program_group_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) {
            run_command(id);
        }
    });
    row->addWidget(adder_radio_);
    row->addWidget(converter_radio_);
    row->addStretch(1);
    return line;
}

QWidget* MainWindow::build_file_line() {
    auto* line = new QWidget(this);
    auto* row = new QHBoxLayout(line);
    row->setContentsMargins(0, 0, 0, 0);
    file_label_ = new QLabel(tr("Control file"), line);
    file_label_->setObjectName(QStringLiteral("fileLabel"));
    modified_marker_ = new QLabel(QStringLiteral("*"), line);
    modified_marker_->setObjectName(QStringLiteral("modifiedMarker"));
    // The marker keeps its place while hidden so that the path does not jump.
    QSizePolicy keep = modified_marker_->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    modified_marker_->setSizePolicy(keep);
    modified_marker_->setVisible(false);
    file_path_ = new QLineEdit(line);
    file_path_->setObjectName(QStringLiteral("filePath"));
    file_path_->setReadOnly(true);
    row->addWidget(file_label_);
    row->addWidget(modified_marker_);
    row->addWidget(file_path_, 1);
    return line;
}

QTabWidget* MainWindow::build_pages() {
    page_tabs_ = new QTabWidget(this);
    page_tabs_->setObjectName(QStringLiteral("pageTabs"));
    adder_page_ = new AdderPageWidget(page_tabs_);
    connect(adder_page_, &AdderPageWidget::command, this, &MainWindow::run_adder_command);
    if (auto* plot = adder_page_->findChild<PlotArea*>(QStringLiteral("plotArea"))) {
        plot->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(plot, &QWidget::customContextMenuRequested, this, [this, plot](const QPoint& at) {
            if (state_.adder.page.display_selection) {
                return;
            }
            QMenu menu(this);
            connect(menu.addAction(tr("Save picture...")), &QAction::triggered, this, &MainWindow::save_list_picture);
            connect(menu.addAction(tr("Print...")), &QAction::triggered, this, &MainWindow::print_list_plot);
            menu.exec(plot->mapToGlobal(at));
        });
    }
    converter_page_ = new ConverterPageWidget(page_tabs_);
    connect(converter_page_, &ConverterPageWidget::command, this, &MainWindow::run_converter_command);
    text_page_ = new TextOutputWidget(ui_, clipboard_, page_tabs_);
    text_page_->setObjectName(QStringLiteral("page2"));
    multi_page_ = new MultispectrumPageWidget(page_tabs_);
    QWidget* multi = multi_page_;
    display::MultispectrumState& st = state_.multispectrum;
    connect(multi_page_, &MultispectrumPageWidget::command, this, [this, &st](display::MultiCommand command) {
        run_multispectrum([this, &st, command] { display::SETUPVORELBOXMULTISPECTRUM(st, ui_, command); });
    });
    connect(multi_page_, &MultispectrumPageWidget::range, this,
            [this, &st](display::MultiControl control, display::MultiReason reason) {
                run_multispectrum(
                    [this, &st, control, reason] { display::MULTISPECTRUM_RANGES_FOR_VORELBOX(st, ui_, control, reason); });
            });
    const auto mouse = [this](const core::MouseEvent& event) { return mouse_action(event); };
    mouse_translators_ = {
        new MouseTranslator(adder_page_->plot_area(), core::MouseArea::AdderPlot, mouse),
        new MouseTranslator(converter_page_->plot_area(), core::MouseArea::ConverterPlot, mouse),
        new MouseTranslator(multi_page_->plot_area(), core::MouseArea::MultispectrumPlot, mouse),
        new MouseTranslator(text_page_->text_area(), core::MouseArea::TextOutput, mouse, false),
    };
    const auto names = core::SET_VORELBOXTABNAMES(state_.program);
    page_tabs_->addTab(state_.adder_active() ? static_cast<QWidget*>(adder_page_) : converter_page_, qt_text(names[0]));
    // The page of the other program waits, hidden, for its turn.
    (state_.adder_active() ? static_cast<QWidget*>(converter_page_) : adder_page_)->hide();
    page_tabs_->addTab(text_page_, qt_text(names[1]));
    page_tabs_->addTab(multi, qt_text(names[2]));
    connect(page_tabs_, &QTabWidget::currentChanged, this, &MainWindow::tab_changed);
    return page_tabs_;
}

void MainWindow::show_program_page() {
    QWidget* wanted = state_.adder_active() ? static_cast<QWidget*>(adder_page_) : converter_page_;
    const QString name = qt_text(core::SET_VORELBOXTABNAMES(state_.program)[0]);
    if (page_tabs_->widget(0) != wanted) {
        const QSignalBlocker quiet(page_tabs_);
        QWidget* other = page_tabs_->widget(0);
        page_tabs_->removeTab(0);
        other->hide();
        page_tabs_->insertTab(0, wanted, name);
    }
    page_tabs_->setTabText(0, name);
    page_tabs_->setCurrentIndex(0);
    // The other program's page may need more room; it counts in the layout only
    // once it is shown, so the minimum is taken again when the events are done.
    update_minimum_size();
    QMetaObject::invokeMethod(this, [this] { update_minimum_size(); }, Qt::QueuedConnection);
}

void MainWindow::render_pages() {
    adder_page_->render(state_.adder);
    converter_page_->render(state_.converter);
}

void MainWindow::run_command(int command) {
    if (command_running_) {
        return;
    }
    command_running_ = true;
    adder_page_->read_into(state_.adder);
    converter_page_->read_into(state_.converter);
    const bool running = core::VORELBOXAPPLY_SUB(state_, *services_, command);
    command_running_ = false;
    if (running) {
        render_pages();
        show_file_line();
        show_recent_lists();
        fill_tool_bar();
    }
}

void MainWindow::run_adder_command(adder::AdderCommand command, int argument) {
    // A command that shows a dialog runs an event loop; nothing starts another
    // command before it ends.
    if (command_running_) {
        return;
    }
    command_running_ = true;
    const FocusOnPage focus(adder_page_);
    adder_page_->read_into(state_.adder);
    adder::SPECTADD_APPLY_SUB(state_.store, state_.raw_files, state_.adder, ui_, clipboard_, command, argument);
    adder_page_->render(state_.adder);
    show_file_line();
    show_recent_lists();
    command_running_ = false;
    refresh_graph();
}

void MainWindow::run_converter_command(converter::ConverterCommand command, int argument) {
    if (command_running_) {
        return;
    }
    command_running_ = true;
    const FocusOnPage focus(converter_page_);
    converter_page_->read_into(state_.converter);
    converter::SPECTCONV_APPLY_SUB(state_.store, state_.raw_files, state_.converter, state_.recent_converter_files,
                                   ui_, clipboard_, command, argument);
    converter_page_->render(state_.converter);
    show_file_line();
    show_recent_lists();
    command_running_ = false;
    refresh_graph();
}

bool MainWindow::mouse_action(const core::MouseEvent& event) {
    if (!services_) {
        return false;
    }
    QWidget* area = nullptr;
    switch (event.area) {
        case core::MouseArea::AdderPlot:
            adder_page_->read_into(state_.adder);
            area = adder_page_->plot_area();
            break;
        case core::MouseArea::ConverterPlot:
            converter_page_->read_into(state_.converter);
            area = converter_page_->plot_area();
            break;
        case core::MouseArea::MultispectrumPlot:
            multi_page_->read_into(state_.multispectrum);
            area = multi_page_->plot_area();
            break;
        case core::MouseArea::TextOutput:
        case core::MouseArea::None:
            break;
    }
    const core::MouseResult result =
        core::CHECK_VORELBOXMOUSEACTION(state_, *services_, event, &text_page_->viewer());
    if (area != nullptr) {
        const Qt::CursorShape shape =
            result.pointer == core::PointerShape::Hand ? Qt::ClosedHandCursor : Qt::ArrowCursor;
        if (area->cursor().shape() != shape) {
            area->setCursor(shape);
        }
    }
    converter_page_->show_pointer_channel(state_.converter.page.pointer_channel);
    if (result.page_changed) {
        switch (event.area) {
            case core::MouseArea::AdderPlot:
                adder_page_->render(state_.adder);
                break;
            case core::MouseArea::ConverterPlot:
                converter_page_->render(state_.converter);
                break;
            case core::MouseArea::MultispectrumPlot:
                multi_page_->render(state_.multispectrum);
                break;
            case core::MouseArea::TextOutput:
            case core::MouseArea::None:
                break;
        }
    }
    if (result.trim_lines_changed) {
        converter_page_->plot_area()->update();
    }
    if (result.file_line_changed) {
        show_file_line();
    }
    if (result.text_line) {
        text_page_->scroll_to(*result.text_line);
    }
    return result.consumed;
}

void MainWindow::run_help_command(int command) {
    switch (command) {
        case help_command::general:
            common::WARN(ui_, "General help - comes later");
            break;
        case help_command::how_to_use: {
            // Beside the program, else in the installed data folder; a missing file
            // gets the one message that names it.
            const std::string found = core::find_shipped_file("Readme.txt", state_.program_folder);
            if (found.empty()) {
                common::WARN(ui_, "See the " + core::shipped_file_candidates("Readme.txt", state_.program_folder).front() +
                                      " file");
            } else {
                show_result(found, "Vorelbox Help", " ");
            }
            break;
        }
        case help_command::website:
        case help_command::documentation: {
            // The user manual travels with the program; there is no web site.
            const std::string found = core::find_shipped_file("Vorelbox-manual.html", state_.program_folder);
            if (found.empty() || !QDesktopServices::openUrl(QUrl::fromLocalFile(qt_text(found)))) {
                const std::string manual =
                    found.empty() ? core::shipped_file_candidates("Vorelbox-manual.html", state_.program_folder).front()
                                  : found;
                common::WARN(ui_, "See the " + manual + " file");
            }
            break;
        }
        case help_command::samples:
            common::TELL(ui_, core::samples_message(state_.program_folder));
            break;
        case help_command::start_empty:
        case help_command::start_previous:
            core::toggle_start_empty(state_, ui_);
            show_start_choice();
            break;
        default:
            break;
    }
}

bool MainWindow::show_result(const std::string& file, const std::string& kind, const std::string& caption) {
    if (!text_page_->show_file(file, kind, caption)) {
        return false;
    }
    state_.text_output = {file, kind, caption};
    page_tabs_->setCurrentIndex(1);
    text_page_->focus_viewer();
    return true;
}

void MainWindow::show_start_choice() {
    start_empty_action_->setChecked(state_.settings.start_empty);
    start_previous_action_->setChecked(!state_.settings.start_empty);
}

void MainWindow::show_file_line() {
    // The file dialogs of the next command start where the user works.
    ui_.dialog_folders().in_use = core::folder_in_use(state_, selected_tab());
    const core::FileLine line = core::SHOW_VORELBOXPARAMETERS(state_, selected_tab());
    if (!line.valid) {
        common::WARN(ui_, "Illegal internal condition");
        return;
    }
    file_label_->setText(qt_text(line.label));
    modified_marker_->setVisible(line.marker == '*');
    file_path_->setText(qt_text(line.path));
    file_path_->setCursorPosition(0);
}

void MainWindow::tab_changed(int index) {
    if (index == 1) {
        redraws_.refont_viewer();
        text_page_->focus_viewer();
    } else if (index == 2) {
        display::MultispectrumState& st = state_.multispectrum;
        run_multispectrum(
            [this, &st] { display::enter_multispectrum_page(st, ui_, core::active_program_file(state_)); });
    }
    fill_tool_bar();
    show_file_line();
    refresh_graph();
}

void MainWindow::refresh_graph() { core::REFRESH_GRAPH(state_, ui_, timers_, redraws_, selected_tab()); }

void MainWindow::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    event->ignore();
    run_command(core::command::exit);
}

void MainWindow::build_status_bar() {
    QStatusBar* bar = statusBar();
    bar->setSizeGripEnabled(true);
    // Parts 1 and 2 are 150 g and 350 g wide, and wider while their text needs it;
    // part 3 takes the rest.
    constexpr std::array<int, 3> widths{150, 350, 0};
    for (std::size_t i = 0; i < status_parts_.size(); ++i) {
        auto* part = new StatusPart(bar);
        part->setObjectName(QStringLiteral("statusPart%1").arg(i + 1));
        part->setFrameShape(QFrame::Panel);
        part->setFrameShadow(QFrame::Sunken);
        if (widths[i] > 0) {
            part->setMinimumWidth(widths[i] * layout_unit());
            bar->addWidget(part);
        } else {
            bar->addWidget(part, 1);
        }
        status_parts_[i] = part;
    }
    ui_.attach_status_labels(status_parts_);
    ui_.set_status_text(1, std::string(core::STATUS_READY_TEXT));
}

QWidget* MainWindow::page(int number) const {
    if (number < 1 || number > page_tabs_->count()) {
        return nullptr;
    }
    return page_tabs_->widget(number - 1);
}

int MainWindow::selected_tab() const { return page_tabs_ ? page_tabs_->currentIndex() + 1 : 1; }

void MainWindow::select_program(int program) {
    if (program == state_.program) {
        return;
    }
    const bool starting = state_.program == 0;  // start-up has just loaded the dataset
    state_.program = program;
    {
        // The group, not the buttons, sends the program command.
        const QSignalBlocker quiet(program_group_);
        (state_.adder_active() ? adder_radio_ : converter_radio_)->setChecked(true);
    }
    show_program_page();
    fill_file_menu();
    fill_tool_bar();
    if (state_.adder_active()) {
        if (!starting) {
            // The converter used the spectrum store meanwhile.
            adder::reload_adder(state_.store, state_.raw_files, state_.adder, ui_, clipboard_);
        }
        adder::SORT_VSL(state_.adder.recent_lists, state_.adder.list.file_name);
        adder_page_->render(state_.adder);
    } else {
        ui_.set_status_text(1, "Ready to convert spectra");
        ui_.set_status_text(2, "");
        ui_.set_status_text(3, "");
        adder::SORT_CONV(state_.recent_converter_files, state_.converter.state.file);
        converter_page_->render(state_.converter);
        // The converter's file is read again, as it may have changed on disk.
        if (!state_.converter.state.file.empty()) {
            const bool was_running = command_running_;
            command_running_ = false;
            run_converter_command(converter::ConverterCommand::Reload);
            command_running_ = was_running;
        }
    }
    show_file_line();
    show_recent_lists();
    refresh_graph();
}

void MainWindow::run_multispectrum(const std::function<void()>& command) {
    display::MultispectrumState& st = state_.multispectrum;
    const FocusOnPage focus(multi_page_);
    multi_page_->read_into(st);
    command();
    multi_page_->render(st);
    if (st.redraw_request) {
        st.redraw_request = false;
        core::start_multispectrum_redraw(timers_, redraws_);
    }
    show_file_line();
}

void MainWindow::draw_multispectra(display::PlotTarget target) {
    display::MultiplotTargets targets;
    targets.write_picture = [](const std::string& path, const std::function<void(display::Canvas&)>& draw,
                               std::string_view program, std::string_view title) {
        return save_picture(draw, path, std::string(program), std::string(title));
    };
    targets.choose_printer = system_printer(this, ui_);
    display::DRAW_MULTISPECTRA(state_.multispectrum, ui_, target, state_.settings.page_setup, targets);
}

display::SpectrumListPlotPage MainWindow::list_plot_page() const {
    const adder::AdderPageState& page = state_.adder.page;
    display::SpectrumListPlotPage plot;
    plot.log_scale = page.log_scale;
    plot.zoom_index = page.zoom_index;
    plot.first_label = page.first_displayed;
    plot.last_label = page.last_displayed;
    plot.enhance_selected = page.enhance_selected;
    plot.show_sum = page.show_sum;
    return plot;
}

void MainWindow::save_list_picture() {
    const std::string path = common::SAVE_FILEW(ui_, display::spectrum_list_picture_name(state_.adder),
                                                display::LIST_PICTURE_DIALOG_TITLE, std::string(PICTURE_FILE_FILTER));
    if (path.empty()) {
        return;
    }
    const display::SpectrumListPlotPage plot = list_plot_page();
    const auto draw = [this, &plot](display::Canvas& canvas) {
        display::DRAW_SPECTRUM_LIST(canvas, display::PlotTarget::Save, state_.adder.list, plot,
                                    state_.settings.page_setup);
    };
    const auto saved =
        save_picture(draw, path, display::PICTURE_PROGRAM, display::spectrum_list_picture_title(state_.adder));
    if (!saved) {
        common::WARN(ui_, common::save_failure_text("Error creating the picture file " + path, saved));
    }
}

void MainWindow::print_list_plot() {
    auto context = print::STARTPRINT_DC(system_printer(this, ui_), state_.settings.page_setup.margins,
                                        "Vorelbox spectrum list");
    if (!context) {
        common::WARN(ui_, display::NOTHING_PRINTED);
        return;
    }
    display::PrintCanvas canvas(*context->device);
    display::DRAW_SPECTRUM_LIST(canvas, display::PlotTarget::Print, state_.adder.list, list_plot_page(),
                                state_.settings.page_setup);
    print::end_document(*context);
}

core::WindowPlacement MainWindow::placement() const {
    const QRect normal = isMaximized() ? normalGeometry() : geometry();
    return {normal.left(), normal.left() + normal.width(), normal.top(), normal.top() + normal.height(), 0,
            isMaximized() ? 3 : 1};
}

void MainWindow::show_about() {
    QMessageBox::about(this, tr("About Vorelbox"),
                       QStringLiteral("Vorelbox\nVersion %1 - %2").arg(qt_text(core::VERSION_TEXT), qt_text(core::DATE_TEXT)));
}

}  // namespace vorelbox::platform
