#pragma once
// The one application object of the benchmark program, made on first use: fonts,
// images and widgets need it, and the offscreen platform needs no screen.

#include <QApplication>

namespace vorelbox::bench {

inline QApplication& application() {
    static int argc = 1;
    static char name[] = "vorelbox_bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

}  // namespace vorelbox::bench
