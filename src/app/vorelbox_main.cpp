// The desktop program.

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include <cstdlib>

#include "qt_text.h"
#include "app_state.h"
#include "instance_lock.h"
#include "main_window.h"
#include "qt_ui.h"
#include "settings_file.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vorelbox"));

    vorelbox::platform::InstanceLock lock("Vorelbox.log");
    if (!lock.locked()) {
        vorelbox::platform::QtUi ui;
        vorelbox::common::WARN(ui, "Vorelbox may already be running");
        return 0;
    }

    const char* override_path = std::getenv("VORELBOX_INI");
    const std::string settings = vorelbox::core::settings_path(
        override_path != nullptr ? override_path : "", vorelbox::platform::std_text(QCoreApplication::applicationDirPath()),
        vorelbox::platform::std_text(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)));

    std::vector<std::string> arguments;
    const QStringList given = QCoreApplication::arguments();
    for (qsizetype i = 1; i < given.size(); ++i) {
        arguments.push_back(vorelbox::platform::std_text(given[i]));
    }

    vorelbox::core::AppState state;
    state.log_file = vorelbox::platform::std_text(QDir::current().absoluteFilePath(QStringLiteral("Vorelbox.log")));
    vorelbox::platform::MainWindow window(state);
    if (window.start(settings, arguments)) {
        window.showMaximized();
    } else {
        window.show();
    }
    return QApplication::exec();
}
