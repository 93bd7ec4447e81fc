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

using PageDisplayTest = test::MainScreenFixture;

TEST_F(PageDisplayTest, AThinRectangleStaysVisibleWhenShrunkAndSharpFromFullSize) {
    Start();
    Click(form->Btn[21]);  // "A4縦", 794 x 1123
    // A 1-pixel black rectangle outline with its top and bottom at rows 100 and 1000.
    Bitmap& page = form->Image1->picture();
    for (int x = 100; x <= 700; ++x)
        page.setPixel(x, 100, clBlack), page.setPixel(x, 1000, clBlack);
    for (int y = 100; y <= 1000; ++y)
        page.setPixel(100, y, clBlack), page.setPixel(700, y, clBlack);
    form->Image1->pictureChanged();
    const Bitmap before = Page();
    for (const int zoom : {10, 200}) {
        while (form->zoom() > zoom) Click(form->Btn[2]);
        while (form->zoom() < zoom) Click(form->Btn[3]);
        const Bitmap shown = BitmapFromImage(form->Image1->grab().toImage());
        const auto mode = zoom < 100 ? StretchMode::Halftone : StretchMode::ColorOnColor;
        EXPECT_TRUE(shown == StretchBitmap(Page(), 794 * zoom / 100, 1123 * zoom / 100, mode))
            << zoom;
        EXPECT_TRUE(Page() == before);
        for (const int row : {100, 1000}) {  // the outline's rows darken the grey of theirs
            const int x = shown.width() / 2, y = row * shown.height() / 1123;
            const int darkest =
                std::min(GetGValue(shown.pixel(x, y)), GetGValue(shown.pixel(x, y + 1)));
            EXPECT_LT(darkest, zoom < 100 ? 240 : 1) << zoom << " row " << row;
        }
    }
    // A stroke on the shown shrunk page is averaged again in its part only: as a whole shrink.
    while (form->zoom() > 50) Click(form->Btn[2]);
    (void)form->Image1->grab();
    PaintRed();
    EXPECT_TRUE(BitmapFromImage(form->Image1->grab().toImage()) ==
                StretchBitmap(Page(), 397, 561, StretchMode::Halftone));
}

}  // namespace
}  // namespace pb
