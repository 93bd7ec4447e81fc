#pragma once
// A stand-in main screen for the object screen tests: a postcard page at a chosen zoom, the
// object folder in a temporary AppDir, object images rendered by the renderer.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <optional>
#include <vector>

#include "common/app_state.h"
#include "common/ui/object_image.h"
#include "common/ui/screen_hub.h"
#include "objects/ui/object_images.h"
#include "objects_fixture.h"
#include "platform/file_service.h"
#include "platform/ui/image_control.h"
#include "support/ui/dialog_scope.h"

namespace pb::test {

inline void Click(QWidget* w) {
    ASSERT_TRUE(w);
    ASSERT_TRUE(w->isVisible()) << w->objectName().toStdString();
    QTest::mouseClick(w, Qt::LeftButton);
}
// Lets the screens that released themselves be deleted.
inline void Settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
inline std::vector<std::string> Said(const ScriptedDialogs& dialogs) {
    std::vector<std::string> out;
    for (const auto& s : dialogs.shown) out.push_back(s.text + "/" + s.caption);
    return out;
}

class FakeMainScreen : public ScreenHub {
  public:
    explicit FakeMainScreen(int zoom) : zoom(zoom) {
        App() = AppState{};
        SetAppDir(App(), dir.path());
        area.resize(1000, 1000);
        page = new ImageControl(&area);
        page->setStretch(true);
        page->setPicture(Bitmap(378, kPageHeight, clWhite));
        page->setGeometry(6, 4, 378 * zoom / 100, kPageHeight * zoom / 100);
        floating = new ImageControl(&area);
        floating->hide();
        InstallHub(this);
    }
    ~FakeMainScreen() override {
        ObjectImages().FreeAll();
        InstallHub(nullptr);
    }

    const std::string& folder() const { return App().ObjectFolder; }

    QWidget* PageArea() override { return &area; }
    ImageControl* PageImage() override { return page; }
    ImageControl* FloatingImage() override { return floating; }
    int Zoom() override { return zoom; }
    bool LoadObjectImage(const std::string& f, int slot) override {
        return RenderObject(f, slot, true, true);
    }
    void ShowObjectNotes(bool visible) override { objectNotes.push_back(visible); }
    void OpenObjectList() override { ++objectListOpened; }

    TempDir dir;
    QWidget area;
    ImageControl* page = nullptr;
    ImageControl* floating = nullptr;
    std::vector<bool> objectNotes;
    int objectListOpened = 0;
    const int zoom;
};

class ObjectScreenTest : public ::testing::Test {
  protected:
    explicit ObjectScreenTest(int zoom = 100) : main(zoom) { Files().CreateFolder(main.folder()); }
    // Writes `rec` into `slot`, shows its image and selects it, as the object list leaves it.
    void Place(const ObjectRecord& rec, int slot = 0) {
        ASSERT_EQ(WriteObject(main.folder(), slot, rec), WriteStatus::Written);
        ASSERT_TRUE(main.LoadObjectImage(main.folder(), slot));
        App().SelectedObject = slot;
    }
    std::optional<ObjectRecord> Stored(int slot = 0) const {
        return ReadObject(main.folder(), slot);
    }
    bool HasCompanion(int slot = 0) const {
        return Files().FileExists(CompanionBitmapPath(main.folder(), slot));
    }
    // Drags the slot's image to (x, y) pixels from the page's top-left corner.
    void Drag(int slot, int x, int y) {
        ObjectImages()[slot]->image()->move(main.page->x() + x, main.page->y() + y);
    }

    ScriptedDialogScope dialogs;
    FakeMainScreen main;
};

}  // namespace pb::test
