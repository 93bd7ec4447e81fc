#pragma once
// TForm3, the picture import screen: a grey strip over the region editor's top panel with a
// folder tree and a page of 40 x 40 thumbnails. A picture the user touches is scaled by one of
// four fit modes into the editor's PlacedImage, dragged into place over the canvas, and pasted
// into RegionBitmap by "OK" after a region snapshot. The strip leaves a hole over the editor's
// canvas size labels; the canvas below it stays visible but disabled while the strip is open.

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <array>

#include "common/ui/form.h"
#include "common/ui/picture_browser_widgets.h"
#include "imaging/fit_modes.h"
#include "platform/bitmap.h"

class QListWidgetItem;

namespace pb {

class ImageControl;
class RegionHost;

class TForm3 : public Form {
    Q_OBJECT
  public:
    // Places the strip over host.EditorWindow() and shows the current picture folder.
    explicit TForm3(RegionHost& host);

    // Controls, named as the screen knows them (index 0 unused where numbering starts at 1).
    FolderTree* ShellTreeView1 = nullptr;
    ThumbnailListView* ListView1 = nullptr;
    QPushButton* BtnLVPgUp = nullptr;            // "↑前頁"
    QPushButton* BtnLVPgDn = nullptr;            // "↓次頁"
    std::array<QRadioButton*, 4> RadioButton{};  // the fit modes 0..3
    std::array<QPushButton*, 5> BtnS{};          // BtnS1..BtnS4: "←", "→", "↑", "↓"
    QCheckBox* CheckBox1 = nullptr;              // "HalfToneMode"
    QLabel* LabelSUKIMA = nullptr;               // the gap note
    QPushButton* BtnDtStClose = nullptr;         // "OK"
    QPushButton* BtnFormClose = nullptr;         // "Cancel"

    // The loaded picture at its full size (nothing loaded: a null bitmap).
    const Bitmap& picture() const { return picture_; }
    FitMode mode() const { return mode_; }

    void ShellTreeView1Change(const QString& path);
    void ListView1Click(QListWidgetItem* item);
    void RBtnClick(FitMode mode);
    void SizeBtnClick(int button);
    void CheckBox1Click();
    void BtnLVPgUpClick();
    void BtnLVPgDnClick();
    void BtnDtStCloseClick();
    void BtnFormCloseClick();

  protected:
    void CloseByWindowManager() override { BtnFormCloseClick(); }
    void FormClose() override;
    // While the strip is open it drags PlacedImage itself; the editor's own mouse handlers of
    // that image get nothing meanwhile.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildControls();
    void ConnectHandlers();
    void FormCreate();
    // PlacedImage rebuilt from the loaded picture in the current mode.
    void ApplyFitMode();
    // `placed` becomes PlacedImage's picture at the editor's zoom; the gap note follows.
    void ShowPlaced(Bitmap placed);
    void MovePlacedToCanvasCorner();
    // PlacedImage's centre to `pointer` (in its own coordinates), kept inside the canvas.
    void DragPlacedTo(QPoint pointer);
    Size RegionSize() const;
    bool HalfTone() const;

    RegionHost& host_;
    ImageControl* placed_;
    Bitmap picture_;
    FitMode mode_ = FitMode::KeepAspect;
    bool dragging_ = false;
};

}  // namespace pb
