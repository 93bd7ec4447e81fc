// The screens' side of a surface: the floating image at a zoom and dragging inside the page.
#include "common/ui/surface_controls.h"

#include <gtest/gtest.h>

#include <QWidget>

#include "common/page_tools.h"
#include "platform/ui/image_control.h"
#include "support/test_support.h"

namespace pb {
namespace {

TEST(SurfaceControls, LiftAndDragAtZoom50StayOnThePage) {
    test::TempDir dir;
    QWidget parent;
    auto* page = new ImageControl(&parent);
    auto* floating = new ImageControl(&parent);
    page->setStretch(true);
    floating->setStretch(true);
    page->setPicture(Bitmap(200, 160, RGB(255, 0, 0)));
    page->setGeometry(0, 0, 100, 80);
    EditSurface surface(page->picture(), dir.file("TmpWorkA"));

    ASSERT_TRUE(BeginGesture(surface, kSelectCopy, ImageToBitmap(*page, 10, 10), clBlack, 1, false));
    ToolFor(kSelectCopy).Move(surface, ImageToBitmap(*page, 30, 20));
    ASSERT_TRUE(LiftOrDropSelection(*page, *floating, surface, kSelectCopy, false,
                                    dir.file("CCTmp.bmp")));
    EXPECT_EQ(floating->geometry(), QRect(10, 10, 20, 10));  // half size on screen

    // Dragged past the page's edges it stops at them; larger than the page it sticks to the
    // top-left corner.
    DragFloatingControl(*floating, *page, 500, 500);
    EXPECT_EQ(floating->pos(), QPoint(80, 70));
    floating->setGeometry(0, 0, 150, 120);
    DragFloatingControl(*floating, *page, 75, 60);
    EXPECT_EQ(floating->pos(), QPoint(0, 0));
}

}  // namespace
}  // namespace pb
