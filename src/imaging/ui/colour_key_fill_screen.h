#pragma once
// TForm7, the background fill of the region: every pixel of RegionBitmap whose colour is the
// key colour, or whose brightness lies within the threshold of the key's, is painted SOLID, in
// STRIPE or GRADATION bands laid over the whole region, or with a picture cropped or tiled to
// the region's size. The key test is global, not a flood from a point. The key colour is
// pixel (0, 0) at open and then the pixel touched in the preview.
//
// The screen covers the display but leaves two holes: the region editor's undo/redo and size
// labels, and the left part of its canvas, where the result shows while the user chooses.
// Every fill starts again from the region as opened, after one snapshot of the region
// history; "Cancel" rolls back to the counter remembered at open.

#include <QLabel>
#include <QPushButton>

#include "common/ui/region_host.h"
#include "imaging/ui/key_fill_form.h"
#include "imaging/ui/track_bar.h"
#include "platform/ui/image_control.h"

namespace pb {

class TForm7 : public KeyFillForm {
    Q_OBJECT
  public:
    explicit TForm7(RegionHost& host);

    ImageControl* Image1 = nullptr;  // the preview of the region as opened
    QLabel* Label0 = nullptr;        // "塗りつぶし領域を選択"
    QLabel* Label1 = nullptr;        // "↓"
    QLabel* Label2 = nullptr;        // the threshold
    QLabel* Label300 = nullptr;      // the key colour
    QGroupBox* GroupBox1 = nullptr;  // the match mode
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    TYTrackBar* YTrackBar1 = nullptr;
    QPushButton* BtnDtStClose = nullptr;  // "確定"
    QPushButton* BtnFormClose = nullptr;  // "Cancel"

    TColor keyColour() const { return key_; }
    KeyMatch CurrentMatch() const;

    // A touch on the preview at (x, y), in the preview's pixels.
    void Image1Click(int x, int y);
    void RadioButton1Click();
    void RadioButton2Click();
    void YTrackBar1Change();
    void YTrackBar1MouseUp();
    void BtnDtStCloseClick();
    void BtnFormCloseClick();

  protected:
    void CloseByWindowManager() override { BtnFormCloseClick(); }
    void PaletteColourChosen(TColor colour) override;
    void Refill() override { ApplyFill(CurrentMatch()); }
    bool Snapshot() override { return host_.SnapshotRegion(); }
    Bitmap& Target() override { return host_.RegionBitmap(); }
    void TargetChanged() override;

  private:
    void BuildControls();
    void ShowKey();

    RegionHost& host_;
    int start_;  // the region history counter at open
    TColor key_ = clWhite;
    Point pressed_{0, 0};
};

}  // namespace pb
