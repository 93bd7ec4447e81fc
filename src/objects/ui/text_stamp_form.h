#pragma once
// TextStampForm: what the two text stamp screens (TForm14 plain, TForm15 decorated) share.
// A stamp screen is a panel over the region editor's top panel: as wide as the work area, as
// high as the editor's panel above its canvas, with a hole through which the editor's zoom
// buttons stay usable. The stamp is shown in the editor's floating image (PlacedImage), which
// the user drags into place, and burnt into RegionBitmap by the confirm button after a
// region snapshot. While the screen is open the editor's canvas takes no drawing; when it
// closes the floating image is hidden and emptied. A close by the window manager is
// "Cancel": nothing is drawn.

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <optional>
#include <string>

#include "common/ui/palette_widgets.h"
#include "platform/bitmap.h"
#include "platform/geometry.h"

namespace pb {

class RegionHost;

class TextStampForm : public PaletteForm {
    Q_OBJECT
  public:
    QLineEdit* Edit0 = nullptr;
    QLabel* Label1 = nullptr;  // "編集中の文字は指でもマウスでも移動可能"
    QPushButton* BtnDtStClose = nullptr;
    QPushButton* BtnFormClose = nullptr;  // "Cancel"
    QListWidget* ListBox1 = nullptr;      // the Japanese fonts

    const std::string& text() const { return text_; }
    // "Cancel": closes without drawing.
    void BtnFormCloseClick();

    // The hole in the panel's window region, (701, 110)-(760, 152), panel coordinates.
    static QRect Hole() { return QRect(701, 110, 59, 42); }

  protected:
    TextStampForm(RegionHost& host, std::string text, const QString& name);

    RegionHost& host() const { return host_; }
    // Places the panel, cuts its hole, disables the editor's canvas and brings the floating
    // image to the canvas's top-left corner.
    void OpenOverRegion();
    void BuildConfirmButtons(const QString& confirmCaption);
    void BuildFontList(const QRect& place, const std::string& current);
    std::string ChosenFont() const;

    Size RegionSize() const;
    // The floating image's offset from the canvas image, in region pixels (× 100 ÷ zoom).
    Point RegionPosition() const;
    // Room right of and below the floating image in the region, in region pixels.
    Size Room() const;
    // Shows "右余白が足りない" or "下余白が足りない" (caption "NG") when `box` does not fit
    // the room, `reserveBelow` taken off the room below; true when refused.
    bool RefuseUnlessFits(Size box, int reserveBelow = 0) const;
    // The stamp's picture into the floating image, shown at its size × zoom ÷ 100 and
    // see-through where it has KeyColour.
    void ShowStamp(const Bitmap& picture);

    void CloseByWindowManager() override { BtnFormCloseClick(); }
    void FormClose() override;

  private:
    RegionHost& host_;
    std::string text_;
    // How the floating image was before, given back at close.
    std::optional<TColor> placedKey_;
    bool placedStretch_ = false;
};

}  // namespace pb
