#include "objects/object_renderer.h"

#include <gtest/gtest.h>

#include "common/app_state.h"
#include "common/object_image.h"
#include "fake_hub.h"
#include "objects/decorated_path.h"
#include "platform/bitmap_canvas.h"
#include "platform/fonts.h"
#include "platform/picture_io.h"
#include "support/test_support.h"

namespace pb {
namespace {

constexpr TColor kRed = RGB(255, 0, 0);
constexpr TColor kBlue = RGB(0, 0, 255);
constexpr TColor kYellow = RGB(255, 255, 0);

ObjectRecord Plain(const std::string& text = "あいう\r\n12") {
    ObjectRecord r = NewPlainObject(0, 559, false);
    r.Text = text;
    r.FontSize = 16;
    r.FontColor = kBlue;
    return r;
}

ObjectRecord Rectangle(int w, int h, int fillStyle) {
    ObjectRecord r = NewShapeObject(0, 559, false);
    r.FontSize = w;
    r.Align = h;
    r.FillStyle = fillStyle;
    r.FillColor = kBlue;
    return r;
}

void Use(ObjectRecord& r, std::initializer_list<TColor> colours) {
    std::size_t i = 0;
    for (TColor c : colours) {
        r.UseColor[i] = true;
        r.Color[i++] = c;
    }
}

bool AllPixels(const Bitmap& b, TColor c) {
    return !b.isNull() && test::CountPixels(b, c) == static_cast<long>(b.width()) * b.height();
}

TEST(ObjectRenderer, PlainTextBackgrounds) {
    struct Case {
        const char* name;
        int backStyle;
        std::initializer_list<TColor> colours;
        bool horizontal;
        TColor corner;  // the background at the top-right corner
        bool companion;
    };
    const Case cases[] = {
        {"none: see-through", 0, {}, false, KeyColour, false},
        {"SOLID", 1, {}, false, kYellow, true},
        {"STRIPE without colours: white, not see-through", 2, {}, false, clWhite, true},
        {"STRIPE with one colour", 2, {kRed}, false, kRed, true},
        {"GRADATION down: the first row is colour 1", 3, {kRed, kYellow}, true, kRed, true},
        {"GRADATION across: the last column is nearly colour 2",
         3,
         {kRed, kYellow},
         false,
         kRed,
         true},
        {"unknown style: white", 7, {}, false, clWhite, true},
    };
    for (const Case& c : cases) {
        ObjectRecord r = Plain();
        r.BackStyle = c.backStyle;
        r.BackColor = kYellow;
        r.Horizontal = c.horizontal;
        Use(r, c.colours);
        const auto picture = RenderPlainTextPicture(r);
        ASSERT_TRUE(picture) << c.name;
        const Bitmap& img = picture->image;
        const int right = img.width() - 1;
        if (c.backStyle == 3 && !c.horizontal) {
            EXPECT_EQ(img.pixel(0, 0), kRed) << c.name;
            EXPECT_EQ(GetRValue(img.pixel(right, 0)), 255) << c.name;
            EXPECT_GT(GetGValue(img.pixel(right, 0)), 240) << c.name;
        } else {
            EXPECT_EQ(img.pixel(right, 0), c.corner) << c.name;
        }
        EXPECT_GT(test::CountPixels(img, kBlue), 20) << c.name << ": the text";
        ASSERT_EQ(picture->companion.has_value(), c.companion) << c.name;
        if (c.companion) {
            // The companion is the background alone.
            EXPECT_EQ(picture->companion->size(), img.size());
            EXPECT_EQ(test::CountPixels(*picture->companion, kBlue), 0) << c.name;
        }
    }
    // SOLID's companion is a block of the background colour.
    ObjectRecord solid = Plain();
    solid.BackStyle = 1;
    solid.BackColor = kYellow;
    EXPECT_TRUE(AllPixels(*RenderPlainTextPicture(solid)->companion, kYellow));

    // Text in the key colour is invisible.
    ObjectRecord hidden = Plain();
    hidden.FontColor = KeyColour;
    EXPECT_TRUE(AllPixels(RenderPlainTextPicture(hidden)->image, KeyColour));
}

TEST(ObjectRenderer, PlainTextLayout) {
    Bitmap probe(1, 1);
    BitmapCanvas canvas(probe);
    ObjectRecord r = Plain("あいうえお\r\n\r\n1");
    const std::string family = FontNameForIndex(InstalledFonts(), r.FontIndex);
    canvas.font = Font{family, 16, false, false, clBlack};
    const int lineHeight = canvas.TextHeight("あ");
    const int wide = canvas.TextWidth("あいうえお");
    // Three lines (the empty one keeps its height); the box is as wide as the widest line.
    const Bitmap img = RenderPlainTextPicture(r)->image;
    EXPECT_EQ(img.size(), (Size{wide, 3 * lineHeight}));
    // Where the last line's ink lies by Align: left, centre, right.
    auto inkColumns = [&](int align) {
        r.Align = align;
        const Bitmap b = RenderPlainTextPicture(r)->image;
        int first = b.width(), last = -1;
        for (int y = 2 * lineHeight; y < b.height(); ++y)
            for (int x = 0; x < b.width(); ++x)
                if (b.pixel(x, y) == kBlue) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
        return std::make_pair(first, last);
    };
    const auto left = inkColumns(1), centre = inkColumns(2), right = inkColumns(3);
    EXPECT_LT(left.second, wide / 3);
    EXPECT_GT(centre.first, wide / 3);
    EXPECT_LT(centre.second, 2 * wide / 3);
    EXPECT_GT(right.first, 2 * wide / 3);
}

TEST(ObjectRenderer, DecoratedFillsAndTheirCompanions) {
    test::TempDir dir;
    const std::string picturePath = dir.file("picture.bmp");
    ASSERT_TRUE(SaveBmp(Bitmap(7, 5, kRed), picturePath));
    test::WriteFileBytes(dir.file("broken.jpg"), "\xFF\xD8 not a picture");
    struct Case {
        const char* name;
        int fillStyle;
        std::string imageFile;
        std::initializer_list<TColor> colours;
        std::optional<TColor> companionAll;  // nothing: no companion
        TColor inside;                       // the middle of the body
    };
    const Case cases[] = {
        {"SOLID: no companion", 10, "", {}, std::nullopt, kBlue},
        {"hatch: no companion", 13, "", {}, std::nullopt, kBlue},
        {"picture without a file: white", 4, "", {}, clWhite, clWhite},
        {"picture", 4, picturePath, {}, kRed, kRed},
        {"picture gone: white", 4, dir.file("gone.bmp"), {}, clWhite, clWhite},
        {"picture unreadable: white", 4, dir.file("broken.jpg"), {}, clWhite, clWhite},
        {"STRIPE of one colour", 2, "", {kYellow}, kYellow, kYellow},
        {"GRADATION without colours: white", 3, "", {}, clWhite, clWhite},
        {"other styles below 10: white", 0, "", {}, clWhite, clWhite},
    };
    for (const Case& c : cases) {
        ObjectRecord r = Rectangle(60, 40, c.fillStyle);
        r.ImageFile = c.imageFile;
        Use(r, c.colours);
        const auto picture = RenderDecoratedPicture(r);
        ASSERT_TRUE(picture) << c.name;
        EXPECT_EQ(picture->image.size(), (Size{60, 40})) << c.name;
        EXPECT_EQ(picture->companion.has_value(), c.companionAll.has_value()) << c.name;
        if (c.companionAll) {
            EXPECT_TRUE(AllPixels(*picture->companion, *c.companionAll)) << c.name;
        }
        EXPECT_EQ(picture->image.pixel(30, 20), c.inside) << c.name;
        EXPECT_EQ(picture->image.pixel(59, 39), KeyColour) << c.name << ": outside the body";
    }
}

TEST(ObjectRenderer, FontIndexPastTheListDrawsTheLastFont) {
    ObjectRecord past = NewDecoratedText(0, 559, false);
    past.Text = "Ag漢";
    ObjectRecord last = past;
    past.FontIndex = 500;
    last.FontIndex = static_cast<int>(InstalledFonts().size()) - 1;
    EXPECT_EQ(RenderObjectPicture(past)->image, RenderObjectPicture(last)->image);
}

TEST(ObjectRenderer, BoxesTooLargeOrEmptyAreNotDrawn) {
    ObjectRecord tooWide = Rectangle(40000, 10, 10);
    ObjectRecord empty = Rectangle(0, 10, 10);
    ObjectRecord hugeFont = Plain("あいうえおかきくけこ");
    hugeFont.FontSize = 30000;
    for (const ObjectRecord& r : {tooWide, empty, hugeFont}) {
        EXPECT_FALSE(ObjectBoxSize(r));
        EXPECT_FALSE(RenderObjectPicture(r));
    }
    EXPECT_EQ(ObjectBoxSize(Rectangle(300, 120, 10)), (Size{300, 120}));
}

class RenderObjectTest : public ::testing::Test {
  protected:
    void SetUp() override { Files().CreateFolder(main.folder()); }
    void Write(int slot, const ObjectRecord& r) {
        ASSERT_TRUE(WriteObject(main.folder(), slot, r));
    }
    std::string Companion(int slot) const { return CompanionBitmapPath(main.folder(), slot); }

