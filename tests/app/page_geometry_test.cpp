#include "app/page_geometry.h"

#include <gtest/gtest.h>

#include <tuple>

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
    const AppState plain = Metrics(96, 600, 0, 0);
    // A printer that cannot print the outer 100 x 150 printer pixels of the sheet: at 96 ppi
    // that is 16 x 24 screen pixels on each side.
    const AppState margins = Metrics(96, 600, 100, 150);
    const std::tuple<AppState, std::uint8_t, Size> cases[] = {
        {plain, kPostcardPortrait, {378, 559}},  // 377.95, 559.37
        {Metrics(120, 300, 0, 0), kA4Portrait, {992, 1403}},
        {margins, kPostcardPortrait, {378 - 32, 559 - 48}},
        // Landscape: the long edge is still measured along the printer's y axis.
        {margins, kA4Landscape, {1123 - 48, 794 - 32}},
    };
    for (const auto& [app, mode, size] : cases) EXPECT_EQ(PageSize(mode, app), size) << int(mode);
}

TEST(PageGeometry, SizeLabelsPrintTruncatedCentimetres) {
    const std::tuple<int, int, const char*> cases[] = {
        {559, 96, "14.79"},  // 1479.02 hundredths
        {378, 96, "10"},     // 1000.125: whole centimetres print no decimals
        {4, 96, "0.1"},      // 10.58: the trailing zero goes
        {2, 96, "0.05"},     // 5.29: a leading zero stays
        {50, 0, "0"},        // no resolution known
    };
    for (const auto& [pixels, ppi, text] : cases)
        EXPECT_EQ(CentimetresText(pixels, ppi), text) << pixels << " px at " << ppi;
}

TEST(PageGeometry, PageModeFollowsThePixelArea) {
    // New pages: the default zoom and the mode of a page of that size.
    const std::tuple<Size, int, std::uint8_t> cases[] = {
        {{1123, 794}, 50, kA4Landscape},
        {{1000, 800}, 100, kPostcardLandscape},  // exactly 800000 is not over the threshold
        {{800, 1001}, 50, kA4Portrait},
    };
    for (const auto& [size, zoom, mode] : cases) {
        EXPECT_EQ(DefaultZoom(size), zoom) << size.width << " x " << size.height;
        EXPECT_EQ(PageModeForSize(size), mode) << size.width << " x " << size.height;
    }
    // Opened works: the mode from the saved page bitmap.
    const std::tuple<int, Size, int> opened[] = {
        {0, {1100, 780}, 3},    // another size: judged by its area
        {100, {762, 1091}, 2},  // with printer margins the exact smaller size names the mode
    };
    for (const auto& [offset, size, mode] : opened)
        EXPECT_EQ(OpenedPageMode(size, Metrics(96, 600, offset, offset)), mode)
            << size.width << " x " << size.height;
}

}  // namespace
}  // namespace pb
