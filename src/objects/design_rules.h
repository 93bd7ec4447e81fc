#pragma once
// The rules of the two object design screens (TForm8 for plain texts, TForm9 for decorated
// texts and shapes) as plain functions: the room an object has on the page, the fit test
// every growth passes, the steps of the size buttons, the fill style code and its pattern
// index, the shape size that takes a picture's aspect ratio, and the Japanese font list.

#include <optional>
#include <string>
#include <vector>

#include "objects/strdata.h"
#include "platform/geometry.h"

namespace pb {

constexpr const char* kNoRoomRight = "右余白が足りない";
constexpr const char* kNoRoomBelow = "下余白が足りない";

// Font sizes the screens keep to (points).
constexpr int kPlainSmallestSize = 3;
constexpr int kDecoratedSmallestSize = 10;
constexpr int kLargestDesignSize = 500;
constexpr int kOutlineWidthMin = 1;
constexpr int kOutlineWidthMax = 5;

// Room to the right of and below an object whose image lies `offset` screen pixels from the
// page image's top-left corner at `zoom` percent: page size - offset * 100 / zoom.
Size RoomOnPage(Size page, Point offset, int zoom);

// kNoRoomRight when the box is wider than the room, else kNoRoomBelow when it is higher than
// the room below less `reserveBelow`, else nothing.
std::optional<std::string> FitProblem(Size box, Size room, int reserveBelow = 0);

// The steps of the size buttons: the large ones double on A4 pages.
int PlainFontStep(bool large, bool a4);      // 1 or 16 (32)
int DecoratedFontStep(bool large, bool a4);  // 4 or 16 (32)
int ShapeSideStep(bool large, bool a4);      // 2 or 20 (40)

// A shape side made smaller by `step`, only while step + 20 < value, so that no decrease
// takes a side to 20 or below; nothing otherwise.
std::optional<int> ShrinkShapeSide(int value, int step);

// The step of the arch and slant buttons: Height / 10 for shapes, FontSize / 4 for texts.
int DeformStep(const ObjectRecord& rec);

// A stored FillStyle as the screens hold it: the style code 2 (STRIPE), 3 (GRADATION),
// 4 (picture) or kPatternStyle (SOLID and the hatches), with the pattern index 0..6 for the
// latter (the last digit of a stored value of 10 and above; 0 when it names no pattern).
constexpr int kPatternStyle = 10;
struct FillChoice {
    int code = kPatternStyle;
    int pattern = 0;
};
FillChoice SplitFillStyle(int stored);
int JoinFillStyle(const FillChoice& choice);

// "画像に合わせて縦横比補整": the box is the shape's size, each side raised to min(room, 100)
// when below 100; the picture is fitted into it keeping its aspect ratio (FitToBox). The new
// size when both sides are at least 20; nothing otherwise.
std::optional<Size> ShapeSizeForPicture(Size shape, Size picture, Size room);

// The fonts the design screens offer: names that do not begin with "@" and hold a
// double-byte character, in the order of `fonts`.
std::vector<std::string> JapaneseFontNames(const std::vector<std::string>& fonts);
// The index of `name` in `fonts`; the last index when it is not there.
int FontIndexOfName(const std::vector<std::string>& fonts, const std::string& name);

}  // namespace pb
