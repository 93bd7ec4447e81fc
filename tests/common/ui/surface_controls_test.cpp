// The screens' side of a surface: the floating image at a zoom and dragging inside the page.
#include "common/ui/surface_controls.h"

#include <gtest/gtest.h>

#include <QWidget>
#include <tuple>

#include "common/page_tools.h"
#include "platform/ui/image_control.h"
#include "support/test_support.h"

namespace pb {
namespace {

constexpr TColor kRed = RGB(255, 0, 0);

TEST(SurfaceControls, LiftAndDragAtZoom50StayOnThePage) {
    test::TempDir dir;
    QWidget parent;
    auto* page = new ImageControl(&parent);
    auto* floating = new ImageControl(&parent);
    page->setStretch(true);
    floating->setStretch(true);
    floating->hide();
    page->setPicture(Bitmap(200, 160, kRed));
    page->setGeometry(0, 0, 100, 80);
    EditSurface surface(page->picture(), dir.file("TmpWorkA"));
    const std::string cctmp = dir.file("CCTmp.bmp");

    ASSERT_TRUE(BeginGesture(surface, kSelectCopy, ImageToBitmap(*page, 10, 10), clBlack, 1, false));
    ToolFor(kSelectCopy).Move(surface, ImageToBitmap(*page, 30, 20));
    ASSERT_TRUE(LiftOrDropSelection(*page, *floating, surface, kSelectCopy, false, cctmp));
    EXPECT_EQ(floating->geometry(), QRect(10, 10, 20, 10));  // half size on screen
    EXPECT_FALSE(floating->isHidden());

    // Dragged past the page's edges it stops at them; larger than the page it sticks to the
    // top-left corner.
    const std::tuple<QSize, QPoint, QPoint> drags[] = {
        {{20, 10}, {500, 500}, {80, 70}},
        {{20, 20}, {-50, 10}, {0, 0}},
        {{150, 120}, {75, 60}, {0, 0}},
    };
    for (const auto& [size, to, at] : drags) {
        floating->setGeometry(QRect(QPoint(0, 0), size));
        DragFloatingControl(*floating, *page, to.x(), to.y());
        EXPECT_EQ(floating->pos(), at) << to.x() << "," << to.y();
    }
}

}  // namespace
}  // namespace pb
