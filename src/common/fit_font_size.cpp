#include "common/fit_font_size.h"

#include <algorithm>

namespace pb {

std::vector<std::string_view> SplitTextLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
    return lines;
}

int FitFontSize(const FitFontRequest& request, const MeasureLine& measure) {
    int boxWidth = request.boxWidth;
    int boxHeight = request.boxHeight;
    int margin = 0;
    if (request.decorated) {
        boxWidth = boxWidth * 10 / 11;
        boxHeight = boxHeight * 10 / 11;
        margin = request.margin;
    }
    Font font;
    font.family = request.fontFamily;
    font.bold = request.decorated;
    const auto lines = SplitTextLines(request.text);

    auto fits = [&](int size) {
        font.sizePoints = size;
        int widest = 0;
        long height = 0;
        for (const auto line : lines) {
            const Size s = measure(line.empty() ? std::string_view(" ") : line, font);
            widest = std::max(widest, s.width);
            height += s.height;
        }
        return widest <= boxWidth && height <= static_cast<long>(boxHeight) - margin;
    };

    // No page is as tall as kLargestFittedSize points even at the largest zoom, so a record
    // size above it (a damaged record) starts there.
    int size = std::clamp(request.recordSize, kSmallestFontSize, kLargestFittedSize);
    // A size whose half does not fit cannot fit either; this keeps a large record size from
    // walking down point by point. Ordinary sizes go the plain way.
    while (size > 64 && !fits(size / 2)) size /= 2;
    for (;; --size) {
        if (size <= kSmallestFontSize) return kSmallestFontSize;
        if (fits(size)) return size;
    }
}

int FitFontSize(const FitFontRequest& request, Canvas& canvas) {
    return FitFontSize(request, [&canvas](std::string_view line, const Font& font) {
        canvas.font = font;
        return Size{canvas.TextWidth(line), canvas.TextHeight(line)};
    });
}

}  // namespace pb
