#include "common/history.h"

#include "common/app_state.h"
#include "platform/ui/dialogs.h"
#include "platform/file_service.h"
#include "platform/ui/image_control.h"
#include "platform/picture_io.h"

namespace pb {

namespace {

// Loads a snapshot into the image. A snapshot that exists but cannot be read (cut short by a
// full disk, say) is reported and leaves the picture as it is.
bool LoadSnapshot(ImageControl& image, const std::string& path) {
    auto bmp = LoadBmp(path);
    if (!bmp) {
        Dialogs().MessageBox("この履歴は壊れていて読めない", "NG");
        return false;
    }
    image.setPicture(std::move(*bmp));
    return true;
}

}  // namespace

std::string SnapshotPath(const std::string& folder, int n) {
    return JoinPath(folder, "Tmp" + std::to_string(n) + ".bmp");
}

bool SaveSnapshot(const Bitmap& bmp, const std::string& folder, int n) {
    if (SaveBmp(bmp, SnapshotPath(folder, n))) return true;
    if (!Files().FolderExists(folder) && !Files().CreateFolder(folder)) return false;
    return SaveBmp(bmp, SnapshotPath(folder, n));
}

bool TakeSnapshot(const Bitmap& bmp, int k) {
    AppState& app = App();
    if (!SaveSnapshot(bmp, app.HistoryFolder(k), app.HistoryCounter[k])) return false;
    ++app.HistoryCounter[k];
    return true;
}

void StepBack(ImageControl& image, int k) {
    AppState& app = App();
    if (app.HistoryCounter[k] < 2) {
        Dialogs().MessageBox("これより前はない", "NG");
        return;
    }
    --app.HistoryCounter[k];
    const std::string path = SnapshotPath(app.HistoryFolder(k), app.HistoryCounter[k]);
    if (Files().FileExists(path)) LoadSnapshot(image, path);
}

void StepForward(ImageControl& image, int k) {
    AppState& app = App();
    const int n = app.HistoryCounter[k] + 1;
    const std::string path = SnapshotPath(app.HistoryFolder(k), n);
    if (!Files().FileExists(path)) {
        Dialogs().MessageBox("これより後はない", "NG");
        return;
    }
    if (LoadSnapshot(image, path)) app.HistoryCounter[k] = n;
}

void ResetHistory(int k) {
    ResetFolder(App().HistoryFolder(k), true);
    App().HistoryCounter[k] = 1;
}

}  // namespace pb
