#include "objects/print_composition.h"

#include <gtest/gtest.h>

#include "objects/object_renderer.h"
#include "objects_fixture.h"
#include "platform/bitmap_canvas.h"
#include "platform/file_service.h"
#include "platform/fonts.h"
#include "platform/picture_io.h"

namespace pb {
namespace {

using namespace test;

class PrintCompositionTest : public ::testing::Test {
  protected:
    std::string folder() const { return dir.path() + "/"; }
    // Writes the record and renders it as the screen does, which leaves its companion.
    void Add(int slot, const ObjectRecord& r) {
        ASSERT_EQ(WriteObject(folder(), slot, r), WriteStatus::Written);
        auto picture = RenderObjectPicture(r);
        ASSERT_TRUE(picture);
        if (picture->companion) SaveBmp(*picture->companion, CompanionBitmapPath(folder(), slot));
    }
    bool HasCompanion(int slot) const {
        return Files().FileExists(CompanionBitmapPath(folder(), slot));
    }
    // The composition in the binding order, onto a page that stands for the recording.
    Bitmap Print(bool prePass = true) {
        if (prePass) OverlapPrePass(folder());
        Bitmap page(400, 300, clWhite);
        for (int n = 0; n < kObjectSlots; ++n) RasterPass(page, folder(), n);
        BitmapCanvas canvas(page);
        for (int n = 0; n < kObjectSlots; ++n) DrawObjectVector(canvas, folder(), n);
        return page;
    }
    static long CountIn(const Bitmap& b, TColor c, const Rect& r) {
        long n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (b.pixel(x, y) == c) ++n;
        return n;
    }
    static ObjectRecord SolidText(int left, int top) {
        ObjectRecord r = TextRecord("ああああ");
        r.Left = left;
        r.Top = top;
        r.FillColor = kRed;
        return r;
    }
    static ObjectRecord GradationBox(int left, int top, int w, int h) {
        ObjectRecord r = ShapeRecord(w, h);
        r.Left = left;
        r.Top = top;
        r.FillStyle = 3;
        UseColours(r, {kYellow, kGreen});
        return r;
    }

    TempDir dir;
};

TEST_F(PrintCompositionTest, ASolidTextUnderALaterGradationShapeStaysUnderIt) {
    Add(0, SolidText(0, 10));
    Add(1, GradationBox(0, 0, 100, 90));
    const Rect shapeInside{4, 4, 96, 86};
    // Without the pre-pass the text's vector fill would land on top of the shape.
    EXPECT_GT(CountIn(Print(false), kRed, shapeInside), 50);
    const Bitmap page = Print();
    EXPECT_TRUE(HasCompanion(0)) << "the text became bitmap-filled";
    EXPECT_EQ(CountIn(page, kRed, shapeInside), 0);
    EXPECT_GT(CountIn(page, kRed, {110, 0, 400, 300}), 50) << "the rest of the text is still red";
    // Below the text the shape shows its own fill.
    const Bitmap fill = *RenderObjectPicture(GradationBox(0, 0, 100, 90))->companion;
    EXPECT_EQ(page.pixel(50, 80), fill.pixel(50, 80));
}

TEST_F(PrintCompositionTest, OnlyStrictOverlapsWithLaterBitmapFilledObjectsCount) {
    const std::optional<Size> text = ObjectBoxSize(SolidText(0, 0));
    ASSERT_TRUE(text);
    // The gradation shape's slot (the text is in 5) and left edge; whether the text then
    // becomes bitmap-filled.
    const std::tuple<const char*, int, int, bool> cases[] = {
        {"overlapping by one pixel", 9, text->width - 1, true},
        {"touching", 9, text->width, false},
        {"below the text in the stack", 2, 0, false},
    };
    for (const auto& [name, shapeSlot, shapeLeft, companion] : cases) {
        ResetFolder(dir.path(), true);
        Add(5, SolidText(0, 0));
        Add(shapeSlot, GradationBox(shapeLeft, 0, 40, 40));
        OverlapPrePass(folder());
        EXPECT_EQ(HasCompanion(5), companion) << name;
    }
    // A companion left by an earlier print is dropped once nothing overlaps any more.
    ResetFolder(dir.path(), true);
    Add(5, SolidText(0, 0));
    SaveBmp(Bitmap(3, 3, kRed), CompanionBitmapPath(folder(), 5));
    OverlapPrePass(folder());
    EXPECT_FALSE(HasCompanion(5));
}

TEST_F(PrintCompositionTest, RasterPassBurnsShadowAndFillOnlyInsideThePage) {
    ObjectRecord r = GradationBox(-20, 280, 60, 40);
    r.Shadow = true;
    r.ShadowColor = kNavy;
    r.UseColor[1] = false;
    Add(0, r);
    Bitmap page(400, 300, clWhite);
    RasterPass(page, folder(), 0);
    // The box lies from x -20 and y 280 on and is cut by the page; no outline is burnt.
    EXPECT_EQ(std::tuple(page.pixel(10, 290), page.pixel(0, 299), page.pixel(60, 290)),
              std::tuple(kYellow, kYellow, clWhite));
    EXPECT_EQ(CountPixels(page, clBlack), 0);
}

}  // namespace
}  // namespace pb
