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

}  // namespace pb
