#pragma once
// Page size and zoom rules of the main screen.

#include <cstdint>
#include <string>

#include "platform/geometry.h"

namespace pb {

struct AppState;

// Round(mm * ppi / 25.39999), halves to even. The constant is not 25.4: stored works depend on
// the exact pixel sizes it gives.
int MmToPixels(double mm, int ppi);
// The printable width (along the printer's x axis, the paper's short edge) and height of a
// paper edge of `mm`, at screen resolution.
int PrintableWidth(int mm, const AppState& app);
int PrintableHeight(int mm, const AppState& app);
// The page size of a page mode (0 postcard portrait ... 3 A4 landscape).
Size PageSize(std::uint8_t pageMode, const AppState& app);
// The page mode a page bitmap of that size belongs to (opening a saved work).
std::uint8_t PageModeForSize(Size size);
// The page mode of an opened page bitmap: the mode whose page has exactly that size at the
// present resolutions, else judged by pixel area and by width against height.
std::uint8_t OpenedPageMode(Size size, const AppState& app);

// The length of `pixels` at `ppi` in centimetres as the size labels print it:
// Int(pixels * 254 / ppi) / 100 in its shortest decimal form ("14.79", "14.7", "15");
// "0" without pixels or ppi.
std::string CentimetresText(int pixels, int ppi);

// 50 when the page has more than 800000 pixels, otherwise 100.
int DefaultZoom(Size page);
// width * zoom / 100 (integer division).
constexpr int Zoomed(int length, int zoom) { return length * zoom / 100; }

}  // namespace pb
