// The desktop program.

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QStandardPaths>

#include <cstdlib>

#include "app_state.h"
#include "instance_channel.h"
#include "instance_lock.h"
#include "instance_start.h"
#include "main_window.h"
#include "qt_text.h"
#include "qt_ui.h"
#include "settings_file.h"
#include "version.h"

namespace {

using vorelbox::platform::std_text;

std::string user_name() {
    const QByteArray user = qgetenv("USER");
    return user.isEmpty() ? std::string(qgetenv("USERNAME").constData()) : std::string(user.constData());
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vorelbox"));
    QApplication::setApplicationVersion(vorelbox::platform::qt_text(vorelbox::core::VERSION_TEXT));
    QApplication::setDesktopFileName(QStringLiteral("vorelbox"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/vorelbox.svg")));

    std::vector<std::string> arguments;
    std::vector<std::string> absolute_files;
    const QStringList given = QCoreApplication::arguments();
    for (qsizetype i = 1; i < given.size(); ++i) {
        arguments.push_back(std_text(given[i]));
        absolute_files.push_back(std_text(QFileInfo(given[i]).absoluteFilePath()));
    }

    // The log (the lock) goes in the current folder, or where this user can
    // always write when the current folder cannot be written.
    const auto lock = vorelbox::core::lock_first_possible(vorelbox::core::log_folder_candidates(
        std_text(QDir::currentPath()), std_text(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)),
        std_text(QStandardPaths::writableLocation(QStandardPaths::CacheLocation))));
    const QString channel = vorelbox::platform::qt_text(vorelbox::core::handover_channel_name(lock->path(), user_name()));
    const vorelbox::core::StartChoice choice =
        vorelbox::core::choose_start(lock->state(), !arguments.empty(), lock->path(), lock->reason());
    if (choice.hand_over && vorelbox::platform::hand_over_files(channel, absolute_files)) {
        return 0;
    }
    if (!choice.warning.empty()) {
        vorelbox::platform::QtUi ui;
        vorelbox::common::WARN(ui, choice.warning);
    }
    if (!choice.start) {
        return 0;
    }

    const char* override_path = std::getenv("VORELBOX_INI");
    const std::string settings = vorelbox::core::settings_path(
        override_path != nullptr ? override_path : "", std_text(QCoreApplication::applicationDirPath()),
        std_text(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)));

    vorelbox::core::AppState state;
    state.log_file = lock->path();
    vorelbox::platform::MainWindow window(state);
    std::unique_ptr<vorelbox::platform::InstanceServer> server;
    if (lock->locked()) {
        server = std::make_unique<vorelbox::platform::InstanceServer>(channel);
        QObject::connect(server.get(), &vorelbox::platform::InstanceServer::files_handed_over, &window,
                         &vorelbox::platform::MainWindow::open_handed_over);
    }
    if (window.start(settings, arguments)) {
        window.showMaximized();
    } else {
        window.show();
    }
    return QApplication::exec();
}
