// popboard: the program's entry point.
#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <QLockFile>
#include <QScreen>
#include <cstdlib>
#include <vector>

#include "app/ui/main_screen.h"
#include "platform/metrics.h"
#include "platform/ui/dialogs.h"

namespace {

// Scales every screen as a whole to the work area (pb::ScreenScaleFactor). Qt takes its factor
// only when the application is made, so a short-lived QGuiApplication asks the primary screen
// first. A QT_SCALE_FACTOR the user set wins.
void ChooseScreenScale(int argc, char** argv) {
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) return;
    double factor = 1;
    {
        // The probe may take its own options out of argv: it gets a copy.
        std::vector<char*> args(argv, argv + argc);
        args.push_back(nullptr);
        int count = argc;
        const QGuiApplication probe(count, args.data());
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            factor = pb::ScreenScaleFactor(area.width(), area.height());
        }
    }
    if (factor > 1) qputenv("QT_SCALE_FACTOR", QByteArray::number(factor));
}

}  // namespace

int main(int argc, char** argv) {
    // fontconfig must answer with Japanese family names (IPAゴシック...), which the default
    // font rule of object records looks for.
    setenv("FC_LANG", "ja", 1);
    ChooseScreenScale(argc, argv);
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
