#include "common/history.h"

#include <algorithm>

#include "platform/file_service.h"
#include "platform/picture_io.h"

namespace pb {

std::string SnapshotPath(const std::string& folder, int n) {
    return JoinPath(folder, "Tmp" + std::to_string(n) + ".bmp");
}

bool SaveSnapshot(const Bitmap& bmp, const std::string& folder, int n) {
    if (SaveBmp(bmp, SnapshotPath(folder, n))) return true;
    if (!Files().FolderExists(folder) && !Files().CreateFolder(folder)) return false;
    return SaveBmp(bmp, SnapshotPath(folder, n));
}

HistoryStatus History::Load(int n, Bitmap& current) const {
    auto bmp = LoadBmp(SnapshotPath(folder_, n));
    if (!bmp) return HistoryStatus::Unreadable;
    current = std::move(*bmp);
    return HistoryStatus::Done;
}

bool History::Take(const Bitmap& bmp) {
    if (!SaveSnapshot(bmp, folder_, counter_)) return false;
    last_ = counter_;
    ++counter_;
    return true;
}

HistoryStatus History::StepBack(Bitmap& current) {
    if (counter_ < 2) return HistoryStatus::NothingBefore;
    // The newest state is kept before leaving it. When that fails, stepping back still works;
    // only the way forward ends one state earlier.
    if (counter_ > last_ && SaveSnapshot(current, folder_, counter_)) last_ = counter_;
    --counter_;
    // A missing file still lowers the counter and leaves the picture as it is.
    if (!Files().FileExists(SnapshotPath(folder_, counter_))) return HistoryStatus::Done;
    const HistoryStatus status = Load(counter_, current);
    return status;
}

HistoryStatus History::StepForward(Bitmap& current) {
    const int n = counter_ + 1;
    if (n > last_ || !Files().FileExists(SnapshotPath(folder_, n))) return HistoryStatus::NothingAfter;
    const HistoryStatus status = Load(n, current);
    if (status == HistoryStatus::Done) counter_ = n;
    return status;
}

HistoryStatus History::RollBack(int mark, Bitmap& current) {
    if (mark < 1) return HistoryStatus::NothingBefore;
    const HistoryStatus status = Load(mark, current);
    if (status != HistoryStatus::Done) return status;
    counter_ = mark;
    last_ = mark;
    return status;
}

HistoryStatus History::RollbackToOpen(int start, Bitmap& current) {
    if (start < 1 || !Files().FileExists(SnapshotPath(folder_, start))) return HistoryStatus::Done;
    const HistoryStatus status = Load(start, current);
    if (status != HistoryStatus::Done) return status;
    counter_ = start;
    last_ = start - 1;
    for (int k = start; Files().FileExists(SnapshotPath(folder_, k)); ++k)
        Files().DeleteFile(SnapshotPath(folder_, k));
    return status;
}

std::optional<Bitmap> History::Newest() const {
    const std::string path = SnapshotPath(folder_, counter_ - 1);
    if (counter_ < 2 || !Files().FileExists(path)) return std::nullopt;
    return LoadBmp(path);
}

bool History::KeepCurrent(const Bitmap& current) {
    if (!SaveSnapshot(current, folder_, counter_)) return false;
    if (last_ < counter_) last_ = counter_;
    return true;
}

void History::Resume(int counter, int last) {
    counter_ = std::max(counter, 1);
    last_ = std::max(last, 0);
}

void History::Reset() {
    ResetFolder(folder_, true);
    Restart();
}

void History::Restart() {
    counter_ = 1;
    last_ = 0;
}

}  // namespace pb
