// The screens' side of a surface: the floating image at a zoom, dragging inside the page, and
// the messages chosen for what the history and the tools report.
#include "common/ui/surface_controls.h"

#include <gtest/gtest.h>

#include <QWidget>

#include "common/page_tools.h"
#include "platform/bitmap_canvas.h"
#include "platform/file_service.h"
#include "platform/ui/image_control.h"
#include "support/ui/dialog_scope.h"

namespace pb {
namespace {

constexpr TColor kRed = RGB(255, 0, 0);

TEST(SurfaceControls, HistoryStatusesBecomeTheirMessages) {
    const std::pair<HistoryStatus, const char*> cases[] = {
        {HistoryStatus::NothingBefore, "これより前はない"},
        {HistoryStatus::NothingAfter, "これより後はない"},
        {HistoryStatus::Unreadable, "この履歴は壊れていて読めない"},
    };
    for (const auto& [status, text] : cases) {
        test::ScriptedDialogScope dialogs;
        EXPECT_FALSE(ReportHistory(status));
        ASSERT_EQ(dialogs->shown.size(), 1u);
        EXPECT_EQ(dialogs->shown[0].text, text);
        EXPECT_EQ(dialogs->shown[0].caption, "NG");
    }
    test::ScriptedDialogScope dialogs;
    EXPECT_TRUE(ReportHistory(HistoryStatus::Done));
    EXPECT_TRUE(dialogs->shown.empty());
}

TEST(SurfaceControls, LiftDragAndDropAtZoom50StayOnThePage) {
    test::TempDir dir;
    test::ScriptedDialogScope dialogs;
    QWidget parent;
    auto* page = new ImageControl(&parent);
    auto* floating = new ImageControl(&parent);
    page->setStretch(true);
    floating->setStretch(true);
    floating->hide();
    page->setPicture(Bitmap(200, 160, kRed));
    page->setGeometry(0, 0, 100, 80);
    BitmapCanvas(page->picture()).FillRect({20, 20, 60, 40});  // white hole to recognise
    EditSurface surface(page->picture(), dir.file("TmpWorkA"));
    const std::string cctmp = dir.file("CCTmp.bmp");

    ASSERT_TRUE(BeginGesture(surface, kSelectCopy, ImageToBitmap(*page, 10, 10), clBlack, 1, false));
    ToolFor(kSelectCopy).Move(surface, ImageToBitmap(*page, 30, 20));
    ASSERT_TRUE(LiftOrDropSelection(*page, *floating, surface, kSelectCopy, false, cctmp));
    EXPECT_EQ(floating->geometry(), QRect(10, 10, 20, 10));  // half size on screen
    EXPECT_FALSE(floating->isHidden());

    // Dragged far to the right and down: it stops at the page's edges.
    DragFloatingControl(*floating, *page, 500, 500);
    EXPECT_EQ(floating->geometry(), QRect(80, 70, 20, 10));
    ASSERT_TRUE(LiftOrDropSelection(*page, *floating, surface, kSelectCopy, true, cctmp));
    EXPECT_TRUE(floating->isHidden());
    // Dropped at full pixels: (80, 70) on screen is (160, 140) on the page.
    EXPECT_EQ(page->picture().pixel(160, 140), clWhite);
    EXPECT_EQ(page->picture().pixel(159, 139), kRed);
    EXPECT_FALSE(LiftOrDropSelection(*page, *floating, surface, kSelectCopy, true, cctmp))
        << "dropped already";

    // A control larger than the page sticks to its top-left corner, as one dragged past it.
    QWidget control(&parent);
    control.setGeometry(0, 0, 150, 120);
    DragFloatingControl(control, *page, 75, 60);
    EXPECT_EQ(control.pos(), QPoint(0, 0));
    control.setGeometry(0, 0, 20, 20);
    DragFloatingControl(control, *page, -50, 10);
    EXPECT_EQ(control.pos(), QPoint(0, 0));

    // Without the gesture's snapshot the lift reports an accident.
    EXPECT_TRUE(dialogs->shown.empty());
    ResetFolder(dir.file("TmpWorkA"), true);
    ASSERT_TRUE(BeginGesture(surface, kSelectCopy, {10, 10}, clBlack, 1, true));
    ToolFor(kSelectCopy).Move(surface, {40, 30});
    EXPECT_FALSE(LiftOrDropSelection(*page, *floating, surface, kSelectCopy, false, cctmp));
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].text, "何か事故");
}

}  // namespace
}  // namespace pb
