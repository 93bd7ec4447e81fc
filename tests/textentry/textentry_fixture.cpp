#include "textentry_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/text_codec.h"

namespace pb::test {

namespace fs = std::filesystem;

std::string Cp(std::string_view utf8) {
    return Utf8ToCp932(utf8);
}
std::string Utf(std::string_view cp932) {
    return Cp932ToUtf8(cp932);
}

void WriteDicData(const std::string& folder, const std::string& name, const std::string& utf8) {
    fs::create_directories(fs::path(folder) / "DicData");
    std::string text;
    for (const char c : utf8) {
        if (c == '\n') text += '\r';
        text += c;
    }
    WriteFileBytes((fs::path(folder) / "DicData" / name).string(), Utf8ToCp932(text));
}

}  // namespace pb::test
