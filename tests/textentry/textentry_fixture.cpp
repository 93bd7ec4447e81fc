#include "textentry_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "platform/file_service.h"
#include "platform/text_codec.h"
#include "textentry/dictionary.h"

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

std::string BuiltDicData() {
    const char* bin = std::getenv("POPBOARD_BIN_DIR");
    if (!bin) return {};
    const fs::path dir = fs::path(bin) / "DicData";
    return fs::is_directory(dir) ? dir.string() : std::string();
}

std::string MissingRealDictionary() {
    const std::string dir = BuiltDicData();
    if (!dir.empty() && fs::exists(fs::path(dir) / "KANJI.txt")) return {};
    return "no DicData/KANJI.txt beside the program: the build makes it from "
           "/usr/share/skk/SKK-JISYO.L (package skkdic)";
}

const std::string& SharedDictionaryFolder() {
    static const std::unique_ptr<TempDir> folder = [] {
        auto dir = std::make_unique<TempDir>();
        fs::copy(BuiltDicData(), fs::path(dir->path()) / "DicData", fs::copy_options::recursive);
        EXPECT_TRUE(BuildDictionary(dir->path()));
        return dir;
    }();
    return folder->path();
}

}  // namespace pb::test
