#pragma once
// Fonts and painting need a QGuiApplication; the fuzz targets that draw make one at start.
#include <QGuiApplication>

inline void StartGuiApp() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}
