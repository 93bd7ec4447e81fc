#pragma once
// Keeps the main screen's work in progress on disk, so that a restart after a crash or a power
// cut finds it (app/session_recovery.h). After every user action (a mouse button or a key let
// go, a touch ended), once the program has handled it: the page as its history's current
// snapshot, the objects' positions in their records, and the state file. Only what changed is
// written; an action that changed nothing costs one comparison of the page.

#include <QObject>
#include <optional>

#include "app/session_recovery.h"
#include "platform/bitmap.h"

namespace pb {

class TForm1;

class WorkKeeper : public QObject {
  public:
    // Watches the whole application's input until Stop(); a child of `main`.
    explicit WorkKeeper(TForm1& main);
    ~WorkKeeper() override;

    // Writes what changed since the last time (nothing while a stroke is under way).
    void Keep();
    // The normal end: nothing is written any more.
    void Stop();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    TForm1& main_;
    bool scheduled_ = false;
    bool stopped_ = false;
    Bitmap keptPage_;
    std::optional<WorkInProgress> keptWork_;
};

}  // namespace pb
