#pragma once
// The work in progress of a run as a restart finds it after a crash or a power cut: the page's
// history folder (which holds every state up to the one on screen, see History::KeepCurrent),
// the object folder, and a small state file saying where the history stood, which page mode
// and which work it was. The state file is written from the start of a run and removed by its
// normal end ("終了"), so one found at start means that the run before did not end.

#include <cstdint>
#include <optional>
#include <string>

#include "common/app_state.h"
#include "platform/bitmap.h"

namespace pb {

struct WorkInProgress {
    std::uint8_t PageMode = kPostcardPortrait;
    int HistoryCounter = 1;  // History::counter(): the snapshot of the state on screen
    int HistoryLast = 0;     // History::last()
    std::string WorkName;    // empty when the work was never saved or opened

    bool operator==(const WorkInProgress&) const = default;
};

// appDir + "TmpWork.txt"
std::string WorkInProgressPath(const std::string& appDir);
// Four lines: page mode, history counter, history last, work name. False when not written.
bool WriteWorkInProgress(const std::string& appDir, const WorkInProgress& work);
// Removes the state file: nothing is left to restore.
void ForgetWorkInProgress(const std::string& appDir);

enum class LeftWork {
    None,       // the run before ended normally (or there was none)
    Untouched,  // it did not end, but had nothing a user would miss: a fresh first page
    Found,
    Damaged,  // its state file cannot be read
};
struct LeftWorkCheck {
    LeftWork kind = LeftWork::None;
    WorkInProgress work;  // for Untouched and Found
};
// What the run before left in the working folders of `app`.
LeftWorkCheck FindLeftWork(const AppState& app);

// The newest page the run before left that can be read: the state on screen (snapshot
// HistoryCounter) or, when that one is damaged or missing, the newest readable one before it;
// the states after a damaged one are dropped. Nothing when no snapshot can be read.
struct LeftPage {
    Bitmap page;
    int counter = 1;  // where the history goes on
    int last = 0;
};
std::optional<LeftPage> NewestSoundPage(const std::string& historyFolder,
                                        const WorkInProgress& work);

}  // namespace pb
