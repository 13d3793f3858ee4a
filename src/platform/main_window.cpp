#include "main_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QRadioButton>
#include <QSizePolicy>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "adder_page_widget.h"
#include "converter_page_widget.h"
#include "program_setup.h"

namespace vorelbox::platform {
namespace {

QString qt_text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

MainWindow::MainWindow(core::AppState& state, QWidget* parent)
    : QMainWindow(parent), state_(state), ui_(this) {
    if (state_.program == 0) {
        state_.program = core::PROGRAM_CONVERTER;
    }
    setWindowTitle(qt_text(core::main_window_caption()));
    setMinimumSize(920, 640);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(build_program_line());
    layout->addWidget(build_file_line());
    layout->addWidget(build_tool_bar());
    layout->addWidget(build_pages(), 1);
    setCentralWidget(central);

    build_menus();
    build_status_bar();

    const QByteArray folder = QCoreApplication::applicationDirPath().toUtf8();
    state_.adder.program_folder.assign(folder.constData(), static_cast<std::size_t>(folder.size()));
    state_.converter.program_folder = state_.adder.program_folder;
    adder_page_->render(state_.adder);
    converter_page_->render(state_.converter);
    show_file_line();
}

QWidget* MainWindow::build_program_line() {
    auto* line = new QWidget(this);
    auto* row = new QHBoxLayout(line);
    row->setContentsMargins(0, 0, 0, 0);
    adder_radio_ = new QRadioButton(tr("Spectrum adder/collector"), line);
    adder_radio_->setObjectName(QStringLiteral("program1Radio"));
    converter_radio_ = new QRadioButton(tr("Spectrum converter"), line);
    converter_radio_->setObjectName(QStringLiteral("program2Radio"));
    auto* group = new QButtonGroup(line);
    group->addButton(adder_radio_, core::PROGRAM_ADDER);
    group->addButton(converter_radio_, core::PROGRAM_CONVERTER);
    (state_.adder_active() ? adder_radio_ : converter_radio_)->setChecked(true);
    connect(group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) {
            select_program(id);
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
    file_label_ = new QLabel(line);
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
    converter_page_ = new ConverterPageWidget(page_tabs_);
    connect(converter_page_, &ConverterPageWidget::command, this,
            &MainWindow::run_converter_command);
    const auto names = core::SET_VORELBOXTABNAMES(state_.program);
    for (std::size_t i = 0; i < names.size(); ++i) {
        QWidget* tab = nullptr;
        if (i == 0) {
            tab = state_.adder_active() ? static_cast<QWidget*>(adder_page_) : converter_page_;
        } else {
            tab = new QWidget(page_tabs_);
            tab->setObjectName(QStringLiteral("page%1").arg(i + 1));
        }
        page_tabs_->addTab(tab, qt_text(names[i]));
    }
    return page_tabs_;
}

void MainWindow::show_program_page() {
    QWidget* wanted = state_.adder_active() ? static_cast<QWidget*>(adder_page_)
                                            : static_cast<QWidget*>(converter_page_);
    const QString name = qt_text(core::SET_VORELBOXTABNAMES(state_.program)[0]);
    if (page_tabs_->widget(0) != wanted) {
        const bool was_current = page_tabs_->currentIndex() == 0;
        page_tabs_->removeTab(0);
        page_tabs_->insertTab(0, wanted, name);
        if (was_current) {
            page_tabs_->setCurrentIndex(0);
        }
    }
    page_tabs_->setTabText(0, name);
}

void MainWindow::run_adder_command(adder::AdderCommand command, int argument) {
    // A command that shows a dialog runs an event loop; nothing starts another
    // command before it ends.
    if (command_running_) {
        return;
    }
    command_running_ = true;
    adder_page_->read_into(state_.adder);
    adder::SPECTADD_APPLY_SUB(state_.store, state_.raw_files, state_.adder, ui_, clipboard_,
                              command, argument);
    adder_page_->render(state_.adder);
    show_file_line();
    show_recent_lists();
    command_running_ = false;
}

void MainWindow::run_converter_command(converter::ConverterCommand command, int argument) {
    if (command_running_) {
        return;
    }
    command_running_ = true;
    converter_page_->read_into(state_.converter);
    converter::SPECTCONV_APPLY_SUB(state_.store, state_.raw_files, state_.converter,
                                   state_.recent_converter_files, ui_, clipboard_, command,
                                   argument);
    converter_page_->render(state_.converter);
    // The converter's line names the file it read; it has no unsaved mark of its own.
    file_label_->setText(tr("Original file"));
    modified_marker_->setVisible(false);
    file_path_->setText(qt_text(state_.converter.state.file));
    file_path_->setCursorPosition(0);
    show_recent_lists();
    command_running_ = false;
}

void MainWindow::show_file_line() {
    if (state_.adder_active()) {
        file_label_->setText(tr("Spectrum list"));
        modified_marker_->setVisible(state_.adder.list.not_saved);
        file_path_->setText(qt_text(state_.adder.list.file_name));
    } else {
        file_label_->setText(tr("Control file"));
        modified_marker_->setVisible(control_file_modified_);
        file_path_->setText(control_file_);
    }
    file_path_->setCursorPosition(0);
}

void MainWindow::build_status_bar() {
    QStatusBar* bar = statusBar();
    bar->setSizeGripEnabled(true);
    constexpr std::array<int, 3> widths{150, 350, 0};
    for (std::size_t i = 0; i < status_parts_.size(); ++i) {
        auto* part = new QLabel(bar);
        part->setObjectName(QStringLiteral("statusPart%1").arg(i + 1));
        part->setFrameShape(QFrame::Panel);
        part->setFrameShadow(QFrame::Sunken);
        if (widths[i] > 0) {
            part->setFixedWidth(widths[i]);
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

void MainWindow::set_file_path(const QString& path) {
    control_file_ = path;
    show_file_line();
}

void MainWindow::set_modified(bool modified) {
    control_file_modified_ = modified;
    show_file_line();
}

void MainWindow::select_program(int program) {
    state_.program = program;
    show_program_page();
    fill_file_menu();
    fill_tool_bar();
    show_file_line();
    if (state_.adder_active()) {
        adder_page_->render(state_.adder);
    } else if (state_.converter_active()) {
        converter_page_->render(state_.converter);
        // The file may have changed on disk while the other program was in use.
        if (!state_.converter.state.file.empty()) {
            run_converter_command(converter::ConverterCommand::Reload);
        }
    }
}

void MainWindow::show_about() {
    QMessageBox::about(this, tr("About Vorelbox"),
                       QStringLiteral("Vorelbox\nVersion %1 - %2")
                           .arg(qt_text(core::VERSION_TEXT), qt_text(core::DATE_TEXT)));
}

}  // namespace vorelbox::platform
