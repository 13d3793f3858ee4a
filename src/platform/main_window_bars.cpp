// The menu bar, the tool bar and the keys of the main window. The File menu and
// the tool bar carry the entries of the active program.

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>

#include "qt_text.h"
#include "main_window.h"
#include "program_setup.h"
#include "text_output_widget.h"
#include "text_utils.h"

namespace vorelbox::platform {
namespace {

QIcon tool_icon(const QStyle* style, const std::string& image) {
    if (image == "open") {
        return style->standardIcon(QStyle::SP_DialogOpenButton);
    }
    if (image == "save") {
        return style->standardIcon(QStyle::SP_DialogSaveButton);
    }
    if (image == "print") {
        return QIcon::fromTheme(QStringLiteral("document-print"), style->standardIcon(QStyle::SP_FileIcon));
    }
    if (image == "new_list") {
        return QIcon::fromTheme(QStringLiteral("document-new"), style->standardIcon(QStyle::SP_FileIcon));
    }
    return QIcon::fromTheme(QStringLiteral("document-page-setup"),
                            style->standardIcon(QStyle::SP_FileDialogDetailedView));
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
    // The old entries go later: one of them may be the action being triggered now.
    for (QAction* action : tool_bar_->actions()) {
        tool_bar_->removeAction(action);
        action->deleteLater();
    }
    const bool adder_page_selected = state_.adder_active() && selected_tab() == 1;
    for (const core::ToolButton& button : core::BUILDVORELBOXTOOLBAR(state_.program, adder_page_selected)) {
        if (button.separator) {
            tool_bar_->addSeparator();
            continue;
        }
        QAction* action = tool_bar_->addAction(tool_icon(style(), button.image), qt_text(button.tooltip));
        action->setToolTip(qt_text(button.tooltip));
        action->setObjectName(QStringLiteral("tool%1").arg(button.command));
        const int command = button.command;
        connect(action, &QAction::triggered, this, [this, command] { run_command(command); });
    }
}

void MainWindow::build_menus() {
    file_menu_ = menuBar()->addMenu(tr("&File"));
    file_menu_->setObjectName(QStringLiteral("fileMenu"));
    connect(file_menu_, &QMenu::aboutToShow, this, &MainWindow::show_recent_lists);
    fill_file_menu();

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("helpMenu"));
    const auto add_help = [this, help](const QString& text, int command) {
        QAction* action = help->addAction(text);
        action->setObjectName(QStringLiteral("help%1").arg(command));
        connect(action, &QAction::triggered, this, [this, command] { run_help_command(command); });
        return action;
    };
    add_help(tr("Help"), help_command::general);
    add_help(tr("How to use Vorelix"), help_command::how_to_use);
    add_help(tr("Documentation"), help_command::documentation);
    add_help(tr("Website"), help_command::website);
    add_help(tr("Sample spectra"), help_command::samples);
    help->addSeparator();
    QAction* about = help->addAction(tr("About Vorelix"));
    about->setObjectName(QStringLiteral("aboutMenu"));
    connect(about, &QAction::triggered, this, [this] { run_command(core::command::about); });
}

void MainWindow::fill_file_menu() {
    QMenu* file = file_menu_;
    for (QAction* action : file->actions()) {
        file->removeAction(action);
        action->deleteLater();
    }
    recent_actions_.fill(nullptr);
    const auto add = [this, file](const QString& text, int command) {
        QAction* action = file->addAction(text);
        action->setObjectName(QStringLiteral("menu%1").arg(command));
        connect(action, &QAction::triggered, this, [this, command] { run_command(command); });
        return action;
    };
    const core::FileMenu menu = core::SETUP_VORELBOX_MENU(state_.program);
    const auto text_of = [&menu](int command) {
        for (const core::MenuText& t : menu.texts) {
            if (t.command == command) {
                return qt_text(t.text);
            }
        }
        return QString();
    };
    const bool adder = state_.adder_active();
    if (menu.new_list_entry) {
        add(tr("Make &new list"), core::command::new_list);
    }
    add(text_of(core::command::load_list_or_file), core::command::load_list_or_file);
    if (adder) {
        add(tr("&Load spectrum"), core::command::load_spectrum);
    }
    add(text_of(core::command::save_as), core::command::save_as);
    if (adder) {
        add(tr("Save su&m"), core::command::save_sum);
    }
    add(tr("Save &result"), core::command::save_result);
    file->addSeparator();
    // Commands this program has no files for are shown, but cannot be chosen.
    const auto unavailable = [&add](const QString& text, int command) {
        QAction* action = add(text, command);
        action->setEnabled(false);
        action->setStatusTip(tr("Not available in Vorelbox"));
    };
    add(text_of(core::command::show_spectrum_text), core::command::show_spectrum_text);
    add(text_of(core::command::show_input), core::command::show_input);
    unavailable(tr("Show &temp. control file"), core::command::show_temporary_control_file);
    unavailable(tr("Show &graphics file"), core::command::show_graphics_file);
    unavailable(tr("Show table file"), core::command::show_table_file);
    add(tr("Show last logfile"), core::command::show_logfile);
    add(text_of(core::command::show_report), core::command::show_report);
    file->addSeparator();
    add(tr("Page set&up"), core::command::page_setup);
    unavailable(tr("Options"), core::command::options);
    add(tr("&Print result window"), core::command::print);
    file->addSeparator();
    // The start-up choice, kept in the settings.
    const auto add_choice = [this, file](const QString& text, int command) {
        QAction* action = file->addAction(text);
        action->setObjectName(QStringLiteral("menu%1").arg(command));
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, command] { run_help_command(command); });
        return action;
    };
    start_empty_action_ = add_choice(tr("Startup with empty dataset"), help_command::start_empty);
    start_previous_action_ = add_choice(tr("Startup with previous dataset"), help_command::start_previous);
    show_start_choice();
    recent_separator_ = file->addSeparator();
    for (std::size_t i = 0; i < recent_actions_.size(); ++i) {
        recent_actions_[i] = add(QStringLiteral("&%1.").arg(i + 1), core::command::recent_first + static_cast<int>(i));
    }
    file->addSeparator();
    add(tr("E&xit"), core::command::exit);
    show_recent_lists();
}

