#pragma once
// TForm4, the rotation screen over the region editor's top panel: quarter turns squeezed into
// the region's frame, mirrors, rotation by whole degrees on a slider, and in its second mode
// the two-colour split with a threshold. Every change is made on RegionBitmap after a
// snapshot of the region history; "キャンセル" rolls back to the counter remembered at open.
// The editor's "戻す"/"進む" and size labels stay usable through a hole at the right.

#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <memory>

#include "common/ui/form.h"
#include "common/ui/palette_widgets.h"
#include "platform/bitmap.h"

namespace pb {

class RegionHost;
class TYTrackBar;

class TForm4 : public Form {
    Q_OBJECT
  public:
    TForm4(RegionHost& host, bool twoColourSplit);
    ~TForm4() override;

    // The hole through which the editor's "作業状態" group shows (window coordinates).
    static QRect EditorHole() { return {680, 30, 100, 122}; }

    std::array<QPushButton*, 5> Button{};  // Button1..Button4: "回転↓", "↑回転", "反転←→", "反転↑↓"
    QGroupBox* GroupBox1 = nullptr;
    QRadioButton* RadioButton1 = nullptr;  // "方向指定"
    QRadioButton* RadioButton2 = nullptr;  // "角度指定"
    TYTrackBar* YTrackBar1 = nullptr;      // threshold 0..255
    TYTrackBar* YTrackBar2 = nullptr;      // angle + 180
    QLabel* LabelYTBVAL = nullptr;
    std::array<QPushButton*, 3> BtnYTB{};  // "Reset", "↓", "↑"
    QLabel* Label3 = nullptr;
    ColourCell* Label1 = nullptr;  // colour A, the background
    ColourCell* Label2 = nullptr;  // colour B, the figure
    QPushButton* BtnDtStClose = nullptr;
    QPushButton* BtnFormClose = nullptr;

    // Button n (1..4): a quarter turn or a mirror.
    void VPicPrc(int n);
    // Mode 1: by direction; 2: by angle.
    void RBtnClick(int mode);
    void YTrackBar2Change();
    void YTrackBar2MouseUp();
    // 0 "Reset", 1 "↓", 2 "↑".
    void BtnYTBUpDnClick(int n);
    void YTrackBar1Change();
    void YTrackBar1MouseUp();
    void Label1Click();
    void Label2Click();
    void IroSentaku4(TColor colour);
    void BtnDtStCloseClick();
    void BtnFormCloseClick();

  protected:
    void CloseByWindowManager() override { BtnFormCloseClick(); }

  private:
    void BuildControls();
    void ConnectHandlers();
    void ShowDirectionControls(bool byDirection);
    // Sets RegionBitmap and shows it; the first change also shows "OK".
    void ShowRegion(Bitmap region);
    void ApplyAngle();
    void ApplyTwoColourSplit();
    void SetAngle(int degrees);

    RegionHost& host_;
    std::unique_ptr<PaletteWidgets> palette_;
    int start_ = 1;  // the region history counter at open
    int failures_ = 0;
    Bitmap atOpen_;  // Image0: the region as opened
    Bitmap turned_;  // Image1: the true turned picture, or the region as opened
    int angle_ = 0;  // -180..180
    int threshold_ = 50;
    TColor colourA_ = clWhite;
    TColor colourB_ = clBlack;
    TColor current_;  // the colour a palette cell chose last
};

}  // namespace pb
