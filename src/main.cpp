// popboard: the program's entry point.
#include <QApplication>
#include <cstdlib>

#include "platform/dialogs.h"

int main(int argc, char** argv) {
    // fontconfig must answer with Japanese family names (IPAゴシック...), which the default
    // font rule of object records looks for.
    setenv("FC_LANG", "ja", 1);
    QApplication app(argc, argv);
    pb::InstallDialogService(pb::MakeQtDialogService());
    return 0;
}
