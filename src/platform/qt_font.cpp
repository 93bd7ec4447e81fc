#include "platform/qt_font.h"

#include <cmath>
#include <cstdlib>

namespace pb {

int FontPixelSize(int points, int dpi) {
    const long px = std::lround(std::abs(static_cast<double>(points)) * dpi / 72.0);
    return static_cast<int>(std::clamp<long>(px, 1, 32767));
}

QFont QtFontFor(const Font& font, int dpi) {
    QFont f(QString::fromStdString(font.family));
    f.setPixelSize(FontPixelSize(font.sizePoints, dpi));
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

}  // namespace pb
