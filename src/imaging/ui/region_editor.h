#pragma once
// TForm2, the region editor: a rectangle lifted from the page becomes RegionBitmap, a small
// picture of its own on the editor's canvas, painted with the page's tools on a surface of
// its own (history 2, "TmpWorkB", emptied at open) and pasted back at its place on the page
// by "確定". The top panel (200 pixels high) launches the image tool screens, which lie over
// it and work on RegionBitmap through RegionHost; only one of them is open at a time.
//
// The editor covers the whole work area. It keeps its own drawing state (tool, pen or brush,
// colour, pen width, zoom): nothing it does changes the page's tools or the page's history
// until "確定" or "範囲内消去" pastes back with one page snapshot.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "common/edit_surface.h"
#include "common/ui/form.h"
#include "common/ui/region_host.h"
#include "platform/geometry.h"

namespace pb {

class ImageControl;
class PaletteWidgets;

// Where the region came from and goes back to: the page's surface (its bitmap and history 1),
// the image control that shows it, and the region's top-left on the page in page pixels.
struct RegionOrigin {
    EditSurface* page = nullptr;
    ImageControl* pageImage = nullptr;
    Point topLeft{0, 0};
};

class TForm2 : public Form, public RegionHost {
    Q_OBJECT
  public:
    // FormCreate: RegionBitmap becomes `region` (the lifted rectangle), zoom 100, the region
    // history is emptied. The editor shows itself over the work area.
    TForm2(Bitmap region, const RegionOrigin& origin, QWidget* parent = nullptr);
    ~TForm2() override;

    // Controls, named as the screen knows them.
    std::array<QPushButton*, 20> Btn{};    // Btn00..Btn19
    std::array<QRadioButton*, 10> RBtn{};  // RBtn00..RBtn06, RBtn08, RBtn09 (index 7 unused)
    std::array<QLabel*, 12> Label{};       // Label1..Label11 (those the screen has)
    QLabel* TitleLabel = nullptr;
    QGroupBox* GroupBox1 = nullptr;  // the tools, shown in pen mode
    QGroupBox* GroupBox2 = nullptr;  // "Brush" / "Pen"
    QLineEdit* Edit0 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    ImageControl* Image1 = nullptr;  // the canvas: RegionBitmap, stretched to the zoom
    ImageControl* Image2 = nullptr;  // PlacedImage: the floating selection or picture
    std::unique_ptr<PaletteWidgets> palette;

    int toolIndex() const { return toolIndex_; }
    bool penMode() const { return penMode_; }
    int penWidth() const { return penWidth_; }
    // The tool screen opened from the panel while it is open, else nullptr.
    QWidget* toolScreen() const { return toolScreen_; }

    // RegionHost.
    QWidget* EditorWindow() override { return this; }
    EditSurface& RegionSurface() override { return *surface_; }
    ImageControl* CanvasImage() override { return Image1; }
    ImageControl* PlacedImage() override { return Image2; }
    int Zoom() const override { return zoom_; }
    TColor CurrentColour() const override { return colour_; }
    void RegionChanged() override;
    bool SnapshotRegion() override;
    void RollbackToOpen(int start) override;

    // Handlers.
    void STDRWMD(int tool);         // RBtn00..RBtn06
    void RBtnPenOrBrush(bool pen);  // RBtn08Click (brush) / RBtn09Click (pen)
    void Btn11Or12Click(bool zoomIn);
    void Btn13Or14Click(bool wider);  // pen width "↓" / "↑"
    void Btn09Click();                // 戻す
    void Btn10Click();                // 進む
    void Btn08Click();                // 確定
    void Btn01Click();                // 範囲内消去
    void Btn00Click();                // Cancel
    void Edit0Enter();
    void Image1MouseDown(Qt::MouseButton button, int x, int y);
    void Image1MouseMove(int x, int y);
    void Image1MouseUp(Qt::MouseButton button, int x, int y);
    void Image1Click();
    void Image2MouseDown(Qt::MouseButton button);
    void Image2MouseMove(int x, int y);
    void Image2MouseUp(Qt::MouseButton button);

  protected:
    void CloseByWindowManager() override { Btn00Click(); }
    void FormClose() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // What a panel button that opens a tool screen needs before it opens it.
    enum class Needs { Nothing, Picture, TwoColours, Size25 };

    void BuildControls();
    void ConnectHandlers();
    void OpenToolScreen(Needs needs, const std::function<QWidget*()>& open);
    void ShowToolScreenButtons(bool enabled);
    void FocusEdit0();
    // Drops a floating copy (tools 5 and 6) onto the region; true when it did.
    bool DropFloatingCopy();
    // Saves the page as a snapshot of history 1 and draws `region` at the region's place;
    // false, with the page untouched, when the snapshot failed.
    bool PasteBack(const Bitmap& region);
    std::string CCTmpPath() const;

    Bitmap& region() { return surface_->bitmap(); }

    RegionOrigin origin_;
    std::unique_ptr<EditSurface> surface_;
    int toolIndex_ = 0;
    bool penMode_ = true;
    bool tracking_ = false;  // a gesture on the canvas, or PlacedImage being dragged
    TColor colour_ = clBlack;
    int penWidth_ = 2;
    int zoom_ = 100;
    Point lastPress_{0, 0};  // where the canvas was last pressed or moved over (the fill's point)
    QPointer<QWidget> toolScreen_;
};

}  // namespace pb
