// Test entry point of the core tests: a QGuiApplication on the offscreen platform (fonts and
// painting need one; these tests make no widget).
#include <QGuiApplication>

#include "support/test_support.h"

int main(int argc, char** argv) {
    pb::test::PrepareTestProcess();
    QGuiApplication app(argc, argv);
    return pb::test::RunAllTests(argc, argv);
}
