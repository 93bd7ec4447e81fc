#include "app/page_geometry.h"

#include <cfenv>
#include <cmath>

#include "common/app_state.h"

namespace pb {

int MmToPixels(double mm, int ppi) {
    // nearbyint rounds halves to even in the default rounding mode.
    return static_cast<int>(std::nearbyint(mm * ppi / 25.39999));
}

int PrintableWidth(int mm, const AppState& app) {
    const int margin = app.PrinterPPIX > 0 ? app.PrinterOffsetX * app.ScreenPPIX / app.PrinterPPIX : 0;
    return MmToPixels(mm, app.ScreenPPIX) - 2 * margin;
}

int PrintableHeight(int mm, const AppState& app) {
    const int margin = app.PrinterPPIY > 0 ? app.PrinterOffsetY * app.ScreenPPIY / app.PrinterPPIY : 0;
    return MmToPixels(mm, app.ScreenPPIY) - 2 * margin;
}

Size PageSize(std::uint8_t pageMode, const AppState& app) {
    // The paper's short edge always lies along the printer's x axis, also for landscape pages.
    switch (pageMode) {
        case kPostcardLandscape: return {PrintableHeight(148, app), PrintableWidth(100, app)};
        case kA4Portrait: return {PrintableWidth(210, app), PrintableHeight(297, app)};
        case kA4Landscape: return {PrintableHeight(297, app), PrintableWidth(210, app)};
        default: return {PrintableWidth(100, app), PrintableHeight(148, app)};
    }
}

std::uint8_t PageModeForSize(Size size) {
    const bool landscape = size.height < size.width;
    if (static_cast<long long>(size.width) * size.height > 800000)
        return landscape ? kA4Landscape : kA4Portrait;
    return landscape ? kPostcardLandscape : kPostcardPortrait;
}

std::string CentimetresText(int pixels, int ppi) {
    if (ppi <= 0 || pixels <= 0) return "0";
    // Hundredths of a centimetre, truncated as Int does.
    const long long hundredths = static_cast<long long>(pixels) * 254 / ppi;
    std::string text = std::to_string(hundredths / 100);
    const long long fraction = hundredths % 100;
    if (fraction == 0) return text;
    text += (fraction < 10 ? ".0" : ".") + std::to_string(fraction);
    if (text.back() == '0') text.pop_back();
    return text;
}

int DefaultZoom(Size page) {
    return static_cast<long long>(page.width) * page.height > 800000 ? 50 : 100;
}

std::uint8_t OpenedPageMode(Size size, const AppState& app) {
    for (std::uint8_t mode = 0; mode < 4; ++mode)
        if (PageSize(mode, app) == size) return mode;
    return PageModeForSize(size);
}

}  // namespace pb
