// Test entry point of the screen tests: a QApplication on the offscreen platform (painting and
// widgets need one) and no double-click interval (see below).
#include <QApplication>
#include <QStyleHints>

#include "support/test_support.h"

int main(int argc, char** argv) {
    pb::test::PrepareTestProcess();
    QApplication app(argc, argv);
    // Widget tests click at once on a screen that has just opened, faster than any hand; the
    // screens drop such taps within the double-click interval. The tests of that guard set
    // the interval back themselves.
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(0);
    return pb::test::RunAllTests(argc, argv);
}
