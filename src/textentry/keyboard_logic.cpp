#include "textentry/keyboard_logic.h"

#include <vector>

#include "platform/text_codec.h"
#include "textentry/dictionary.h"
#include "textentry/kana_mapping.h"

namespace pb {

namespace {

// Key captions carry two leading spaces for looks; the handlers trim them.
std::string Key(std::string_view utf8) {
    return "  " + Utf8ToCp932(utf8);
}

constexpr const char* kKana[48] = {"ｱ", "ｲ", "ｳ", "ｴ", "ｵ", "ｶ", "ｷ", "ｸ", "ｹ", "ｺ", "ｻ", "ｼ",
                                   "ｽ", "ｾ", "ｿ", "ﾀ", "ﾁ", "ﾂ", "ﾃ", "ﾄ", "ﾅ", "ﾆ", "ﾇ", "ﾈ",
                                   "ﾉ", "ﾊ", "ﾋ", "ﾌ", "ﾍ", "ﾎ", "ﾏ", "ﾐ", "ﾑ", "ﾒ", "ﾓ", "ﾔ",
                                   "ﾕ", "ﾖ", "ﾞ", "ﾟ", "ﾗ", "ﾘ", "ﾙ", "ﾚ", "ﾛ", "ﾜ", "ｦ", "ﾝ"};
constexpr const char* kSmallKana[9] = {"ｧ", "ｨ", "ｩ", "ｪ", "ｫ", "ｬ", "ｭ", "ｮ", "ｯ"};

// The reading typed so far, as the dictionary holds readings.
std::string ReadingOf(std::string_view composition) {
    return ToHiragana(ToFullWidth(composition));
}

// Length of the text without its last character; a CR LF line break goes as one.
std::size_t WithoutLastCharOrLineBreak(std::string_view s) {
    std::size_t cut = Cp932WithoutLastChar(s);
    if (cut > 0 && s.substr(cut) == "\n" && s[cut - 1] == '\r') --cut;
    return cut;
}

}  // namespace

CellTable KanaKeyCells(bool smallKana) {
    CellTable t(13, 5);
    for (int i = 0; i < 48; ++i) t.SetCell(i / 5, i % 5, Key(kKana[i]));
    t.SetCell(9, 3, Key("ｰ"));
    t.SetCell(9, 4, "");
    if (smallKana)
        for (int i = 0; i < 9; ++i) t.SetCell(11 + i / 5, i % 5, Key(kSmallKana[i]));
    return t;
}

CellTable LetterKeyCells() {
    static const char* const letters[29] = {"Q", "W", "E", "R", "T", "Y", "U", "I", "O", "P",
                                            "",  "A", "S", "D", "F", "G", "H", "J", "K", "L",
                                            "",  "",  "Z", "X", "C", "V", "B", "N", "M"};
    CellTable t(10, 3);
    for (int i = 0; i < 29; ++i)
        t.SetCell(i % 10, i / 10, *letters[i] ? Key(letters[i]) : std::string());
    return t;
}

CellTable DigitKeyCells() {
    static const char* const digits[10] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0"};
    CellTable t(12, 1);
    for (int i = 0; i < 10; ++i) t.SetCell(i, 0, Key(digits[i]));
    t.SetCell(10, 0, " @");
    t.SetCell(11, 0, " .");
    return t;
}

CellTable SymbolKeyCells() {
    static const char* const symbols[20] = {"-",  "/",  "(",  ")",  "<",    ">",   ":",
                                            ",",  "+",  "!",  "&",  "?",    "\\",  "、",
                                            "。", "～", "「", "」", "空白", "改行"};
    CellTable t(4, 5);
    for (int i = 0; i < 18; ++i) t.SetCell(i % 4, i / 4, Key(symbols[i]));
    // The space and new-line keys are words, written without the leading spaces.
    t.SetCell(2, 4, Utf8ToCp932(symbols[18]));
    t.SetCell(3, 4, Utf8ToCp932(symbols[19]));
    return t;
}

CellTable ArrowKeyCells() {
    static const char* const arrows[8] = {"▲", "▼", "◆", "★", "←", "→", "↑", "↓"};
    CellTable t(8, 1);
    for (int i = 0; i < 8; ++i) t.SetCell(i, 0, Utf8ToCp932(arrows[i]));
    return t;
}

KeyboardLogic::KeyboardLogic(std::string folder) : folder_(std::move(folder)) {}

UserStoreState KeyboardLogic::Open() {
    UserStoreState store = UserStoreState::Failed;
    userWordsShown_ = OpenDictionaries(folder_, userWords_, &store);
    return store;
}

void KeyboardLogic::CommitText(std::string_view s) {
    composition_.clear();
    if (insertMode_) {
        // The memo may have been edited by hand since the position was taken.
        insertPos_ = Cp932Boundary(memo_, insertPos_);
        memo_.insert(insertPos_, s);
        insertPos_ += s.size();
    } else {
        memo_.append(s);
    }
}

void KeyboardLogic::RunKanjiQuery(std::string_view statement) {
    QueryToGrid(candidates_, DictionaryPath(folder_), statement, {ReadingOf(composition_)}, false,
                "Kanji");
}

void KeyboardLogic::TypeKey(std::string_view cell) {
    const std::string_view t = TrimBlanks(cell);
    if (t.empty()) return;
    candidatesVisible_ = false;
    composition_.append(t);
    if (candidateMode_ == 1) {
        // The candidates follow the typing.
        RunKanjiQuery(kKanjiRequery);
        candidatesVisible_ = true;
    }
}

void KeyboardLogic::CommitKey(std::string_view cell) {
    std::string t(TrimBlanks(cell));
    if (t.empty()) return;
    if (t == Utf8ToCp932("空白"))
        t = " ";
    else if (t == Utf8ToCp932("改行"))
        t = "\r\n";
    // A pending reading goes in first, unconverted, as by "無変換".
    if (!composition_.empty()) t = NarrowAscii(ToFullWidth(composition_)) + t;
    CommitText(t);
    candidateMode_ = 0;
    candidatesVisible_ = false;
}

void KeyboardLogic::NoConversion() {
    if (composition_.empty()) return;
    CommitText(NarrowAscii(ToFullWidth(composition_)));
}

void KeyboardLogic::HiraganaConversion() {
    if (composition_.empty()) return;
    CommitText(NarrowAscii(ToHiragana(ToFullWidth(composition_))));
}

void KeyboardLogic::LowerCaseConversion() {
    CommitText(LowerAscii(composition_));
}

void KeyboardLogic::KanjiConversion() {
    if (composition_.empty()) return;
    RunKanjiQuery(kKanjiQuery);
    candidatesVisible_ = true;
    candidateMode_ = 1;
}

void KeyboardLogic::PickCandidate(int row) {
    const std::string t = candidates_.Cell(0, row);
    if (t.empty()) return;
    if (candidateMode_ == 1) {
        CommitText(t);
        candidateMode_ = 0;
    } else {
        // A symbol goes in half-width where it has such a form, unless the page lists that
        // form as well (the braces of a field): then the full-width one was picked on purpose.
        const std::string half = ToHalfWidth(t);
        bool pageHasHalf = false;
        for (int r = 0; r < candidates_.RowCount() && !pageHasHalf && half != t; ++r)
            pageHasHalf = candidates_.Cell(0, r) == half;
        CommitText(pageHasHalf ? t : half);
    }
    candidatesVisible_ = false;
}

void KeyboardLogic::OpenSymbolPage(int category) {
    QueryToGrid(candidates_, DictionaryPath(folder_), kSymbolQuery,
                {static_cast<std::int64_t>(category)}, false, "TokuMJ");
    candidatesVisible_ = true;
    candidateMode_ = 0;
    composition_.clear();
}

void KeyboardLogic::PickUserWord(int row) {
    const std::string t = userWords_.Cell(1, row);
    if (t.empty()) return;
    CommitText(t);
    candidateMode_ = 0;
}

void KeyboardLogic::ClearComposition() {
    composition_.clear();
    candidateMode_ = 0;
    candidatesVisible_ = false;
}

void KeyboardLogic::BackComposition() {
    if (composition_.size() < 2) {
        ClearComposition();
        return;
    }
    composition_.resize(Cp932WithoutLastChar(composition_));
    if (candidateMode_ == 1) RunKanjiQuery(kKanjiRequery);
}

void KeyboardLogic::ClearText() {
    memo_.clear();
    insertMode_ = false;
}

void KeyboardLogic::BackText() {
    if (memo_.empty()) return;
    if (insertMode_) {
        insertPos_ = Cp932Boundary(memo_, insertPos_);
        if (insertPos_ == 0) return;
        const std::size_t cut =
            WithoutLastCharOrLineBreak(std::string_view(memo_).substr(0, insertPos_));
        memo_.erase(cut, insertPos_ - cut);
        insertPos_ = cut;
    } else {
        memo_.resize(WithoutLastCharOrLineBreak(memo_));
    }
}

std::string KeyboardLogic::ClickMemo(std::size_t caretBytes) {
    if (memo_.empty()) return {};
    insertPos_ = Cp932Boundary(memo_, caretBytes);
    if (memo_.size() > insertPos_) {
        insertMode_ = true;
        return memo_.substr(0, insertPos_) + Utf8ToCp932("←文字押込→") + memo_.substr(insertPos_);
    }
    insertMode_ = false;
    return Utf8ToCp932("文字押込解除");
}

void KeyboardLogic::StartRegistration() {
    savedText_ = memo_;
    userWordsShown_ = false;
    registering_ = true;
    memo_.clear();
}

void KeyboardLogic::EndRegistration() {
    userWordsShown_ = true;
    registering_ = false;
    memo_ = savedText_;
}

KeyboardLogic::Confirmation KeyboardLogic::Confirm(int callerMode) {
    memo_.resize(TrimRightBlanks(memo_).size());
    if (memo_.empty()) return {};
    if (registering_) {
        const std::size_t typed = memo_.size();
        memo_ = std::string(Cp932Left(memo_, kUserWordMaxChars));
        const bool cut = memo_.size() < typed;
        if (!RegisterUserWord(folder_, memo_, userWords_))
            return {Confirmation::RegistrationFailed, {}};
        EndRegistration();
        return {Confirmation::Registered, {}, cut};
    }
    // QR data is cut as user words are.
    if (callerMode == 1) memo_ = std::string(Cp932Left(memo_, kUserWordMaxChars));
    return {Confirmation::HandOver, memo_};
}

bool KeyboardLogic::Cancel() {
    if (!registering_) return false;
    EndRegistration();
    return true;
}

}  // namespace pb