    test::ScriptedDialogScope dialogs;
    test::FakeMainScreen main{50};
};

TEST_F(RenderObjectTest, ImagesAreStretchedToTheZoomAndPlacedOnThePage) {
    ObjectRecord r = Rectangle(300, 120, 2);
    r.Left = 40;
    r.Top = 31;
    Use(r, {kYellow, kRed});
    Write(3, r);
    ASSERT_TRUE(RenderObject(main.folder(), 3, true, true));
    const TCImg* img = ObjectImages()[3];
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(img->image()->objectName(), "CImg3");
    EXPECT_EQ(img->bitmapSize(), (Size{300, 120}));
    EXPECT_EQ(img->size(), (Size{150, 60}));
    EXPECT_EQ(img->PositionOn(*main.page), (Point{20, 15}));
    EXPECT_EQ(img->image()->parentWidget(), &main.area);
    EXPECT_TRUE(img->image()->stretch());
    EXPECT_EQ(img->image()->transparentColour(), KeyColour);
    EXPECT_TRUE(Files().FileExists(Companion(3)));

    // Rendering again without create and place keeps the image where it was dragged and
    // rewrites the companion: now a hatch, so there is none.
    img->image()->move(100, 90);
    r.FillStyle = 13;
    Write(3, r);
    ASSERT_TRUE(RenderObject(main.folder(), 3, false, false));
    EXPECT_EQ(ObjectImages()[3]->image()->pos(), QPoint(100, 90));
    EXPECT_FALSE(Files().FileExists(Companion(3)));
    EXPECT_TRUE(dialogs->shown.empty());
}

TEST_F(RenderObjectTest, MissingAndUnreadableRecords) {
    // Missing: nothing happens, nothing is said.
    EXPECT_FALSE(RenderObject(main.folder(), 4, true, true));
    EXPECT_FALSE(ObjectImages().exists(4));
    EXPECT_TRUE(dialogs->shown.empty());

    // Unreadable: one message, the slot stays empty, the other objects are untouched.
    Write(1, Plain());
    ASSERT_TRUE(RenderObject(main.folder(), 1, true, true));
    test::WriteFileBytes(ObjectFilePath(main.folder(), 5), "1\r\n0\r\nabc\r\n");
    EXPECT_FALSE(RenderObject(main.folder(), 5, true, true));
    EXPECT_FALSE(ObjectImages().exists(5));
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].caption, "NG");
    EXPECT_NE(dialogs->shown[0].text.find("StrData5.txt"), std::string::npos);
    EXPECT_TRUE(ObjectImages().exists(1));

    // A record that turns unreadable under a shown object takes only that object away.
    Write(6, Rectangle(50000, 20, 10));
    EXPECT_FALSE(RenderObject(main.folder(), 6, true, true));
    EXPECT_EQ(dialogs->shown.size(), 2u);
    test::WriteFileBytes(ObjectFilePath(main.folder(), 1), "0\r\n");
    EXPECT_FALSE(RenderObject(main.folder(), 1, false, false));
    EXPECT_FALSE(ObjectImages().exists(1));
    EXPECT_EQ(FindFreeSlot(), 0);

    EXPECT_FALSE(RenderObject(main.folder(), 200, true, true));
    EXPECT_FALSE(RenderObject(main.folder(), -1, true, true));
}

}  // namespace
}  // namespace pb
