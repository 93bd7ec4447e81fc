#pragma once
// TForm12, the stretch of the region: a grey strip over the region editor's top panel whose two
// buttons shrink and enlarge the picture about its centre in steps of 5 %, always from the
// region as opened (Image1) and inside its unchanged frame. Each step takes a snapshot first;
// "Cancel" rolls the region history back to the counter remembered at open. The editor's
// undo/redo group stays usable through a hole in the window.

#include <QPushButton>

#include "common/ui/form.h"
#include "platform/bitmap.h"

namespace pb {

class RegionHost;

class TForm12 : public Form {
    Q_OBJECT
  public:
    // FormCreate: scale 100, the history counter remembered, the strip placed with its hole,
    // Image1 a copy of RegionBitmap.
    explicit TForm12(RegionHost& host);

    QPushButton* BtnZS0 = nullptr;        // shrink, arrows pointing inward
    QPushButton* BtnZS1 = nullptr;        // enlarge, arrows pointing outward
    QPushButton* BtnDtStClose = nullptr;  // "OK", shown after the first change
    QPushButton* BtnFormClose = nullptr;  // "Cancel"

    // The scale in percent; it has no bounds, only scales from 5 up are drawn.
    int Scale() const { return scale_; }

    void BtnZSClick(bool enlarge);
    void BtnDtStCloseClick();
    void BtnFormCloseClick();

  protected:
    void CloseByWindowManager() override { BtnFormCloseClick(); }

  private:
    RegionHost& host_;
    Bitmap Image1;  // the region as opened
    int scale_ = 100;
    int start_ = 1;  // the region history counter at open
};

}  // namespace pb
