#pragma once
// TForm6: the on-screen keyboard. Kana are typed as a reading in half-width katakana on the
// key grids and converted by the buttons above them; digits and symbols go into the text at
// once; kanji candidates and symbol pages appear in StringGrid1; the user's own words in
// MLStringGrid1. The screen shows the state of a KeyboardLogic and passes its clicks on.
//
// The caller says who it is with the caller mode (shown in the hidden Label0): on "確定" the
// text goes to the object being edited ("0"), the QR placement ("1"), or the plain ("2") or
// decorated ("3") text stamp screen, all through Hub(). Closing the screen by the window
// manager is "キャンセル", after leaving a word registration under way.

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "common/ui/form.h"
#include "common/ui/screen_hub.h"
#include "textentry/keyboard_logic.h"
#include "textentry/ui/ml_string_grid.h"
#include "textentry/ui/string_grid.h"

namespace pb {

class TForm6 : public Form {
    Q_OBJECT
  public:
    // Creates the screen (FormCreate): the dictionaries of App().AppDir are opened, and built
    // first when they are missing or unusable.
    explicit TForm6(QWidget* parent = nullptr);

    // What the opening screen writes into the keyboard before the user types: the caller
    // mode, the text, the hint, and the decorated-text hint with its arrow keys.
    void Setup(const KeyboardRequest& request);

    KeyboardLogic& Logic() { return logic_; }
    int callerMode() const { return callerMode_; }

    // Controls, named as the screen knows them.
    QPlainTextEdit* Memo1;
    QLabel* Label0;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    StringGrid* StringGrid1;
    TMLStringGrid* MLStringGrid1;
    StringGrid* StringGrid2;
    StringGrid* StringGrid3;
    StringGrid* StringGrid4;
    StringGrid* StringGrid5;
    StringGrid* StringGrid6;
    QCheckBox* CheckBox1;
    QPushButton* Button132;
    QPushButton* BtnDtStClose;
    QPushButton* BtnFormClose;

  private slots:
    void MjSjSGClick0(int row, int column);
    void MjSjSGClick1(int row, int column);
    void Button114Click();
    void Button115Click();
    void Button116Click();
    void Button117Click();
    void StringGrid1Click(int row, int column);
    void SListOpen(int category);
    void MLStringGrid1Click(int row, int column);
    void Button128Click();
    void Button129Click();
    void Button130Click();
    void Button131Click();
    void Button132Click();
    void CheckBox1Click();
    void BtnDtStCloseClick();
    void BtnFormCloseClick();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void CloseByWindowManager() override;

  private:
    void Memo1Click();
    StringGrid* MakeKeyGrid(const QString& name, const CellTable& cells, int x, int y, int w, int h,
                            int columnWidth, int rowHeight);
    // Brings the controls in line with the logic's state.
    void Refresh();
    // Takes over what was typed into the memo directly.
    void TakeMemoText();

    KeyboardLogic logic_;
    int callerMode_ = 0;
    std::string memoShown_;  // the memo text last written into Memo1 (CP932)
    unsigned candidatesShown_ = ~0u;
    unsigned userWordsShown_ = ~0u;
    int colourState_ = -1;  // 1 while a word is registered (grey), 0 black
};

}  // namespace pb
