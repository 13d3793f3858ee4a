// The menu bar and the tool bar of the main window. The File menu and the tool
// bar carry the entries of the active program.

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

#include "main_window.h"
#include "text_utils.h"

namespace vorelbox::platform {
namespace {

QAction* add_tool(QToolBar* bar, const QIcon& icon, const QString& text, const char* name) {
    QAction* action = bar->addAction(icon, text);
    action->setToolTip(text);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

}  // namespace

QToolBar* MainWindow::build_tool_bar() {
    tool_bar_ = new QToolBar(this);
    tool_bar_->setObjectName(QStringLiteral("mainToolBar"));
    tool_bar_->setMovable(false);
    tool_bar_->setFloatable(false);
    fill_tool_bar();
    return tool_bar_;
}

void MainWindow::fill_tool_bar() {
    const QList<QAction*> old = tool_bar_->actions();
    tool_bar_->clear();
    qDeleteAll(old);

    QToolBar* bar = tool_bar_;
    QStyle* s = style();
    const QIcon new_icon = QIcon::fromTheme(QStringLiteral("document-new"),
                                            s->standardIcon(QStyle::SP_FileIcon));
    const QIcon open_icon = s->standardIcon(QStyle::SP_DialogOpenButton);
    const QIcon save_icon = s->standardIcon(QStyle::SP_DialogSaveButton);
    const QIcon setup_icon = QIcon::fromTheme(QStringLiteral("document-page-setup"),
                                              s->standardIcon(QStyle::SP_FileDialogDetailedView));
    const QIcon print_icon =
        QIcon::fromTheme(QStringLiteral("document-print"), s->standardIcon(QStyle::SP_FileIcon));

    if (state_.adder_active()) {
        struct Tool {
            const QIcon& icon;
            QString text;
            const char* name;
            adder::AdderCommand command;
        };
        const Tool tools[] = {
            {new_icon, tr("New spectrum list"), "newListTool", adder::AdderCommand::NewList},
            {open_icon, tr("Load spectrum list"), "loadListTool", adder::AdderCommand::LoadList},
            {save_icon, tr("Save spectrum list"), "saveListTool", adder::AdderCommand::SaveAs},
            {open_icon, tr("Load spectrum file"), "loadSpectrumTool", adder::AdderCommand::Lookup},
            {save_icon, tr("Save spectrum files"), "saveSpectraTool",
             adder::AdderCommand::SaveSpectra},
        };
        for (const Tool& t : tools) {
            const adder::AdderCommand command = t.command;
            connect(add_tool(bar, t.icon, t.text, t.name), &QAction::triggered, this,
                    [this, command] { run_adder_command(command); });
        }
    } else {
        connect(add_tool(bar, open_icon, tr("Load spectrum file"), "loadSpectrumTool"),
                &QAction::triggered, this,
                [this] { run_converter_command(converter::ConverterCommand::FindFile); });
        connect(add_tool(bar, save_icon, tr("Save spectrum file"), "saveSpectrumTool"),
                &QAction::triggered, this,
                [this] { run_converter_command(converter::ConverterCommand::MenuSaveAs); });
    }
    bar->addSeparator();
    add_tool(bar, setup_icon, tr("Setup page and print font"), "pageSetupTool");
    add_tool(bar, print_icon, tr("Nothing to print"), "printTool");
    add_tool(bar, save_icon, tr("Save last result"), "saveResultTool");
}

void MainWindow::build_menus() {
    file_menu_ = menuBar()->addMenu(tr("&File"));
    file_menu_->setObjectName(QStringLiteral("fileMenu"));
    connect(file_menu_, &QMenu::aboutToShow, this, &MainWindow::show_recent_lists);
    fill_file_menu();

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("helpMenu"));
    QAction* about = help->addAction(tr("About Vorelix"));
    about->setObjectName(QStringLiteral("aboutMenu"));
    connect(about, &QAction::triggered, this, &MainWindow::show_about);
}

void MainWindow::fill_file_menu() {
    QMenu* file = file_menu_;
    file->clear();
    recent_actions_.fill(nullptr);
    if (state_.adder_active()) {
        struct Entry {
            QString text;
            const char* name;
            adder::AdderCommand command;
        };
        const Entry entries[] = {
            {tr("Make &new list"), "newListMenu", adder::AdderCommand::NewList},
            {tr("Load spectrum list"), "loadListMenu", adder::AdderCommand::LoadList},
            {tr("Save spectrum list as"), "saveListAsMenu", adder::AdderCommand::SaveAs},
        };
        for (const Entry& e : entries) {
            QAction* action = file->addAction(e.text);
            action->setObjectName(QString::fromLatin1(e.name));
            const adder::AdderCommand command = e.command;
            connect(action, &QAction::triggered, this,
                    [this, command] { run_adder_command(command); });
        }
    } else {
        struct Entry {
            QString text;
            const char* name;
            converter::ConverterCommand command;
        };
        const Entry entries[] = {
            {tr("Load Spectrum file"), "loadSpectrumMenu", converter::ConverterCommand::FindFile},
            {tr("Save converted spectrum as"), "saveConvertedMenu",
             converter::ConverterCommand::MenuSaveAs},
        };
        for (const Entry& e : entries) {
            QAction* action = file->addAction(e.text);
            action->setObjectName(QString::fromLatin1(e.name));
            const converter::ConverterCommand command = e.command;
            connect(action, &QAction::triggered, this,
                    [this, command] { run_converter_command(command); });
        }
    }
    recent_separator_ = file->addSeparator();
    const bool for_adder = state_.adder_active();
    for (std::size_t i = 0; i < recent_actions_.size(); ++i) {
        const int entry = static_cast<int>(i) + 1;
        QAction* action = file->addAction(QStringLiteral("&%1.").arg(entry));
        action->setObjectName(
            QString::fromLatin1(for_adder ? "recentList%1Menu" : "recentFile%1Menu").arg(entry));
        if (for_adder) {
            connect(action, &QAction::triggered, this,
                    [this, entry] { run_adder_command(adder::AdderCommand::RecentList, entry); });
        } else {
            connect(action, &QAction::triggered, this, [this, entry] {
                run_converter_command(converter::ConverterCommand::RecentFile, entry);
            });
        }
        recent_actions_[i] = action;
    }
    file->addSeparator();
    show_recent_lists();
    QAction* exit = file->addAction(tr("E&xit"));
    exit->setObjectName(QStringLiteral("exitMenu"));
    connect(exit, &QAction::triggered, this, &QWidget::close);
}

void MainWindow::show_recent_lists() {
    const auto& entries = state_.adder_active() ? state_.adder.recent_lists.entries
                                                : state_.recent_converter_files.entries;
    bool any = false;
    for (std::size_t i = 0; i < recent_actions_.size(); ++i) {
        QAction* action = recent_actions_[i];
        if (action == nullptr) {
            continue;
        }
        const std::string& entry = entries[i];
        const bool blank = common::is_blank(entry);
        action->setVisible(!blank);
        any = any || !blank;
        if (!blank) {
            QString path = QString::fromUtf8(entry.data(), static_cast<qsizetype>(entry.size()));
            path.replace(QStringLiteral("&"), QStringLiteral("&&"));
            action->setText(QStringLiteral("&%1. %2").arg(i + 1).arg(path.trimmed()));
        }
    }
    if (recent_separator_ != nullptr) {
        recent_separator_->setVisible(any);
    }
}

}  // namespace vorelbox::platform
