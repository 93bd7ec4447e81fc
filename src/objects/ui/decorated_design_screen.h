#pragma once
// TForm9, the decorated object design screen: outline, fill, shadow and deformation of the
// selected decorated text or shape, its font and size (texts) or its kind and size (shapes).
// Opened by "デザイン変更" of the object list for records of family "1"; the object on the page
// is the preview. A picture fill is chosen from a folder tree and a list of thumbnails; while
// a shape has one, the main screen's note that embedded pictures lose quality is shown.

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <string>

#include "common/ui/picture_browser_widgets.h"
#include "objects/design_rules.h"
#include "objects/ui/object_design_form.h"

namespace pb {

class TForm9 : public ObjectDesignForm {
    Q_OBJECT
  public:
    explicit TForm9(QWidget* parent = nullptr);

    // Controls, named as the screen knows them (index 0 unused where numbering starts at 1).
    QRadioButton* RBtn0 = nullptr;        // "線"
    QRadioButton* RBtn1 = nullptr;        // "中身"
    QRadioButton* RBtn2 = nullptr;        // "影"
    QPushButton* BtnK0 = nullptr;         // "影無"
    QPushButton* BtnK1 = nullptr;         // "影付"
    QPushButton* BtnL1 = nullptr;         // outline width - 1
    QPushButton* BtnL2 = nullptr;         // outline width + 1
    std::array<QPushButton*, 5> BtnF{};   // BtnF1, BtnF2 arch; BtnF3, BtnF4 slant
    std::array<QPushButton*, 5> BtnB{};   // 定型線描, STRIPE, GRADATION, 画像
    QComboBox* ComboBox1 = nullptr;       // the seven patterns
    QPushButton* BtnV1 = nullptr;         // "縦"
    QPushButton* BtnV0 = nullptr;         // "横"
    std::array<QPushButton*, 4> BtnP{};   // alignment of texts
    std::array<QPushButton*, 5> BtnM{};   // font size of texts
    std::array<QPushButton*, 4> BtnA{};   // shape kinds
    std::array<QPushButton*, 5> BtnSW{};  // BtnS01..BtnS04: width
    std::array<QPushButton*, 5> BtnSH{};  // BtnS11..BtnS14: height
    QPushButton* BtnSS = nullptr;         // "画像に合わせて縦横比補整"
    FolderTree* ShellTreeView1 = nullptr;
    ThumbnailListView* ListView1 = nullptr;

    // The screen's state as the record it would write.
    ObjectRecord CurrentRecord() const;
    int shapeKind() const { return shapeKind_; }

    void BtnAClick(int kind);
    void BtnKClick(int n);
    void BtnLClick(int n);
    void BtnFClick(int n);
    void BtnMClick(int n);
    void BtnSClick(int n);
    void BtnSSClick();
    void BtnBClick(int n);
    void BtnVClick();
    void BtnPClick(int n);
    void ComboBox1Change(int index);
    void ListBox1Click();
    void ListView1Click(QListWidgetItem* item);
    void ShellTreeView1Change(const QString& path);
    // A palette colour onto the target chosen by the radio buttons.
    void IroSentaku9a(TColor colour);
    void BtnDtStCloseClick();
    void BtnFormCloseClick();

  protected:
    void FormClose() override;
    void PaletteColourChosen(TColor colour) override { IroSentaku9a(colour); }
    std::optional<TColor> CurrentPaletteColour() const override;
    void ComponentsChanged() override { Preview(); }

  private:
    void BuildControls();
    void ConnectHandlers();
    void FormCreate();
    // Shows the controls of the fill style `code` (ComboBox1, the component colours with the
    // second palette and the direction, the folder tree and thumbnails).
    void ShowFillControls(int code);
    void ShowPictureBrowser(bool visible);
    void EnableArch();
    // The shape's picture fill exists: "画像に合わせて縦横比補整" and the note are shown.
    bool HasPictureFill() const;
    void ShowPictureNote();
    void Preview();
    // The text's box measured bold at `size` in the chosen font.
    Size TextBox(int size, const std::string& family) const;
    std::string FontFamily() const;

    ObjectRecord rec_;  // the state; FillStyle is held in fill_
    FillChoice fill_;
    int shapeKind_ = 0;
    bool noteShown_ = false;
};

}  // namespace pb
