#include "objects/design_rules.h"

#include <algorithm>

#include "common/picture_browsing.h"
#include "platform/text_codec.h"

namespace pb {

Size RoomOnPage(Size page, Point offset, int zoom) {
    if (zoom <= 0) zoom = 100;
    return {page.width - offset.x * 100 / zoom, page.height - offset.y * 100 / zoom};
}

std::optional<std::string> FitProblem(Size box, Size room, int reserveBelow) {
    if (box.width > room.width) return std::string(kNoRoomRight);
    if (static_cast<long long>(box.height) > static_cast<long long>(room.height) - reserveBelow)
        return std::string(kNoRoomBelow);
    return std::nullopt;
}

int PlainFontStep(bool large, bool a4) {
    return large ? (a4 ? 32 : 16) : 1;
}

int DecoratedFontStep(bool large, bool a4) {
    return large ? (a4 ? 32 : 16) : 4;
}

int ShapeSideStep(bool large, bool a4) {
    return large ? (a4 ? 40 : 20) : 2;
}

std::optional<int> ShrinkShapeSide(int value, int step) {
    if (step + 20 < value) return value - step;
    return std::nullopt;
}

int DeformStep(const ObjectRecord& rec) {
    return ShapeKind(rec.Text) != 0 ? rec.Height() / 10 : rec.FontSize / 4;
}

FillChoice SplitFillStyle(int stored) {
    if (stored < kPatternStyle) return {stored, 0};
    const int digit = stored % 10;
    return {kPatternStyle, digit <= 6 ? digit : 0};
}

int JoinFillStyle(const FillChoice& choice) {
    return choice.code == kPatternStyle ? kPatternStyle + choice.pattern : choice.code;
}

std::optional<Size> ShapeSizeForPicture(Size shape, Size picture, Size room) {
    const int boxW = shape.width < 100 ? std::min(room.width, 100) : shape.width;
    const int boxH = shape.height < 100 ? std::min(room.height, 100) : shape.height;
    const Size fit = FitToBox(picture.width, picture.height, boxW, boxH);
    if (fit.width >= 20 && fit.height >= 20) return fit;
    return std::nullopt;
}

std::vector<std::string> JapaneseFontNames(const std::vector<std::string>& fonts) {
    std::vector<std::string> names;
    for (const std::string& name : fonts) {
        if (name.empty() || name[0] == '@') continue;
        const std::string bytes = Utf8ToCp932(name);
        bool doubleByte = false;
        for (std::size_t i = 0; i < bytes.size() && !doubleByte;) {
            const int n = Cp932CharLength(static_cast<unsigned char>(bytes[i]));
            doubleByte = n == 2;
            i += static_cast<std::size_t>(n);
        }
        if (doubleByte) names.push_back(name);
    }
    return names;
}

int FontIndexOfName(const std::vector<std::string>& fonts, const std::string& name) {
    const auto it = std::find(fonts.begin(), fonts.end(), name);
    if (it != fonts.end()) return static_cast<int>(it - fonts.begin());
    return fonts.empty() ? 0 : static_cast<int>(fonts.size()) - 1;
}

}  // namespace pb
