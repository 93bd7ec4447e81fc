#pragma once
// A stand-in for the region editor in the tests of its tool screens: an 792 x 553 window with
// a canvas image showing RegionBitmap at 100 %, the placed image over it, and the region
// history in a temporary folder.

#include <QWidget>
#include <memory>

#include "common/ui/region_host.h"
#include "platform/bitmap.h"
#include "platform/ui/image_control.h"
#include "support/test_support.h"

namespace pb::test {

class FakeRegionHost : public RegionHost {
public:
    explicit FakeRegionHost(Bitmap region) {
        window.setGeometry(0, 0, 792, 553);
        canvas = new ImageControl(&window);
        canvas->setObjectName("Image1");
        canvas->setStretch(true);
        canvas->setPicture(std::move(region));
        placed = new ImageControl(&window);
        placed->setObjectName("Image2");
        placed->setGeometry(0, 200, 20, 20);
        placed->hide();
        surface = std::make_unique<EditSurface>(canvas->picture(), dir.file("TmpWorkB"));
        surface->history().Reset();
        RegionChanged();
        window.show();
    }

    QWidget* EditorWindow() override { return &window; }
    EditSurface& RegionSurface() override { return *surface; }
    ImageControl* CanvasImage() override { return canvas; }
    ImageControl* PlacedImage() override { return placed; }
    int Zoom() const override { return zoom; }
    TColor CurrentColour() const override { return colour; }
    void RegionChanged() override {
        const Bitmap& b = canvas->picture();
        canvas->setGeometry(0, 200, b.width() * zoom / 100, b.height() * zoom / 100);
        canvas->pictureChanged();
        ++changes;
    }
    bool SnapshotRegion() override {
        if (failSnapshots) return false;
        return surface->history().Take(surface->bitmap());
    }
    void RollbackToOpen(int start) override {
        surface->history().RollbackToOpen(start, surface->bitmap());
        RegionChanged();
    }
    int Counter() const { return surface->history().counter(); }

    TempDir dir;
    QWidget window;
    ImageControl* canvas = nullptr;
    ImageControl* placed = nullptr;
    std::unique_ptr<EditSurface> surface;
    int zoom = 100;
    TColor colour = clBlack;
    bool failSnapshots = false;
    int changes = 0;
};

}  // namespace pb::test
