#pragma once
// TForm5, the shape screen ("激しく変形"): the region's picture as the fill of one of eight
// shapes, with a drop shadow, an outline, the picture moved and scaled inside the shape, and
// the whole distorted by moving its four corners. Full screen; the preview shows the result
// at most 400 x 400 with the corner buttons around it. "確定" writes the result into the
// region with one snapshot; "Cancel" leaves the region as it was.

#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <memory>

#include "common/ui/form.h"
#include "common/ui/palette_widgets.h"
#include "imaging/quad_warp.h"
#include "imaging/shape_stamp.h"
#include "platform/bitmap.h"

namespace pb {

class ImageControl;
class RegionHost;

class TForm5 : public Form {
    Q_OBJECT
  public:
    explicit TForm5(RegionHost& host);
    ~TForm5() override;

    ImageControl* Image1 = nullptr;  // the result, stretched for display
    // RadioButton00..RadioButton15: shapes 0..7, "影なし"/"影つき", the four directions,
    // the colour target "輪郭線の色"/"影の色".
    std::array<QRadioButton*, 16> RadioButton{};
    QGroupBox* ShadowGroup = nullptr;
    QGroupBox* DirectionGroup = nullptr;
    QLabel* LabelPW = nullptr;       // the outline width
    QPushButton* Button1 = nullptr;  // "確定"
    QPushButton* Button2 = nullptr;  // "Cancel"

    // Radio n (0..15).
    void RDBtnClick(int n);
    void IroSentaku5(TColor colour);
    void BtnPWDNClick();
    void BtnPWUPClick();
    // "画像位置サイズ補整": group 0 all sides (direction 0 grow, 1 shrink), 1 top, 2 right,
    // 3 bottom, 4 left (direction 0 grow, 1 shrink), 5 all insets back to 0.
    void BtnKSClick(int group, int direction);
    // A corner button: corner 0..3, along x or y, plus or minus a sixth.
    void BtnTFRMClick(int corner, bool alongX, bool plus);
    void Button1Click();
    void Button2Click();

  private:
    void BuildControls();
    void BuildRightPanel(int x);
    void BuildCornerButtons(QSize preview);
    void ConnectHandlers();
    // Insets and corners back to the start, the picture composed and shown unwarped.
    void SetUp();
    void ComposeAndWarp();

    RegionHost& host_;
    std::unique_ptr<PaletteWidgets> palette_;
    Bitmap region_;    // RegionBitmap as opened
    Bitmap composed_;  // Image0
    StampStyle style_;
    WarpCorners corners_{};
};

}  // namespace pb
