#include "textentry/keyboard_logic.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "textentry/dictionary.h"
#include "textentry/kana_mapping.h"
#include "textentry_fixture.h"

namespace pb {
namespace {

using test::Cp;
using test::Utf;
using Kind = KeyboardLogic::Confirmation::Kind;

// Presses keys given as UTF-8 text, one key per character, as the key grids hold them.
void Type(KeyboardLogic& k, std::string_view keys) {
    for (const char c : Cp(keys)) k.TypeKey("  " + std::string(1, c));
}

class Keyboard : public ::testing::Test {
  protected:
    void SetUp() override {
        test::WriteDicData(dir.path(), "KANJI.txt",
                           "Yomi,Kanji\nかんじ,漢字\nかんじ,幹事\nかん,缶\nか,課\n");
        test::WriteDicData(dir.path(), "KIGO.txt", "KbnCD,TokuMJ,BtSize\n7,Ａ,2\n7,A,1\n1,★,2\n");
        keyboard.Open();
    }
    std::string Memo() const { return Utf(keyboard.Memo()); }
    std::string Composition() const { return Utf(keyboard.Composition()); }
    std::string Candidate(int row) const { return Utf(keyboard.Candidates().Cell(0, row)); }
    // The memo, the composition, whether the candidates show and their mode.
    using State = std::tuple<std::string, std::string, bool, int>;
    State Now() const {
        return {Memo(), Composition(), keyboard.CandidatesVisible(), keyboard.CandidateMode()};
    }
    test::TempDir dir;
    KeyboardLogic keyboard{dir.path()};
};

TEST_F(Keyboard, DirectKeysCommitThePendingReadingFirst) {
    Type(keyboard, "ｱ");
    keyboard.CommitKey("  1");
    EXPECT_EQ(Memo(), "ア1");
    for (const std::string& key : {Cp("空白"), Cp("改行"), std::string(" @"), std::string("   ")})
        keyboard.CommitKey(key);  // the last, an empty key, does nothing
    EXPECT_EQ(Memo(), "ア1 \r\n@");
    // A symbol page drops the pending reading, lists only double-byte symbols and commits
    // them in half width where there is one.
    keyboard.ClearText();
    Type(keyboard, "ｱ");
    keyboard.OpenSymbolPage(7);
    EXPECT_EQ(Now(), State("", "", true, 0));
    EXPECT_EQ(keyboard.Candidates().RowCount(), 1);
    keyboard.PickCandidate(0);
    keyboard.OpenSymbolPage(1);
    keyboard.PickCandidate(0);
    EXPECT_EQ(Memo(), "A★");
}

TEST_F(Keyboard, KanjiCandidatesFollowTheTyping) {
    Type(keyboard, "ｶﾝｼﾞ");
    keyboard.KanjiConversion();
    EXPECT_EQ(Now(), State("", "ｶﾝｼﾞ", true, 1));  // the reading stays until a pick
    EXPECT_EQ(Candidate(0), "漢字");
    keyboard.BackComposition();  // ｶﾝｼ: no entry, one empty row
    EXPECT_EQ(Now(), State("", "ｶﾝｼ", true, 1));
    EXPECT_EQ(keyboard.Candidates().RowCount(), 1);
    EXPECT_EQ(Candidate(0), "");
    keyboard.PickCandidate(0);  // an empty candidate only moves the focus
    EXPECT_EQ(Memo(), "");
    keyboard.BackComposition();  // ｶﾝ
    EXPECT_EQ(Candidate(0), "缶");
    Type(keyboard, "ｼﾞ");
    EXPECT_EQ(Candidate(1), "幹事");
    keyboard.PickCandidate(1);
    EXPECT_EQ(Now(), State("幹事", "", false, 0));
}

TEST_F(Keyboard, InsertModeAndBackWorkOnBytesOfMixedText) {
    keyboard.SetMemo(Cp("aあbいc"));
    // Caret after "aあ" (3 bytes): insert mode, with the caret shown in the message.
    EXPECT_EQ(Utf(keyboard.ClickMemo(3)), "aあ←文字押込→bいc");
    EXPECT_TRUE(keyboard.InsertMode());
    Type(keyboard, "ｶ");
    keyboard.HiraganaConversion();
    keyboard.CommitKey("  1");
    EXPECT_EQ(Memo(), "aあか1bいc");
    // Each Back takes the character before the insertion point, a double-byte one whole; at
    // the start nothing changes.
    const std::pair<const char*, std::size_t> backs[] = {
        {"aあかbいc", 5}, {"aあbいc", 3}, {"abいc", 1}, {"bいc", 0}, {"bいc", 0}};
    for (const auto& [memo, position] : backs) {
        keyboard.BackText();
        EXPECT_EQ(std::pair(Memo(), keyboard.InsertPosition()),
                  std::pair(std::string(memo), position));
    }
    // A click at the end ends insert mode; Back then takes the last character.
    EXPECT_EQ(Utf(keyboard.ClickMemo(keyboard.Memo().size())), "文字押込解除");
    EXPECT_FALSE(keyboard.InsertMode());
    keyboard.BackText();
    keyboard.BackText();
    keyboard.CommitKey("  2");
    EXPECT_EQ(Memo(), "b2");
    // A position left behind by text typed away is brought back inside the text.
    keyboard.SetMemo(Cp("漢字かな"));
    keyboard.ClickMemo(4);
    keyboard.SetMemo(Cp("漢"));
    keyboard.CommitKey("  3");
    EXPECT_EQ(Memo(), "漢3");
}

TEST_F(Keyboard, RegistrationRestoresTheTextAndListsTheWord) {
    ASSERT_TRUE(keyboard.UserWordsShown());
    keyboard.SetMemo(Cp("作りかけ"));
    keyboard.StartRegistration();
    EXPECT_EQ(std::tuple(keyboard.Registering(), keyboard.UserWordsShown(), Memo()),
              std::tuple(true, false, std::string()));
    EXPECT_EQ(keyboard.Confirm(0).kind, Kind::Nothing);  // nothing typed
    Type(keyboard, "ｼｮｳﾋﾝ");
    keyboard.NoConversion();
    keyboard.CommitKey(Cp("空白"));
    const auto registered = keyboard.Confirm(0);
    EXPECT_EQ(std::pair(registered.kind, registered.cut), std::pair(Kind::Registered, false));
    EXPECT_EQ(std::tuple(keyboard.Registering(), keyboard.UserWordsShown(), Memo()),
              std::tuple(false, true, std::string("作りかけ")));
    EXPECT_EQ(Utf(keyboard.UserWords().Cell(1, 0)), "ショウヒン");  // trailing blank removed
    keyboard.PickUserWord(0);
    EXPECT_EQ(Memo(), "作りかけショウヒン");

    // Cancel ends a registration without storing anything; outside one the screen closes.
    keyboard.StartRegistration();
    keyboard.SetMemo(Cp("捨てる"));
    EXPECT_TRUE(keyboard.Cancel() && !keyboard.Registering());
    EXPECT_EQ(keyboard.UserWords().RowCount(), 1);
    EXPECT_FALSE(keyboard.Cancel());

    // A store that has gone keeps the registration open with its word.
    keyboard.StartRegistration();
    keyboard.SetMemo(Cp("語"));
    std::filesystem::remove(UserStorePath(dir.path()));
    EXPECT_EQ(keyboard.Confirm(0).kind, Kind::RegistrationFailed);
    EXPECT_EQ(std::pair(keyboard.Registering(), Memo()), std::pair(true, std::string("語")));
}

TEST(KeyboardWithoutStore, UserWordControlsStayHiddenWhenTheStoreIsUnusable) {
    test::TempDir dir;
    test::WriteFileBytes(dir.file("not-a-folder"), "x");  // where no store can be made
    KeyboardLogic keyboard(dir.file("not-a-folder"));
    keyboard.Open();
    EXPECT_FALSE(keyboard.UserWordsShown());
    Type(keyboard, "ｶ");
    keyboard.KanjiConversion();  // the query fails quietly
    EXPECT_EQ(keyboard.Candidates().RowCount(), 1);
}

}  // namespace
}  // namespace pb
