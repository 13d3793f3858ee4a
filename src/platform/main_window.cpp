#include "main_window.h"

#include <QApplication>
#include <QButtonGroup>
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
    auto* label = new QLabel(tr("Control file"), line);
    label->setObjectName(QStringLiteral("fileLabel"));
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
    row->addWidget(label);
    row->addWidget(modified_marker_);
    row->addWidget(file_path_, 1);
    return line;
}

QTabWidget* MainWindow::build_pages() {
    page_tabs_ = new QTabWidget(this);
    page_tabs_->setObjectName(QStringLiteral("pageTabs"));
    const auto names = core::SET_VORELBOXTABNAMES(state_.program);
    for (std::size_t i = 0; i < names.size(); ++i) {
        auto* placeholder = new QWidget(page_tabs_);
        placeholder->setObjectName(QStringLiteral("page%1").arg(i + 1));
        page_tabs_->addTab(placeholder, qt_text(names[i]));
    }
    return page_tabs_;
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
    file_path_->setText(path);
    file_path_->setCursorPosition(0);
}

void MainWindow::set_modified(bool modified) {
    modified_marker_->setVisible(modified);
}

void MainWindow::select_program(int program) {
    state_.program = program;
    const auto names = core::SET_VORELBOXTABNAMES(program);
    page_tabs_->setTabText(0, qt_text(names[0]));
}

void MainWindow::show_about() {
    QMessageBox::about(this, tr("About Vorelbox"),
                       QStringLiteral("Vorelbox\nVersion %1 - %2")
                           .arg(qt_text(core::VERSION_TEXT), qt_text(core::DATE_TEXT)));
}

}  // namespace vorelbox::platform
