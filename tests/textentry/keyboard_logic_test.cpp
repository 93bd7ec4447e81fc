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

// Presses keys given as UTF-8 text, one key per character, as the key grids hold them.
void Type(KeyboardLogic& k, std::string_view keys) {
    const std::string cp = Cp(keys);
    for (const char c : cp) k.TypeKey("  " + std::string(1, c));
}

class Keyboard : public ::testing::Test {
  protected:
    void SetUp() override {
        test::WriteDicData(dir.path(), "KANJI.txt",
                           "Yomi,Kanji\nかんじ,漢字\nかんじ,幹事\nかん,缶\nか,課\n");
        test::WriteDicData(dir.path(), "KIGO.txt",
                           "KbnCD,TokuMJ,BtSize\n7,Ａ,2\n7,A,1\n7,ｂ,2\n1,「,2\n8,Ω,2\n");
        keyboard.Open();
    }
    std::string Memo() const { return Utf(keyboard.Memo()); }
    std::string Composition() const { return Utf(keyboard.Composition()); }
    test::TempDir dir;
    KeyboardLogic keyboard{dir.path()};
};

TEST(KeyGrids, KeysHoldTheBytesTheyType) {
    // Keys are two spaces and the character; the voicing marks have keys of their own, the
    // small kana only on the full keyboard.
    const CellTable kana = KanaKeyCells(true);
    EXPECT_EQ(Utf(kana.Cell(0, 0)), "  ｱ");
    EXPECT_EQ(Utf(kana.Cell(7, 3)), "  ﾞ");
    EXPECT_EQ(Utf(kana.Cell(7, 4)), "  ﾟ");
    EXPECT_EQ(Utf(kana.Cell(11, 0)), "  ｧ");
    EXPECT_EQ(KanaKeyCells(false).Cell(11, 0), "");
    EXPECT_EQ(LetterKeyCells().Cell(1, 1), "  A");
    EXPECT_EQ(DigitKeyCells().Cell(10, 0), " @");
    EXPECT_EQ(Utf(SymbolKeyCells().Cell(2, 4)), "空白");
}

