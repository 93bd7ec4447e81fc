// Fingers on the page: a pinch steps the zoom, two fingers pan, one finger paints as the mouse
// does, and a pinch that began as a stroke leaves nothing behind.

#include <QScrollBar>
#include <QTest>

#include "app/ui/main_screen.h"
#include "common/app_state.h"
#include "common/page_tools.h"
#include "ui/page_flow.h"

namespace pb::test {
namespace {

QTest::QTouchEventWidgetSequence Fingers(QWidget* w) {
    static QPointingDevice* device =
        QTest::createTouchDevice(QInputDevice::DeviceType::TouchScreen);
    return QTest::touchEvent(w->window(), device);
}

// Two fingers on `w` at `a` and `b`, moved through `steps` and lifted.
void TwoFingers(QWidget* w, QPoint a, QPoint b,
                const std::vector<std::pair<QPoint, QPoint>>& steps) {
    Fingers(w).press(0, a, w).press(1, b, w);
    for (const auto& [p, q] : steps) Fingers(w).move(0, p, w).move(1, q, w);
    Fingers(w).release(0, steps.back().first, w).release(1, steps.back().second, w);
}

class TouchOnPageTest : public PageFlow {
  protected:
    void SetUp() override {
        PageFlow::SetUp();
        Start();
        Click(form->Btn[21]);  // A4 portrait, larger than the scroll box both ways
        form->ApplyZoom(100);
    }
    int Counter() const { return form->PageSurface->history().counter(); }
};

TEST_F(TouchOnPageTest, APinchStepsTheZoomAndTwoFingersPanLeavingThePageAlone) {
    const Bitmap before = Page();
    const int counter = Counter();
    for (const auto& [spread, zoom] : {std::pair(45, 100), std::pair(30, 90), std::pair(55, 200)}) {
        form->ApplyZoom(100);
        TwoFingers(form->ScrollBox1->viewport(), {260, 250}, {340, 250},
                   {{{300 - spread, 250}, {300 + spread, 250}}});
        EXPECT_EQ(form->zoom(), zoom) << spread;
        EXPECT_TRUE(Page() == before && Counter() == counter) << spread;
    }
    QScrollBar* h = form->ScrollBox1->horizontalScrollBar();
    QScrollBar* v = form->ScrollBox1->verticalScrollBar();
    const QPoint start(h->value(), v->value());
    TwoFingers(form->ScrollBox1->viewport(), {200, 300}, {300, 300},
               {{{180, 270}, {280, 270}}, {{150, 240}, {250, 240}}});
    EXPECT_EQ(QPoint(h->value(), v->value()) - start, QPoint(50, 60));
}

TEST_F(TouchOnPageTest, OneFingerPaintsAsTheMouseAndAStrokeTurnedPinchLeavesNothing) {
    Click(form->Edit[3]);
    const int counter = Counter();
    QWidget* page = form->Image1;
    Fingers(page).press(0, {10, 10}, page);
    Fingers(page).move(0, {120, 90}, page);
    Fingers(page).release(0, {120, 90}, page);
    const Bitmap touched = Page();
    EXPECT_EQ(Counter(), counter + 1);
    Click(form->Btn[8]);  // "戻す"
    Stroke({10, 10}, {120, 90});
    EXPECT_TRUE(Page() == touched);

    Fingers(page).press(0, {30, 150}, page);
    Fingers(page).move(0, {90, 200}, page);
    ASSERT_FALSE(Page() == touched);
    Fingers(page).move(0, {90, 200}, page).press(1, {200, 200}, page);
    Fingers(page).release(0, {90, 200}, page).release(1, {200, 200}, page);
    EXPECT_TRUE(Page() == touched);
    EXPECT_EQ(Counter(), counter + 1);
}

TEST_F(TouchOnPageTest, APinchOnTheRegionEditorsCanvasZoomsIt) {
    TForm2* editor = MarkRegion({20, 20}, {320, 220});
    ASSERT_TRUE(editor && QTest::qWaitForWindowExposed(editor));
    TwoFingers(editor->ScrollBox1->viewport(), {100, 100}, {200, 100}, {{{85, 100}, {215, 100}}});
    EXPECT_EQ(editor->Zoom(), 200);
}

// Runs with the others at scale 1 and again with QT_SCALE_FACTOR=1.5 (tests/app/CMakeLists.txt):
// the page's pixels and the taps map the same whatever the device pixels.
TEST_F(TouchOnPageTest, AtEveryScaleATapPicksItsCellAndAStrokeLandsOnTheSamePixels) {
    ColourCell* cell = form->Edit[5];
    for (const QPoint at : {QPoint(1, 1), QPoint(cell->width() - 2, cell->height() - 2)}) {
        Click(form->Edit[1]);
        Fingers(cell).press(0, at, cell);
        Fingers(cell).release(0, at, cell);
        EXPECT_TRUE(cell->isMarked() && App().CurrentColor == cell->colour())
            << "scale " << form->devicePixelRatioF() << " at " << at.x() << "," << at.y();
    }
    TempDir history;
    Bitmap expected = Page();
    EditSurface surface(expected, history.path());
    ASSERT_TRUE(BeginGesture(surface, kFreeDraw, {10, 10}, cell->colour(), form->penWidth(), true));
    for (const Point p : {Point{65, 50}, Point{120, 90}}) ToolFor(kFreeDraw).Move(surface, p);
    ToolFor(kFreeDraw).Release(surface, {120, 90});
    Stroke({10, 10}, {120, 90});
    EXPECT_TRUE(Page() == expected) << "scale " << form->devicePixelRatioF();
}

}  // namespace
}  // namespace pb::test
