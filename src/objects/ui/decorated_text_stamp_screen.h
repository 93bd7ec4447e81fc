#pragma once
// TForm15, the decorated text stamp screen: the text typed on the keyboard (caller mode "3")
// drawn as a decorated text (outline, fill, shadow, arch or slant) and stamped into the
// region editor's bitmap. The stamp floats in the editor's PlacedImage until "OK" copies its
// drawn pixels into RegionBitmap where it lies. A computed or picture fill is kept in
// "tmp.bmp" beside the program while the screen is open.

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <string>

#include "common/ui/picture_browser_widgets.h"
#include "objects/strdata.h"
#include "objects/ui/text_stamp_form.h"

namespace pb {

class TForm15 : public TextStampForm {
    Q_OBJECT
  public:
    TForm15(RegionHost& host, const std::string& text);

    // Btn1 / Btn3 size ±8, Btn2 / Btn4 size ±2, Btn5 / Btn6 outline width ±1. Index 0 unused.
    std::array<QPushButton*, 7> Btn{};
    // FBtn1, FBtn2 arch −/+ step; FBtn3, FBtn4 slant −/+ step.
    std::array<QPushButton*, 5> FBtn{};
    // RBtn01..RBtn03 alignment; RBtn04 "影なし", RBtn05 "影つき"; RBtn06..RBtn09 "SOLID",
    // "STRIPE", "GRADATION", "画像"; RBtn10 "輪郭線", RBtn11 "中身", RBtn12 "影" (only with
    // the shadow); RBtn13 "横", RBtn14 "縦" (only with STRIPE and GRADATION).
    std::array<QRadioButton*, 15> RBtn{};
    QGroupBox* GroupBox1 = nullptr;  // shadow
    QGroupBox* GroupBox2 = nullptr;  // alignment
    QGroupBox* GroupBox3 = nullptr;  // "中身の塗り方"
    QGroupBox* GroupBox4 = nullptr;  // direction
    QGroupBox* GroupBox5 = nullptr;  // "色変更"
    QLabel* LabelSize = nullptr;
    FolderTree* ShellTreeView1 = nullptr;
    ThumbnailListView* ListView1 = nullptr;

    // The stamp as a decorated text record (its place is the floating image's).
    ObjectRecord CurrentRecord() const;
    // "tmp.bmp" beside the program.
    static std::string FillBitmapPath();

    void BtnUpDnClick(int n);
    void FBtnClick(int n);
    void RBtnVClick(int n);
    void ListBox1Click();
    void ListView1Click(QListWidgetItem* item);
    void ShellTreeView1Change(const QString& path);
    // A palette colour onto the outline, fill or shadow colour.
    void IroSentaku15a(TColor colour);
    void BtnDtStCloseClick();

  protected:
    void PaletteColourChosen(TColor colour) override { IroSentaku15a(colour); }
    void ComponentsChanged() override { Preview(); }
    std::optional<TColor> CurrentPaletteColour() const override;
    void FormClose() override;

  private:
    void BuildControls();
    void ConnectHandlers();
    void ShowFillControls(const QString& caption);
    void ShowPictureBrowser(bool visible);
    // Draws the stamp and shows it; returns its picture (empty when it cannot be drawn).
    Bitmap Preview();
    // The text's box measured bold at `size` in `family`.
    Size TextBox(int size, const std::string& family) const;
    std::string FontFamily() const;

    ObjectRecord rec_;
};

}  // namespace pb
