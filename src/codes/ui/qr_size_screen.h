#pragma once
// TForm13, the QR size screen: a strip over the top of the region editor, down to its canvas,
// so that the region stays in sight below it. It has two states with controls of their own:
//
// - size selection ("QRcode描画"): the module sizes the region allows; "OK" opens the keyboard
//   in caller mode 1 with the capacity of the chosen size as its hint;
// - scanner test (after the keyboard's text was placed): the user reads the code in the
//   region with a hand-held scanner and steps the version up when it does not read; "確定"
//   keeps the code, "Cancel" gives the region back as it was before the code.
//
// The screen belongs to the region editor's window and goes with it.

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <string>

#include "codes/code_placement.h"
#include "common/ui/form.h"

namespace pb {

class RegionHost;

class TForm13 : public Form {
    Q_OBJECT
  public:
    enum class State { SizeSelection, ScannerTest };

    // The size selection for the region of `host`: RadioButton1..<choice.choices> shown, the
    // preselected one checked, GroupBox1 saying so when there is nothing to choose.
    static TForm13* OpenSizeSelection(RegionHost& host, const QrSizeChoice& choice);
    // The scanner test of the code of `cp932` placed at `version`; `start` is the region
    // history's counter before the snapshot the placement took.
    static TForm13* OpenScannerTest(RegionHost& host, const std::string& cp932, int version,
                                    int start);

    State state() const { return state_; }

    // Size selection.
    QGroupBox* GroupBox1 = nullptr;
    std::array<QRadioButton*, 3> RadioButton{};  // RadioButton1..RadioButton3: 1, 2, 3 pixels
    QPushButton* Button4 = nullptr;              // OK
    QPushButton* Button5 = nullptr;              // Cancel
    // Scanner test.
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* LabelVerNum = nullptr;
    QLabel* LabelVerMin = nullptr;    // hidden: the smallest version the text fits
    QPushButton* BtnUpDn0 = nullptr;  // ↓
    QPushButton* BtnUpDn1 = nullptr;  // ↑
    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* Button1 = nullptr;  // Cancel
    QPushButton* Button2 = nullptr;  // 確定
    QLineEdit* Edit0 = nullptr;

    void Button4Click();
    void Button5Click();
    void BtnUpDnClick(int direction);  // 0 down, 1 up
    void Button1Click();
    void Button2Click();

  protected:
    void CloseByWindowManager() override;

  private:
    TForm13(RegionHost& host, State state);

    RegionHost& host_;
    State state_;
    std::string text_;  // CP932, the text of the code under test
    int start_ = 0;
};

}  // namespace pb
