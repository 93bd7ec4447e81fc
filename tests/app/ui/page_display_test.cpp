// How the main screen shows the page at each zoom: area-averaged when shrunk, so thin lines
// stay visible, sharp at full size and above; the page bitmap itself never changes.
#include <QPixmap>
#include <algorithm>

#include "app/ui/main_screen.h"
#include "platform/bitmap_qt.h"
#include "platform/stretch.h"
#include "support/ui/app_fixtures.h"

namespace pb {
namespace {

class PageDisplayTest : public test::MainScreenFixture {
  protected:
    void ZoomTo(int z) {
        while (form->zoom() > z) Click(form->Btn[2]);
        while (form->zoom() < z) Click(form->Btn[3]);
        ASSERT_EQ(form->zoom(), z);
    }
    Bitmap Shown() const { return BitmapFromImage(form->Image1->grab().toImage()); }
};

// The darkest channel of a shown row.
int Darkest(const Bitmap& bmp, int y) {
    int darkest = 255;
    for (int x = 0; x < bmp.width(); ++x) {
        const TColor c = bmp.pixel(x, y);
        darkest = std::min({darkest, GetRValue(c), GetGValue(c), GetBValue(c)});
    }
    return darkest;
}

TEST_F(PageDisplayTest, AThinRectangleStaysVisibleWhenShrunkAndSharpFromFullSize) {
    Start();
    Click(form->Btn[21]);  // "A4縦"
    ASSERT_EQ(Page().size(), (Size{794, 1123}));
    // A 1-pixel black rectangle outline at rows 100 and 1000.
    Bitmap& page = form->Image1->picture();
    for (int x = 100; x <= 700; ++x) page.setPixel(x, 100, clBlack), page.setPixel(x, 1000, clBlack);
    for (int y = 100; y <= 1000; ++y) page.setPixel(100, y, clBlack), page.setPixel(700, y, clBlack);
    form->Image1->pictureChanged();

    struct Case {
        int zoom;
        bool strokeFirst;  // a stroke at this zoom first: only its part is averaged again
        StretchMode shownAs;
    };
    for (const Case& c : {Case{50, false, StretchMode::Halftone}, Case{50, true, StretchMode::Halftone},
                          Case{10, false, StretchMode::Halftone}, Case{100, false, StretchMode::ColorOnColor},
                          Case{200, false, StretchMode::ColorOnColor}}) {
        SCOPED_TRACE(c.zoom);
        ZoomTo(c.zoom);
        if (c.strokeFirst) {
            (void)Shown();  // shown once before the stroke
            PaintRed();
        }
        const Bitmap before = Page();
        const Bitmap shown = Shown();
        ASSERT_EQ(shown.size(), (Size{794 * c.zoom / 100, 1123 * c.zoom / 100}));
        EXPECT_TRUE(shown == StretchBitmap(Page(), shown.width(), shown.height(), c.shownAs));
        EXPECT_TRUE(Page() == before);
        // The rectangle's top and bottom rows darken the shown rows they fall on.
        for (int row : {100, 1000}) {
            const int y = row * shown.height() / 1123;
            const int darkest = std::min(Darkest(shown, y), Darkest(shown, y + 1));
            EXPECT_LT(darkest, c.zoom < 100 ? 240 : 1) << "row " << row;
        }
    }
}

}  // namespace
}  // namespace pb
