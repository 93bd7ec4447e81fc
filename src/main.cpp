// popboard: the program's entry point.
#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <QLockFile>
#include <cstdlib>

#include "app/ui/main_screen.h"
#include "platform/ui/dialogs.h"

int main(int argc, char** argv) {
    // fontconfig must answer with Japanese family names (IPAゴシック...), which the default
    // font rule of object records looks for.
    setenv("FC_LANG", "ja", 1);
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("IPAexゴシック"), 9));
    pb::InstallDialogService(pb::MakeQtDialogService());

    // Two copies in one folder would share and delete each other's working files.
    const QString dir = QFileInfo(QCoreApplication::applicationFilePath()).canonicalPath();
    QLockFile lock(dir + QStringLiteral("/.popboard.lock"));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(100) && lock.error() == QLockFile::LockFailedError) {
        pb::Dialogs().MessageBox("もう起動している", "どうでもいいけど");
        return 1;
    }

    pb::TForm1 form;
    form.show();
    return app.exec();
}
