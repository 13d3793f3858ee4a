// Files that come to the window from the desktop: dropped on it, or handed
// over by a second start of the program.

#include <QApplication>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>

#include "adder_commands.h"
#include "adder_page_widget.h"
#include "main_window.h"
#include "program_setup.h"
#include "qt_text.h"
#include "spectrum_list.h"

namespace vorelbox::platform {

core::OpenPlan MainWindow::drop_plan(const QMimeData* data) const {
    if (data == nullptr || !data->hasUrls() || command_running_) {
        return {};
    }
    std::vector<std::string> files;
    for (const QUrl& url : data->urls()) {
        const QFileInfo info(url.toLocalFile());
        if (!url.isLocalFile() || !info.isFile()) {
            return {};
        }
        files.push_back(std_text(info.absoluteFilePath()));
    }
    return core::plan_drop(files, state_.adder_active(), state_.adder_active() && selected_tab() == 1);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    // A drop that would be refused is not accepted, so the cursor says so at once.
    if (drop_plan(event->mimeData()).action != core::OpenAction::Refuse) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
    if (drop_plan(event->mimeData()).action != core::OpenAction::Refuse) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    const core::OpenPlan plan = drop_plan(event->mimeData());
    if (plan.action == core::OpenAction::Refuse) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // The files open once the drop is over: the program they came from waits
    // for the drop to end, and opening them may ask questions.
    QMetaObject::invokeMethod(this, [this, plan] { open_files(plan); }, Qt::QueuedConnection);
}

void MainWindow::open_handed_over(const QStringList& files) {
    // While a command or a dialog runs, the files wait for it to end.
    if (command_running_ || QApplication::activeModalWidget() != nullptr) {
        QTimer::singleShot(300, this, [this, files] { open_handed_over(files); });
        return;
    }
    if (isMinimized()) {
        showNormal();
    }
    raise();
    activateWindow();
    for (const QString& file : files) {
        open_files(core::plan_named_file(std_text(file)));
    }
}

void MainWindow::open_files(const core::OpenPlan& plan) {
    if (plan.files.empty()) {
        return;
    }
    const std::string& file = plan.files.front();
    switch (plan.action) {
        case core::OpenAction::Refuse:
            return;
        case core::OpenAction::OpenList:
            if (!state_.adder_active()) {
                run_command(core::command::program_adder);
            }
            page_tabs_->setCurrentIndex(0);
            // Opened as the first of the recent lists, with the same question
            // about an unsaved list as any other way of loading one.
            adder::SORT_VSL(state_.adder.recent_lists, file);
            run_command(core::command::recent_first);
            break;
        case core::OpenAction::OpenInConverter:
            if (!state_.converter_active()) {
                run_command(core::command::program_converter);
            }
            page_tabs_->setCurrentIndex(0);
            adder::SORT_CONV(state_.recent_converter_files, file);
            run_command(core::command::recent_first);
            break;
        case core::OpenAction::AddToList:
            add_to_list(plan.files);
            return;
    }
    // The page's plot shows the file at once.
    refresh_graph();
}

void MainWindow::add_to_list(const std::vector<std::string>& files) {
    if (!state_.adder_active()) {
        run_command(core::command::program_adder);
    }
    page_tabs_->setCurrentIndex(0);
    for (const std::string& file : files) {
        // As "&Lookup" with this file chosen, then "I&nclude all".
        adder_page_->read_into(state_.adder);
        adder::load_input_file(state_.store, state_.raw_files, state_.adder, ui_, clipboard_, file);
        adder_page_->render(state_.adder);
        if (state_.adder.page.input_channels > 0) {
            run_adder_command(adder::AdderCommand::IncludeAll);
        }
    }
    show_file_line();
    refresh_graph();
}

}  // namespace vorelbox::platform
