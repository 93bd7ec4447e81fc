#pragma once
// A main screen for the object tests: a page area with the page image (a postcard page at a
// chosen zoom) and the floating image, the object folder in a temporary AppDir, and a hub
// that loads object images with the renderer and records the other hand-overs.

#include <QWidget>
#include <vector>

#include "common/app_state.h"
#include "common/object_image.h"
#include "common/screen_hub.h"
#include "objects/object_renderer.h"
#include "platform/file_service.h"
#include "platform/image_control.h"
#include "support/test_support.h"

namespace pb::test {

// What the message boxes said, each as "text/caption".
inline std::vector<std::string> Said(ScriptedDialogScope& dialogs) {
    std::vector<std::string> out;
    for (const auto& s : dialogs->shown) out.push_back(s.text + "/" + s.caption);
    return out;
}

class FakeMainScreen : public ScreenHub {
  public:
    explicit FakeMainScreen(int zoom = 100, Size pageSize = {378, 559}) : zoom_(zoom) {
        App() = AppState{};
        SetAppDir(App(), dir.path());
        App().WorkAreaWidth = 1280;
        App().WorkAreaHeight = 800;
        area.resize(1000, 1000);
        page = new ImageControl(&area);
        page->setStretch(true);
        page->setPicture(Bitmap(pageSize.width, pageSize.height, clWhite));
        page->setGeometry(6, 4, pageSize.width * zoom / 100, pageSize.height * zoom / 100);
        floating = new ImageControl(&area);
        floating->hide();
        InstallHub(this);
    }
    ~FakeMainScreen() override {
        ObjectImages().FreeAll();
        InstallHub(nullptr);
    }
    FakeMainScreen(const FakeMainScreen&) = delete;
    FakeMainScreen& operator=(const FakeMainScreen&) = delete;

    const std::string& folder() const { return App().ObjectFolder; }

    QWidget* PageArea() override { return &area; }
    ImageControl* PageImage() override { return page; }
    ImageControl* FloatingImage() override { return floating; }
    int Zoom() override { return zoom_; }
    bool LoadObjectImage(const std::string& f, int slot) override {
        return RenderObject(f, slot, true, true);
    }
    void ShowObjectNotes(bool visible) override { notes.push_back(visible); }
    void OpenKeyboard(const KeyboardRequest& request) override { keyboard.push_back(request); }
    void OpenObjectList() override { ++objectListOpened; }

    TempDir dir;
    QWidget area;
    ImageControl* page = nullptr;
    ImageControl* floating = nullptr;
    std::vector<bool> notes;
    std::vector<KeyboardRequest> keyboard;
    int objectListOpened = 0;

  private:
    int zoom_;
};

}  // namespace pb::test
