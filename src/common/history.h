#pragma once
// The undo history of one canvas: every earlier state of its bitmap is a numbered bitmap file
// "Tmp" + n + ".bmp" in the history's folder (the page's "TmpWorkA", the region editor's
// "TmpWorkB"), and the history counts the number of the next snapshot to write. Nothing but
// the numbers is kept in memory; the bitmap on screen is the newest state.
//
// Routines report what happened; the screens choose the message.

#include <optional>
#include <string>

#include "platform/bitmap.h"

namespace pb {

// folder + "/Tmp" + n + ".bmp"
std::string SnapshotPath(const std::string& folder, int n);

// Saves `bmp` as snapshot n in `folder`; when that fails, creates the folder and tries once
// more. False when the snapshot could not be written.
bool SaveSnapshot(const Bitmap& bmp, const std::string& folder, int n);

enum class HistoryStatus {
    Done,
    NothingBefore,  // "戻す" at the oldest state
    NothingAfter,   // "進む" at the newest state
    Unreadable,     // the snapshot exists but cannot be read; the bitmap is left as it was
};

class History {
public:
    explicit History(std::string folder) : folder_(std::move(folder)) {}

    const std::string& folder() const { return folder_; }
    // The number of the next snapshot to write.
    int counter() const { return counter_; }
    // The highest snapshot that belongs to the history ("進む" goes no further).
    int last() const { return last_; }

    // Saves `bmp` as the next snapshot and counts it; a change made after stepping back drops
    // the states that "進む" could have returned to. False (and nothing counted) when the
    // snapshot could not be written: the caller then leaves the bitmap alone.
    bool Take(const Bitmap& bmp);
    // "戻す": replaces `current` by the state before it. The newest state, which has no file
    // of its own, is saved first so that "進む" can return to it.
    HistoryStatus StepBack(Bitmap& current);
    // "進む": replaces `current` by the state after it.
    HistoryStatus StepForward(Bitmap& current);

    // The newest snapshot's number: a screen marks it right after the snapshot it takes when
    // it opens, and rolls back to it when cancelled.
    int Mark() const { return counter_ - 1; }
    // Replaces `current` by snapshot `mark` and makes it the current state again; the states
    // after it are dropped.
    HistoryStatus RollBack(int mark, Bitmap& current);
    // A tool screen's "Cancel": it remembered the counter `start` when it opened, and its first
    // change wrote snapshot `start`. When that snapshot exists, `current` becomes it, the
    // counter goes back to `start` and the snapshots from `start` on are deleted; when it does
    // not (nothing was changed), nothing happens and Done is returned.
    HistoryStatus RollbackToOpen(int start, Bitmap& current);
    // The newest snapshot (number counter() - 1), or nothing when it is missing or unreadable.
    std::optional<Bitmap> Newest() const;

    // Saves `current` as its own snapshot (number counter()), so that the folder holds the
    // state on screen too, not only the states before it. False when it could not be written.
    bool KeepCurrent(const Bitmap& current);
    // Carries on with a history whose files a run before this one left: counter and last as
    // that run had them (1 <= counter, 0 <= last).
    void Resume(int counter, int last);

    // Empties the folder (recreating it) and starts again at 1.
    void Reset();
    // Starts again at 1 and leaves the folder as it is (a new page writes snapshot 1 itself).
    void Restart();

private:
    HistoryStatus Load(int n, Bitmap& current) const;

    std::string folder_;
    int counter_ = 1;
    // The highest snapshot that belongs to the history; snapshots up to counter_ - 1 are the
    // states before the current one, and while counter_ <= last_ the current state has a file
    // of its own (number counter_).
    int last_ = 0;
};

}  // namespace pb
