#pragma once
// TForm10, the margin fill of the page: every exactly white pixel of the page (all three bytes
// 255) is painted SOLID, in STRIPE or GRADATION bands, or with a picture cropped or tiled to
// the page; any other pixel, off-white ones too, keeps its colour. A page without white stays
// as it is.
//
// A panel right of the page area with a hole over the main screen's controls at x 706..790,
// y 70..128. It works on the page surface directly: every fill starts again from the page as
// opened, after one snapshot into the page history (history 1); "キャンセル" rolls the page
// back to the counter remembered at open and deletes the snapshots taken meanwhile. The page
// image and the floating selection are disabled while the panel is open.

#include <QPointer>

#include "common/edit_surface.h"
#include "imaging/ui/key_fill_form.h"
#include "platform/ui/image_control.h"

namespace pb {

// What the margin fill works on: the page surface (its bitmap is the page image's picture),
// the page image showing it, the floating selection over it (may be null) and the width of
// the page area, right of which the panel lies (in the page window's coordinates).
struct MarginFillPage {
    EditSurface& surface;
    ImageControl& image;
    ImageControl* floating = nullptr;
    int pageAreaWidth = 567;
};

class TForm10 : public KeyFillForm {
    Q_OBJECT
  public:
    explicit TForm10(const MarginFillPage& page);

    QLabel* Label3 = nullptr;             // "STRIPE構成色選択" / "GRADATION構成色選択"
    QPushButton* BtnDtStClose = nullptr;  // "OK"
    QPushButton* BtnFormClose = nullptr;  // "キャンセル"

    void BtnDtStCloseClick();
    void BtnFormCloseClick();

  protected:
    void CloseByWindowManager() override { BtnFormCloseClick(); }
    void FormClose() override;
    void PaletteColourChosen(TColor colour) override;
    void Refill() override;
    bool Snapshot() override;
    Bitmap& Target() override { return surface_.bitmap(); }
    void TargetChanged() override;

  private:
    void BuildControls(int panelWidth);
    void SetPageEnabled(bool enabled);

    EditSurface& surface_;
    QPointer<ImageControl> image_;
    QPointer<ImageControl> floating_;
    int start_;  // the page history counter at open
};

// "背景塗り": opens the margin fill over the page.
QWidget* OpenMarginFill(const MarginFillPage& page);

}  // namespace pb
