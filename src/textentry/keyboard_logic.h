#pragma once
// What the keyboard screen does, free of widgets: the text being edited, the composition (the
// reading typed so far in half-width katakana and capitals), the conversions, the candidate
// list, the symbol pages, insert mode, and the registration of user words. The screen shows
// this state and passes its clicks in; every text here is CP932, one kanji two bytes.

#include <cstdint>
#include <string>
#include <string_view>

#include "textentry/dictionary.h"
#include "textentry/grid_cells.h"

namespace pb {

// The key grids' contents, each cell as the screen shows it (most with two leading spaces).
CellTable KanaKeyCells(bool smallKana);  // StringGrid2, 13 x 5
CellTable LetterKeyCells();              // StringGrid3, 10 x 3
CellTable DigitKeyCells();               // StringGrid4, 12 x 1
CellTable SymbolKeyCells();              // StringGrid5, 4 x 5
CellTable ArrowKeyCells();               // StringGrid6, 8 x 1

// Symbol page buttons "Button118".."Button127" show the categories 1..10.
inline constexpr int kFirstSymbolButton = 118;
inline constexpr int kSymbolPages = 10;

class KeyboardLogic {
  public:
    // `folder` is the program folder that holds the dictionary and the user word store.
    explicit KeyboardLogic(std::string folder);

    // Checks, builds if needed and loads the dictionaries; shows the user-word controls when
    // both are usable. Returns what became of the user store (Replaced: the screen tells the
    // user that the words were lost).
    UserStoreState Open();

    // -- State shown by the screen.
    const std::string& Memo() const { return memo_; }
    // The screen hands over what was typed into the memo with a physical keyboard.
    void SetMemo(std::string cp932) { memo_ = std::move(cp932); }
    const std::string& Composition() const { return composition_; }
    bool InsertMode() const { return insertMode_; }
    std::size_t InsertPosition() const { return insertPos_; }
    int CandidateMode() const { return candidateMode_; }
    bool CandidatesVisible() const { return candidatesVisible_; }
    const CellTable& Candidates() const { return candidates_; }
    const CellTable& UserWords() const { return userWords_; }
    // The user-word list and "単語追加" are visible.
    bool UserWordsShown() const { return userWordsShown_; }
    // A new word is being registered ("新規単語登録" shown, the screen grey).
    bool Registering() const { return registering_; }

    // -- Handlers. Cell texts come as the grid holds them (untrimmed).
    void TypeKey(std::string_view cell);    // kana and letter keys: add to the composition
    void CommitKey(std::string_view cell);  // digits and symbols: commit at once
    void NoConversion();                    // "無変換"
    void HiraganaConversion();              // "ひらがな変換"
    void LowerCaseConversion();             // "英小文字変換"
    void KanjiConversion();                 // "漢字変換"
    void PickCandidate(int row);
    void OpenSymbolPage(int category);
    void PickUserWord(int row);
    void ClearComposition();
    void BackComposition();
    void ClearText();
    void BackText();
    // A click into the memo with the caret at byte `caretBytes`: sets or ends insert mode and
    // returns the message to show (CP932), empty when the memo is empty.
    std::string ClickMemo(std::size_t caretBytes);
    void StartRegistration();  // "単語追加"

    struct Confirmation {
        enum Kind {
            Nothing,             // nothing typed: the screen stays
            Registered,          // a user word was stored; the screen stays
            RegistrationFailed,  // the screen stays in the registration state
            HandOver,            // give `text` to the caller
        } kind = Nothing;
        std::string text;  // CP932
        // Registered: the word was longer than a user word may be and was stored cut.
        bool cut = false;
    };
    // "確定". In caller mode 1 (QR data) the text is cut to 120 characters.
    Confirmation Confirm(int callerMode);
    // "キャンセル": true when it only ended a registration (the screen stays).
    bool Cancel();

    // Puts text into the memo as every commit does: appended, or in insert mode inserted at
    // the insertion position, which then moves past it. The composition is consumed.
    void CommitText(std::string_view s);

  private:
    void RunKanjiQuery(std::string_view statement);
    void EndRegistration();

    std::string folder_;
    std::string memo_;
    std::string composition_;
    bool insertMode_ = false;
    std::size_t insertPos_ = 0;
    int candidateMode_ = 0;
    bool candidatesVisible_ = false;
    std::string savedText_;
    bool registering_ = false;
    bool userWordsShown_ = false;
    CellTable candidates_{1, 1};
    CellTable userWords_{2, 1};
};

}  // namespace pb
