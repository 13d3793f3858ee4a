// The menu bar and the tool bar of the main window.

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

#include "main_window.h"

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
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("mainToolBar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    QStyle* s = style();
    const QIcon open_icon = s->standardIcon(QStyle::SP_DialogOpenButton);
    const QIcon save_icon = s->standardIcon(QStyle::SP_DialogSaveButton);
    const QIcon setup_icon = QIcon::fromTheme(QStringLiteral("document-page-setup"),
                                              s->standardIcon(QStyle::SP_FileDialogDetailedView));
    const QIcon print_icon =
        QIcon::fromTheme(QStringLiteral("document-print"), s->standardIcon(QStyle::SP_FileIcon));

    add_tool(bar, open_icon, tr("Load spectrum file"), "loadSpectrumTool");
    add_tool(bar, save_icon, tr("Save spectrum file"), "saveSpectrumTool");
    bar->addSeparator();
    add_tool(bar, setup_icon, tr("Setup page and print font"), "pageSetupTool");
    add_tool(bar, print_icon, tr("Nothing to print"), "printTool");
    add_tool(bar, save_icon, tr("Save last result"), "saveResultTool");
    return bar;
}

void MainWindow::build_menus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("fileMenu"));
    file->addAction(tr("Load Spectrum file"))->setObjectName(QStringLiteral("loadSpectrumMenu"));
    file->addAction(tr("Save converted spectrum as"))
        ->setObjectName(QStringLiteral("saveConvertedMenu"));
    file->addSeparator();
    QAction* exit = file->addAction(tr("E&xit"));
    exit->setObjectName(QStringLiteral("exitMenu"));
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("helpMenu"));
    QAction* about = help->addAction(tr("About Vorelix"));
    about->setObjectName(QStringLiteral("aboutMenu"));
    connect(about, &QAction::triggered, this, &MainWindow::show_about);
}

}  // namespace vorelbox::platform
