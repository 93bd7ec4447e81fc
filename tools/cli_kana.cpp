// popboard-cli kana: the keyboard's character mappings, UTF-8 in and out.
//   kana fullwidth|hiragana|halfwidth|narrow TEXT

#include <cstdio>
#include <string>
#include <vector>

#include "cli_commands.h"
#include "platform/text_codec.h"
#include "textentry/kana_mapping.h"

namespace {

int Run(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: popboard-cli kana fullwidth|hiragana|halfwidth|narrow TEXT\n");
        return 2;
    }
    bool ok = true;
    const std::string text = pb::Utf8ToCp932(args[1], &ok);
    if (!ok) {
        std::fprintf(stderr, "popboard-cli: the text has characters CP932 lacks\n");
        return 1;
    }
    std::string out;
    if (args[0] == "fullwidth")
        out = pb::ToFullWidth(text);
    else if (args[0] == "hiragana")
        out = pb::ToHiragana(text);
    else if (args[0] == "halfwidth")
        out = pb::ToHalfWidth(text);
    else if (args[0] == "narrow")
        out = pb::NarrowAscii(text);
    else
        return Run({});
    std::printf("%s\n", pb::Cp932ToUtf8(out).c_str());
    return 0;
}

const pbcli::CliCommandRegistration registration{
    {"kana", "kana mappings: fullwidth|hiragana|halfwidth|narrow TEXT", Run}};

}  // namespace
