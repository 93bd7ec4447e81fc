// Fingers on the page: a pinch steps the zoom about the fingers' centre, two fingers pan, one
// finger paints as the mouse does, and a pinch that began as a stroke leaves nothing behind.

#include <QScrollBar>
#include <QTest>

#include "app/ui/main_screen.h"
#include "ui/page_flow.h"

namespace pb::test {
namespace {

QPointingDevice* TouchScreen() {
    static QPointingDevice* device = QTest::createTouchDevice(QInputDevice::DeviceType::TouchScreen);
    return device;
}

class TouchOnPageTest : public PageFlow {
  protected:
    // A new A4 portrait page at 100 %, larger than the scroll box both ways.
    void StartA4() {
        Start();
        Click(form->Btn[21]);
        form->ApplyZoom(100);
    }
    QPoint Scroll() const {
        return {form->ScrollBox1->horizontalScrollBar()->value(),
                form->ScrollBox1->verticalScrollBar()->value()};
    }
    // Two fingers at `a` and `b` (viewport points), moved through the pairs of `steps`.
    void TwoFingers(QPoint a, QPoint b, const std::vector<std::pair<QPoint, QPoint>>& steps) {
        TwoFingersOn(form->ScrollBox1, a, b, steps);
    }
    static void TwoFingersOn(QScrollArea* area, QPoint a, QPoint b,
                             const std::vector<std::pair<QPoint, QPoint>>& steps) {
        QWidget* v = area->viewport();
        QTest::touchEvent(v->window(), TouchScreen()).press(0, a, v).press(1, b, v);
        for (const auto& [p, q] : steps)
            QTest::touchEvent(v->window(), TouchScreen()).move(0, p, v).move(1, q, v);
        const auto& [p, q] = steps.back();
        QTest::touchEvent(v->window(), TouchScreen()).release(0, p, v).release(1, q, v);
    }
    // Fingers `half` pixels either side of `centre`, horizontally.
    static std::pair<QPoint, QPoint> Apart(QPoint centre, int half) {
        return {centre - QPoint(half, 0), centre + QPoint(half, 0)};
    }
};

TEST_F(TouchOnPageTest, APinchStepsTheZoomAboutTheFingersAndLeavesThePageAlone) {
    struct Case {
        std::vector<int> halves;  // half the fingers' distance, from the first touch on
        int zoom;                 // the zoom after the last of them
    };
    const Case cases[] = {
        {{40, 55}, 200},       // spread by 1.375: one step up
        {{40, 55, 100}, 500},  // spread by 2.5: 100 -> 200 -> 300 -> 400 -> 500
        {{40, 45}, 100},       // not far enough
        {{40, 30}, 90},        // closed by 1.33: one step down
        {{40, 30, 20}, 70},    // closed by 2: three steps down
    };
    StartA4();
    for (const Case& c : cases) {
        form->ApplyZoom(100);
        form->ScrollBox1->horizontalScrollBar()->setValue(100);
        form->ScrollBox1->verticalScrollBar()->setValue(200);
        const Bitmap before = Page();
        const int counter = form->PageSurface->history().counter();
        const QPoint centre(300, 250);
        const QPointF under = QPointF(Scroll() + centre) / 100.0;  // page pixel under the centre
        std::vector<std::pair<QPoint, QPoint>> steps;
        for (std::size_t n = 1; n < c.halves.size(); ++n) steps.push_back(Apart(centre, c.halves[n]));
        const auto [a, b] = Apart(centre, c.halves[0]);
        TwoFingers(a, b, steps);
        SCOPED_TRACE(c.zoom);
        EXPECT_EQ(form->zoom(), c.zoom);
        EXPECT_EQ(form->Image1->width(), Page().width() * c.zoom / 100);
        EXPECT_TRUE(Page() == before);
        EXPECT_EQ(form->PageSurface->history().counter(), counter);
        // The page pixel under the centre stays there, as far as the scroll range allows.
        QScrollBar* h = form->ScrollBox1->horizontalScrollBar();
        const double wanted = under.x() * c.zoom - centre.x();
        EXPECT_NEAR(h->value(), std::clamp(wanted, 0.0, double(h->maximum())), 2.0);
        QScrollBar* v = form->ScrollBox1->verticalScrollBar();
        EXPECT_NEAR(v->value(), std::clamp(under.y() * c.zoom - centre.y(), 0.0, double(v->maximum())),
                    2.0);
    }
}

TEST_F(TouchOnPageTest, TwoFingersMoveTheScrollBox) {
    StartA4();
    const Bitmap before = Page();
    const QPoint start = Scroll();
    // Both fingers move up and to the left: the page follows them.
    TwoFingers({200, 300}, {300, 300},
               {{{180, 270}, {280, 270}}, {{150, 240}, {250, 240}}});
    EXPECT_EQ(Scroll() - start, QPoint(50, 60));
    EXPECT_EQ(form->zoom(), 100);
    EXPECT_TRUE(Page() == before);
}

TEST_F(TouchOnPageTest, OneFingerPaintsAsTheMouseAndASecondFingerTakesTheStrokeBack) {
    StartA4();
    Click(form->Edit[3]);
    const Bitmap blank = Page();
    const int counter = form->PageSurface->history().counter();
    const QPoint from(10, 10), to(120, 90);
    QTest::touchEvent(form.get(), TouchScreen()).press(0, from, form->Image1);
    QTest::touchEvent(form.get(), TouchScreen()).move(0, (from + to) / 2, form->Image1);
    QTest::touchEvent(form.get(), TouchScreen()).move(0, to, form->Image1);
    QTest::touchEvent(form.get(), TouchScreen()).release(0, to, form->Image1);
    const Bitmap touched = Page();
    EXPECT_FALSE(touched == blank);
    EXPECT_EQ(form->PageSurface->history().counter(), counter + 1);

    Click(form->Btn[8]);  // "戻す"
    ASSERT_TRUE(Page() == blank);
    Stroke(from, to);
    EXPECT_TRUE(Page() == touched);

    // A stroke that turns into a pinch: the painted part and its snapshot go.
    for (const bool dropFirst : {false, true}) {
        SCOPED_TRACE(dropFirst);
        if (dropFirst) {  // a copied selection floats; the press drops it and draws a band
            Click(form->RBtn[5]);
            Stroke({200, 200}, {260, 240});
            ASSERT_TRUE(form->Image2->isVisible());
        }
        const Bitmap page = Page();
        const int n = form->PageSurface->history().counter();
        QTest::touchEvent(form.get(), TouchScreen()).press(0, {30, 150}, form->Image1);
        QTest::touchEvent(form.get(), TouchScreen()).move(0, {90, 200}, form->Image1);
        ASSERT_FALSE(Page() == page);
        QTest::touchEvent(form.get(), TouchScreen())
            .move(0, {90, 200}, form->Image1)
            .press(1, {200, 200}, form->Image1);
        QTest::touchEvent(form.get(), TouchScreen())
            .release(0, {90, 200}, form->Image1)
            .release(1, {200, 200}, form->Image1);
        // A dropped copy stays where it lay; no snapshot is left.
        EXPECT_TRUE(Page() == page);
        EXPECT_EQ(form->PageSurface->history().counter(), n);
        EXPECT_FALSE(form->Image2->isVisible());
    }
}

TEST_F(TouchOnPageTest, OnTheRegionEditorsCanvasAPinchZoomsAndAStrokeTurnedPinchLeavesNothing) {
    StartA4();
    TForm2* editor = MarkRegion({20, 20}, {320, 220});
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(editor));
    const Bitmap region = editor->RegionBitmap();
    const int counter = editor->RegionSurface().history().counter();
    // A finger paints, a second one lands and the two spread.
    QWidget* canvas = editor->Image1;
    QTest::touchEvent(editor, TouchScreen()).press(0, {20, 20}, canvas);
    QTest::touchEvent(editor, TouchScreen()).move(0, {80, 60}, canvas);
    ASSERT_FALSE(editor->RegionBitmap() == region);
    QTest::touchEvent(editor, TouchScreen()).move(0, {80, 60}, canvas).press(1, {140, 60}, canvas);
    QTest::touchEvent(editor, TouchScreen()).move(0, {65, 60}, canvas).move(1, {155, 60}, canvas);
    QTest::touchEvent(editor, TouchScreen()).release(0, {65, 60}, canvas).release(1, {155, 60}, canvas);
    EXPECT_EQ(editor->Zoom(), 200);
    EXPECT_EQ(editor->Label[5]->text(), QStringLiteral("200"));
    EXPECT_EQ(canvas->width(), region.width() * 2);
    EXPECT_TRUE(editor->RegionBitmap() == region);
    EXPECT_EQ(editor->RegionSurface().history().counter(), counter);
    // Closing them again steps back down.
    TwoFingersOn(editor->ScrollBox1, {100, 100}, {200, 100}, {{{112, 100}, {188, 100}}});
    EXPECT_EQ(editor->Zoom(), 100);
}

}  // namespace
}  // namespace pb::test
