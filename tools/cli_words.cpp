// popboard-cli words: the user word store.
//   words add WORD    store WORD (UTF-8) as the newest word; a word longer than 120 characters
//                     is stored cut to 120, said on stderr, and the exit status is 1
//   words list        the words, newest first: index, tab, word
// Each takes --appdir DIR (default: the folder of popboard-cli).

#include <cstdio>
#include <string>
#include <vector>

#include "cli_appdir.h"
#include "cli_commands.h"
#include "platform/text_codec.h"
#include "textentry/dictionary.h"
#include "textentry/kana_mapping.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: popboard-cli words add WORD [--appdir DIR]\n"
                 "       popboard-cli words list [--appdir DIR]\n");
    return 2;
}

int Run(const std::vector<std::string>& argv) {
    std::vector<std::string> args = argv;
    const std::string appDir = pbcli::TakeAppDir(args);
    if (args.empty() || appDir.empty()) return Usage();
    switch (pb::EnsureUserStore(appDir)) {
        case pb::UserStoreState::Failed:
            std::fprintf(stderr, "popboard-cli: cannot make %s\n",
                         pb::UserStorePath(appDir).c_str());
            return 1;
        case pb::UserStoreState::Replaced:
            std::fprintf(stderr,
                         "popboard-cli: %s was unusable and was made anew without its words; "
                         "the old file is kept as %s.bak\n",
                         pb::UserStorePath(appDir).c_str(), pb::UserStorePath(appDir).c_str());
            break;
        case pb::UserStoreState::Usable:
        case pb::UserStoreState::Created:
            break;
    }
    pb::CellTable words(2, 1);
    if (args[0] == "add" && args.size() == 2) {
        bool ok = true;
        const std::string cp932 = pb::Utf8ToCp932(args[1], &ok);
        if (!ok) {
            std::fprintf(stderr, "popboard-cli: the word has characters CP932 lacks\n");
            return 1;
        }
        const std::string_view typed = pb::TrimRightBlanks(cp932);
        const std::string word(pb::Cp932Left(typed, pb::kUserWordMaxChars));
        if (!pb::RegisterUserWord(appDir, word, words)) {
            std::fprintf(stderr, "popboard-cli: the word was not stored\n");
            return 1;
        }
        std::printf("%s\t%s\n", words.Cell(0, 0).c_str(),
                    pb::Cp932ToUtf8(words.Cell(1, 0)).c_str());
        if (word.size() < typed.size()) {
            std::fprintf(stderr,
                         "popboard-cli: the word is longer than %d characters; stored cut\n",
                         pb::kUserWordMaxChars);
            return 1;
        }
        return 0;
    }
    if (args[0] == "list" && args.size() == 1) {
        if (!pb::LoadUserWords(appDir, words)) return 1;
        for (int r = 0; r < words.RowCount(); ++r) {
            if (words.Cell(0, r).empty()) continue;
            std::printf("%s\t%s\n", words.Cell(0, r).c_str(),
                        pb::Cp932ToUtf8(words.Cell(1, r)).c_str());
        }
        return 0;
    }
    return Usage();
}

const pbcli::CliCommandRegistration registration{
    {"words", "the user word store: add WORD | list", Run}};

}  // namespace
