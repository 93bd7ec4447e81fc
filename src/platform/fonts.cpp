#include "platform/fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace pb {

const std::vector<std::string>& InstalledFonts() {
    static const std::vector<std::string> fonts = [] {
        std::vector<std::string> names;
        for (const QString& family : QFontDatabase::families()) {
            if (QFontDatabase::isPrivateFamily(family)) continue;
            names.push_back(family.toStdString());
        }
        return names;
    }();
    return fonts;
}

std::string FontNameForIndex(const std::vector<std::string>& fonts, int index) {
    if (fonts.empty()) return {};
    if (index < 0) return fonts.front();
    if (static_cast<std::size_t>(index) >= fonts.size()) return fonts.back();
    return fonts[static_cast<std::size_t>(index)];
}

}  // namespace pb
