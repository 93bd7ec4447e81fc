#include "app/ui/work_keeper.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include "app/ui/main_screen.h"
#include "common/app_state.h"
#include "objects/ui/object_images.h"

namespace pb {

WorkKeeper::WorkKeeper(TForm1& main) : QObject(&main), main_(main) {
    QCoreApplication::instance()->installEventFilter(this);
}

WorkKeeper::~WorkKeeper() {
    Stop();
}

void WorkKeeper::Stop() {
    if (stopped_) return;
    stopped_ = true;
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

bool WorkKeeper::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonRelease:
        case QEvent::KeyRelease:
        case QEvent::TouchEnd:
            // The action is handled after this filter: keep once the event loop is back.
            if (!scheduled_ && !stopped_) {
                scheduled_ = true;
                QTimer::singleShot(0, this, [this] {
                    scheduled_ = false;
                    Keep();
                });
            }
            break;
        default:
            break;
    }
    return false;
}

void WorkKeeper::Keep() {
    const AppState& app = App();
    const Bitmap& page = main_.Image1->picture();
    // While the works gallery is open the page shows a saved work, not the work in progress.
    if (stopped_ || app.Tracking || page.isNull() || !main_.Image1->isEnabled()) return;
    History& history = main_.PageSurface->history();
    // The current state needs writing when it changed, or when a reset of the history (a save,
    // a work opened) removed its file.
    if (history.counter() > history.last() || !(page == keptPage_)) {
        if (!history.KeepCurrent(page)) return;  // the state file still names the last kept one
        keptPage_ = page;
    }
    SaveAllPositions(*main_.Image1, main_.zoom());
    const WorkInProgress work{app.PageMode, history.counter(), history.last(), app.WorkName};
    if (keptWork_ != work && WriteWorkInProgress(app.AppDir, work)) keptWork_ = work;
}

}  // namespace pb
