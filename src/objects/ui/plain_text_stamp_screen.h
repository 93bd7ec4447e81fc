#pragma once
// TForm14, the plain text stamp screen: the text typed on the keyboard (caller mode "2"),
// with an optional background, stamped into the region editor's bitmap. The stamp floats in
// the editor's PlacedImage until "確定" draws it into RegionBitmap where it lies.

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <string>

#include "objects/strdata.h"
#include "objects/ui/text_stamp_form.h"

namespace pb {

class TForm14 : public TextStampForm {
    Q_OBJECT
  public:
    TForm14(RegionHost& host, const std::string& text);

    // RBtn01..RBtn03 "左寄", "中央", "右寄"; RBtn04 "文字色", RBtn05 "背景色" (only with
    // SOLID); RBtn06..RBtn09 "なし", "SOLID", "STRIPE", "GRADATION"; RBtn10 "横", RBtn11 "縦"
    // (only with STRIPE and GRADATION). Index 0 unused.
    std::array<QRadioButton*, 12> RBtn{};
    QGroupBox* GroupBox1 = nullptr;  // "背景"
    QGroupBox* GroupBox2 = nullptr;  // alignment
    QGroupBox* GroupBox3 = nullptr;  // "色変更"
    QGroupBox* GroupBox4 = nullptr;  // direction
    QPushButton* FSBtn01 = nullptr;  // "↓"
    QPushButton* FSBtn02 = nullptr;  // "↑"
    QLabel* LabelSize = nullptr;

    // The stamp as a plain text record (its place is the floating image's).
    ObjectRecord CurrentRecord() const;
    int fontSize() const { return rec_.FontSize; }

    void FSBtnClick(int n);
    void RBtnVClick(int n);
    void ListBox1Click();
    // A palette colour onto the text or the background colour.
    void IroSentaku14a(TColor colour);
    void BtnDtStCloseClick();

  protected:
    void PaletteColourChosen(TColor colour) override { IroSentaku14a(colour); }
    void ComponentsChanged() override { Preview(); }
    std::optional<TColor> CurrentPaletteColour() const override;

  private:
    void BuildControls();
    void ConnectHandlers();
    void ShowBackgroundControls(const QString& caption);
    void Preview();
    // The text's box measured (not bold) at `size` in `family`.
    Size TextBox(int size, const std::string& family) const;

    ObjectRecord rec_;
};

}  // namespace pb
