#pragma once
// TForm8, the plain text object design screen: colours, size, alignment, background style and
// font of the selected plain text object. Opened by "デザイン変更" of the object list for
// records of family "0"; the object on the page is the preview.

#include <QPushButton>
#include <QRadioButton>
#include <array>

#include "objects/ui/object_design_form.h"

namespace pb {

class TForm8 : public ObjectDesignForm {
    Q_OBJECT
  public:
    explicit TForm8(QWidget* parent = nullptr);

    QRadioButton* RBtn0 = nullptr;       // "文字"
    QRadioButton* RBtn1 = nullptr;       // "背景", only with SOLID
    std::array<QPushButton*, 5> BtnM{};  // BtnM1 / BtnM3 ↑↓ 16 (32 on A4); BtnM2 / BtnM4 ↑↓ 1
    std::array<QPushButton*, 4> BtnP{};  // "左寄", "中央", "右寄"
    std::array<QPushButton*, 4> BtnB{};  // "なし", "SOLID", "STRIPE", "GRADATION"
    QPushButton* BtnV1 = nullptr;        // "縦"
    QPushButton* BtnV0 = nullptr;        // "横"

    // The screen's state as the record it would write.
    ObjectRecord CurrentRecord() const;

    void BtnMClick(int n);
    void BtnPClick(int n);
    void BtnBClick(int n);
    void BtnVClick();
    void ListBox1Click();
    // A palette colour onto the target chosen by the radio buttons.
    void IroSentaku8a(TColor colour);
    void BtnDtStCloseClick();
    void BtnFormCloseClick();

  protected:
    void PaletteColourChosen(TColor colour) override { IroSentaku8a(colour); }
    void ComponentsChanged() override { Preview(); }
    std::optional<TColor> CurrentPaletteColour() const override;

  private:
    void BuildControls();
    void ConnectHandlers();
    void FormCreate();
    void ShowBackgroundControls();
    void Preview();
    // The text's box measured (not bold) at `size` in `family`.
    Size TextBox(int size, const std::string& family) const;

    ObjectRecord rec_;
};

}  // namespace pb