bool MainWindow::is_window_key(const QKeyEvent& key) {
    const Qt::KeyboardModifiers modifiers = key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    switch (key.key()) {
        case Qt::Key_P:
            return modifiers == Qt::ControlModifier;
        case Qt::Key_S:
            return modifiers == Qt::ControlModifier || modifiers == Qt::AltModifier;
        case Qt::Key_Home:
        case Qt::Key_End:
            return modifiers == Qt::ControlModifier;
        case Qt::Key_F5:
            return modifiers == Qt::NoModifier;
        default:
            return false;
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // The window's keys come before a control's own use of them (a text field's
    // Ctrl+Home, say): the control is not offered them, so the shortcut runs.
    if (event->type() == QEvent::ShortcutOverride && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this && is_window_key(*static_cast<QKeyEvent*>(event))) {
        event->ignore();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::build_shortcuts() {
    qApp->installEventFilter(this);
    const auto key = [this](const QKeySequence& sequence, auto action) {
        auto* shortcut = new QShortcut(sequence, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    key(QKeySequence(Qt::CTRL | Qt::Key_P), [this] { run_command(core::command::print); });
    key(QKeySequence(Qt::CTRL | Qt::Key_S), [this] { run_command(core::command::save_result); });
    key(QKeySequence(Qt::ALT | Qt::Key_S), [this] { run_command(core::command::save_as); });
    key(QKeySequence(Qt::Key_F5), [this] { run_command(core::command::save_sum); });
    key(QKeySequence(Qt::CTRL | Qt::Key_Home), [this] { text_page_->scroll_key(display::ViewerKey::Home); });
    key(QKeySequence(Qt::CTRL | Qt::Key_End), [this] { text_page_->scroll_key(display::ViewerKey::End); });
    // The Find keys and copying belong to the Text output page.
    key(QKeySequence(Qt::CTRL | Qt::Key_F), [this] {
        if (selected_tab() == 2) {
            text_page_->open_find();
        }
    });
    key(QKeySequence(Qt::Key_F3), [this] {
        if (selected_tab() == 2) {
            text_page_->find_next();
        }
    });
    key(QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] {
        if (selected_tab() == 2) {
            text_page_->find_previous();
        }
    });
}

void MainWindow::show_recent_lists() {
    const auto& entries =
        state_.adder_active() ? state_.adder.recent_lists.entries : state_.recent_converter_files.entries;
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
