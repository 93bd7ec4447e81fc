#include "app/page_geometry.h"

#include <gtest/gtest.h>

#include "common/app_state.h"

namespace pb {
namespace {

AppState Metrics(int screenPpi, int printerPpi, int offsetX, int offsetY) {
    AppState app;
    app.ScreenPPIX = app.ScreenPPIY = screenPpi;
    app.PrinterPPIX = app.PrinterPPIY = printerPpi;
    app.PrinterOffsetX = offsetX;
    app.PrinterOffsetY = offsetY;
    return app;
}

TEST(PageGeometry, PageSizesOfTheFourModes) {
    struct Case {
        AppState app;
        std::uint8_t mode;
        Size expected;
    };
    const AppState plain = Metrics(96, 600, 0, 0);
    // A printer that cannot print the outer 100 x 150 printer pixels of the sheet: at 96 ppi
    // that is 16 x 24 screen pixels on each side.
    const AppState margins = Metrics(96, 600, 100, 150);
    const Case cases[] = {
        {plain, kPostcardPortrait, {378, 559}},
        {plain, kPostcardLandscape, {559, 378}},
        {plain, kA4Portrait, {794, 1123}},
        {plain, kA4Landscape, {1123, 794}},
        {margins, kPostcardPortrait, {378 - 32, 559 - 48}},
        // Landscape: the long edge is still measured along the printer's y axis.
        {margins, kPostcardLandscape, {559 - 48, 378 - 32}},
        {margins, kA4Landscape, {1123 - 48, 794 - 32}},
        {Metrics(120, 300, 0, 0), kA4Portrait, {992, 1403}},
    };
    for (const Case& c : cases) EXPECT_EQ(PageSize(c.mode, c.app), c.expected) << int(c.mode);
}

TEST(PageGeometry, MmToPixelsRoundsToTheNearestPixel) {
    EXPECT_EQ(MmToPixels(100, 96), 378);    // 377.95...
    EXPECT_EQ(MmToPixels(254, 96), 960);    // 960.0004: the narrow inch never drops a pixel
    EXPECT_EQ(MmToPixels(148, 96), 559);    // 559.37
    EXPECT_EQ(MmToPixels(297, 96), 1123);   // 1122.52
}

TEST(PageGeometry, DefaultZoomAndPageModeFollowThePixelArea) {
    struct Case {
        Size size;
        int zoom;
        std::uint8_t mode;
    };
    const Case cases[] = {
        {{794, 1123}, 50, kA4Portrait},         // 891662 pixels
        {{1123, 794}, 50, kA4Landscape},
        {{378, 559}, 100, kPostcardPortrait},   // 211302 pixels
        {{559, 378}, 100, kPostcardLandscape},
        {{1000, 800}, 100, kPostcardLandscape}, // exactly 800000 is not over the threshold
        {{800, 1001}, 50, kA4Portrait},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DefaultZoom(c.size), c.zoom);
        EXPECT_EQ(PageModeForSize(c.size), c.mode);
    }
}

TEST(PageGeometry, ZoomStepsBothWaysAndTheirEnds) {
    const std::pair<int, int> in[] = {{10, 20}, {90, 100}, {100, 200}, {700, 800}, {800, 800}};
    const std::pair<int, int> out[] = {{800, 700}, {200, 100}, {100, 90}, {20, 10}, {10, 10}};
    for (auto [from, to] : in) EXPECT_EQ(ZoomIn(from), to) << from;
    for (auto [from, to] : out) EXPECT_EQ(ZoomOut(from), to) << from;
    EXPECT_EQ(Zoomed(378, 50), 189);
    EXPECT_EQ(Zoomed(559, 50), 279);
}

}  // namespace
}  // namespace pb