TEST_F(Keyboard, ConversionsCommitTheComposition) {
    struct Case {
        const char* keys;
        void (KeyboardLogic::*convert)();
        const char* committed;
    };
    const Case cases[] = {
        {"ｶﾞ", &KeyboardLogic::HiraganaConversion, "が"},
        {"AB", &KeyboardLogic::NoConversion, "AB"},
        {"ｶﾞｯｺｳAB", &KeyboardLogic::NoConversion, "ガッコウAB"},
        {"ﾊﾟｰﾃｨｰ", &KeyboardLogic::HiraganaConversion, "ぱーてぃー"},
        {"ABC", &KeyboardLogic::LowerCaseConversion, "abc"},
        {"ｶﾅABC", &KeyboardLogic::LowerCaseConversion, "ｶﾅabc"},
        {"ｳﾞ", &KeyboardLogic::HiraganaConversion, "ヴ"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        keyboard.ClearText();
        Type(keyboard, c.keys);
        EXPECT_EQ(Composition(), c.keys);
        (keyboard.*c.convert)();
        EXPECT_EQ(Memo(), c.committed);
        EXPECT_EQ(Composition(), "");
    }
    // With nothing typed a conversion changes nothing.
    keyboard.ClearText();
    keyboard.NoConversion();
    keyboard.HiraganaConversion();
    keyboard.KanjiConversion();
    EXPECT_EQ(Memo(), "");
    EXPECT_FALSE(keyboard.CandidatesVisible());
}

TEST_F(Keyboard, DirectKeysCommitThePendingReadingFirst) {
    Type(keyboard, "ｱ");
    keyboard.CommitKey("  1");
    EXPECT_EQ(Memo(), "ア1");
    keyboard.CommitKey(Cp("空白"));
    keyboard.CommitKey(Cp("改行"));
    keyboard.CommitKey(" @");
    keyboard.CommitKey("   ");  // an empty key does nothing
    EXPECT_EQ(Memo(), "ア1 \r\n@");
    Type(keyboard, "ABｶ");
    keyboard.CommitKey(Cp("  「"));
    EXPECT_EQ(Memo(), "ア1 \r\n@ABカ「");
}

TEST_F(Keyboard, KanjiCandidatesFollowTheTyping) {
    Type(keyboard, "ｶﾝｼﾞ");
    keyboard.KanjiConversion();
    EXPECT_TRUE(keyboard.CandidatesVisible());
    EXPECT_EQ(keyboard.CandidateMode(), 1);
    EXPECT_EQ(Utf(keyboard.Candidates().Cell(0, 0)), "漢字");
    EXPECT_EQ(Composition(), "ｶﾝｼﾞ");  // the reading stays until a candidate is picked

    keyboard.BackComposition();  // ｶﾝｼ: no entry, one empty row
    EXPECT_TRUE(keyboard.CandidatesVisible());
    EXPECT_EQ(keyboard.Candidates().RowCount(), 1);
    EXPECT_EQ(keyboard.Candidates().Cell(0, 0), "");
    keyboard.PickCandidate(0);  // an empty candidate only moves the focus
    EXPECT_EQ(Memo(), "");
    keyboard.BackComposition();  // ｶﾝ
    EXPECT_EQ(Utf(keyboard.Candidates().Cell(0, 0)), "缶");
    Type(keyboard, "ｼﾞ");
    EXPECT_EQ(Utf(keyboard.Candidates().Cell(0, 1)), "幹事");
    keyboard.PickCandidate(1);
    EXPECT_EQ(Memo(), "幹事");
    EXPECT_EQ(Composition(), "");
    EXPECT_FALSE(keyboard.CandidatesVisible());
    EXPECT_EQ(keyboard.CandidateMode(), 0);

    // Back to a single character clears like "Clear".
    Type(keyboard, "ｶ");
    keyboard.KanjiConversion();
    keyboard.BackComposition();
    EXPECT_EQ(Composition(), "");
    EXPECT_FALSE(keyboard.CandidatesVisible());
    EXPECT_EQ(keyboard.CandidateMode(), 0);
}

TEST_F(Keyboard, SymbolPages) {
    Type(keyboard, "ｱ");
    keyboard.OpenSymbolPage(7);
    EXPECT_EQ(Composition(), "");  // the pending reading is discarded
    EXPECT_TRUE(keyboard.CandidatesVisible());
    EXPECT_EQ(keyboard.CandidateMode(), 0);
    ASSERT_EQ(keyboard.Candidates().RowCount(), 2);  // A (one byte) is not shown
    keyboard.PickCandidate(0);
    keyboard.OpenSymbolPage(7);
    keyboard.PickCandidate(1);
    keyboard.OpenSymbolPage(8);
    keyboard.PickCandidate(0);
    keyboard.OpenSymbolPage(1);
    keyboard.PickCandidate(0);
    // Half width where a half-width form exists.
    EXPECT_EQ(Memo(), "AbΩ｢");
    EXPECT_FALSE(keyboard.CandidatesVisible());
}

TEST_F(Keyboard, InsertModeAndBackWorkOnBytesOfMixedText) {
    keyboard.SetMemo(Cp("aあbいc"));
    // Caret after "aあ" (3 bytes): insert mode, with the caret shown in the message.
    EXPECT_EQ(Utf(keyboard.ClickMemo(3)), "aあ←文字押込→bいc");
    EXPECT_TRUE(keyboard.InsertMode());
    Type(keyboard, "ｶ");
    keyboard.HiraganaConversion();
    EXPECT_EQ(Memo(), "aあかbいc");
    EXPECT_EQ(keyboard.InsertPosition(), 5u);
    keyboard.CommitKey("  1");
    EXPECT_EQ(Memo(), "aあか1bいc");
    keyboard.BackText();  // the character before the insertion point
    keyboard.BackText();  // a whole double-byte character
    EXPECT_EQ(Memo(), "aあbいc");
    EXPECT_EQ(keyboard.InsertPosition(), 3u);
    keyboard.BackText();
    keyboard.BackText();
    EXPECT_EQ(Memo(), "bいc");
    keyboard.BackText();  // at the start nothing changes
    EXPECT_EQ(Memo(), "bいc");

    // A click at the end ends insert mode; Back then takes the last character.
    EXPECT_EQ(Utf(keyboard.ClickMemo(keyboard.Memo().size())), "文字押込解除");
    EXPECT_FALSE(keyboard.InsertMode());
    keyboard.BackText();
    keyboard.BackText();
    EXPECT_EQ(Memo(), "b");
    keyboard.CommitKey("  2");
    EXPECT_EQ(Memo(), "b2");

    // A position left behind by text typed away is brought back inside the text.
    keyboard.SetMemo(Cp("漢字かな"));
    keyboard.ClickMemo(4);
    keyboard.SetMemo(Cp("漢"));
    keyboard.CommitKey("  3");
    EXPECT_EQ(Memo(), "漢3");
    keyboard.ClearText();
    EXPECT_FALSE(keyboard.InsertMode());
    EXPECT_EQ(keyboard.ClickMemo(0), "");  // an empty memo: nothing to show
}

TEST_F(Keyboard, RegistrationRestoresTheTextAndListsTheWord) {
    ASSERT_TRUE(keyboard.UserWordsShown());
    keyboard.SetMemo(Cp("作りかけ"));
    keyboard.StartRegistration();
    EXPECT_TRUE(keyboard.Registering());
    EXPECT_FALSE(keyboard.UserWordsShown());
    EXPECT_EQ(Memo(), "");
    // Nothing typed: confirm does nothing.
    EXPECT_EQ(keyboard.Confirm(0).kind, KeyboardLogic::Confirmation::Nothing);
    Type(keyboard, "ｼｮｳﾋﾝ");
    keyboard.NoConversion();
    keyboard.CommitKey(Cp("空白"));
    EXPECT_EQ(keyboard.Confirm(0).kind, KeyboardLogic::Confirmation::Registered);
    EXPECT_FALSE(keyboard.Registering());
    EXPECT_TRUE(keyboard.UserWordsShown());
    EXPECT_EQ(Memo(), "作りかけ");
    EXPECT_EQ(Utf(keyboard.UserWords().Cell(1, 0)), "ショウヒン");  // trailing blank removed

    keyboard.PickUserWord(0);
    EXPECT_EQ(Memo(), "作りかけショウヒン");

    // A long word is cut to 120 characters, not bytes.
    keyboard.StartRegistration();
    std::string longWord;
    for (int i = 0; i < 130; ++i) longWord += i % 2 ? "a" : "字";
    keyboard.SetMemo(Cp(longWord));
    EXPECT_EQ(keyboard.Confirm(0).kind, KeyboardLogic::Confirmation::Registered);
    EXPECT_EQ(Cp932CharCount(keyboard.UserWords().Cell(1, 0)), 120u);

    // Cancel ends a registration without storing anything.
    keyboard.StartRegistration();
    keyboard.SetMemo(Cp("捨てる"));
    EXPECT_TRUE(keyboard.Cancel());
    EXPECT_FALSE(keyboard.Registering());
    EXPECT_EQ(keyboard.UserWords().RowCount(), 2);
    EXPECT_FALSE(keyboard.Cancel());  // outside registration the screen closes

    // A store that has gone keeps the registration open with its word.
    keyboard.StartRegistration();
    keyboard.SetMemo(Cp("語"));
    std::filesystem::remove(UserStorePath(dir.path()));
    EXPECT_EQ(keyboard.Confirm(0).kind, KeyboardLogic::Confirmation::RegistrationFailed);
    EXPECT_TRUE(keyboard.Registering());
    EXPECT_EQ(Memo(), "語");
}

TEST_F(Keyboard, ConfirmHandsOverTrimmedTextCutOnlyForQr) {
    std::string text;
    for (int i = 0; i < 130; ++i) text += "字";
    keyboard.SetMemo(Cp(text + " \r\n"));
    auto c = keyboard.Confirm(0);
    EXPECT_EQ(c.kind, KeyboardLogic::Confirmation::HandOver);
    EXPECT_EQ(Utf(c.text), text);
    c = keyboard.Confirm(1);
    EXPECT_EQ(c.text.size(), 240u);
    keyboard.SetMemo("  \r\n");
    EXPECT_EQ(keyboard.Confirm(2).kind, KeyboardLogic::Confirmation::Nothing);
}

TEST(KeyboardWithoutStore, UserWordControlsStayHiddenWhenTheStoreIsUnusable) {
    test::TempDir dir;
    // A folder where the store cannot be made.
    const std::string file = dir.file("not-a-folder");
    test::WriteFileBytes(file, "x");
    KeyboardLogic keyboard(file);
    keyboard.Open();
    EXPECT_FALSE(keyboard.UserWordsShown());
    Type(keyboard, "ｶ");
    keyboard.KanjiConversion();  // the query fails quietly
    EXPECT_EQ(keyboard.Candidates().RowCount(), 1);
}

}  // namespace
}  // namespace pb
