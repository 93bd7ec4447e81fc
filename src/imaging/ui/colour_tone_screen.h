#pragma once
// TForm17, the colour tone of the region: a black strip over the region editor's top panel with
// four sliders, the overall brightness and the red, green and blue offsets. Every adjustment is
// made afresh from the region as opened (ImageKP) and takes no snapshot of its own; "OK" takes
// one snapshot of the region as opened, so that a single "戻す" undoes the whole tone change.

#include <QLabel>
#include <QPushButton>
#include <array>

#include "common/ui/form.h"
#include "imaging/colour_tone.h"
#include "imaging/ui/track_bar.h"
#include "platform/bitmap.h"

namespace pb {

class RegionHost;

class TForm17 : public Form {
    Q_OBJECT
  public:
    // FormCreate: the strip at the editor's top left, ImageKP a copy of RegionBitmap.
    explicit TForm17(RegionHost& host);

    // Indexed by the bar's number: 0 blue, 1 green, 2 red, 3 overall.
    std::array<TYTrackBar*, 4> YTB{};
    std::array<QLabel*, 4> Label{};
    QPushButton* BtnReset = nullptr;      // "Reset"
    QPushButton* BtnDtStClose = nullptr;  // "OK"
    QPushButton* BtnFormClose = nullptr;  // "Cancel"

    const ToneOffsets& Offsets() const { return offsets_; }

    // While a bar is dragged: its label shows the offset (position - 50) x 2.
    void YTBVChange(int n);
    // When the bar is let go: RegionBitmap becomes ImageKP adjusted by all four offsets.
    void YTBVMouseUp();
    void BtnResetClick();
    void BtnDtStCloseClick();
    void BtnFormCloseClick();

  protected:
    void CloseByWindowManager() override { BtnFormCloseClick(); }

  private:
    RegionHost& host_;
    Bitmap ImageKP;  // the region as opened
    ToneOffsets offsets_;
};

}  // namespace pb
