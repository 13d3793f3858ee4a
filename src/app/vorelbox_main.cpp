// The desktop program.

#include <QApplication>

#include "app_state.h"
#include "main_window.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vorelbox"));
    vorelbox::core::AppState state;
    vorelbox::platform::MainWindow window(state);
    window.show();
    return QApplication::exec();
}
