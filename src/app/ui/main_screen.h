#pragma once
// TForm1, the main screen: the page in its scroll box on the left, the side panel of large
// buttons on the right (drawing panel or print panel), the palette, and the program-wide
// state it owns (App()). It opens every other screen and implements the hub through which
// the screens hand over to each other.

#include <QCheckBox>
#include <memory>
#include <QPointer>
#include <QScrollArea>
#include <QTextEdit>
#include <array>

#include "common/edit_surface.h"
#include "common/ui/form.h"
#include "common/ui/screen_hub.h"
#include "platform/ui/image_control.h"

namespace pb {

class WorkKeeper;

class TForm1 : public Form, public ScreenHub {
    Q_OBJECT
public:
    // appDir: the folder for the working files; empty for the program's own folder.
    explicit TForm1(const std::string& appDir = {}, QWidget* parent = nullptr);
    ~TForm1() override;

    // Controls, named as the screen knows them.
    std::array<QPushButton*, 25> Btn{};     // Btn01..Btn24 (index 0 unused)
    std::array<ColourCell*, 41> Edit{};     // Edit1..Edit40 (index 0 unused)
    QLineEdit* Edit0 = nullptr;
    std::array<QRadioButton*, 14> RBtn{};   // RBtn00..RBtn13
    QGroupBox* GroupBox1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QGroupBox* GroupBox4 = nullptr;
    ImageControl* Image0 = nullptr;  // never shown: a spare copy of the page
    std::array<QLabel*, 12> Label{};         // Label0..Label11
    QLabel* LabelPX0 = nullptr;
    QLabel* LabelPY0 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    ImageControl* Image1 = nullptr;  // the page
    // The page as the painting tools and the history see it: Image1's bitmap.
    std::unique_ptr<EditSurface> PageSurface;
    ImageControl* Image2 = nullptr;  // the floating selection
    QTextEdit* Memo1 = nullptr;
    QPushButton* BtnCards = nullptr;  // "差し込み印刷" on the print panel

    // Whether start-up found a usable printer; without one only "終了" works.
    bool printerUsable() const { return printerUsable_; }
    // The zoom percentage (shown in Label5), the pen width 1..20 (Label6) and the number of
    // copies 1..99 (Label0).
    int zoom() const { return zoom_; }
    int penWidth() const { return penWidth_; }
    int copies() const { return copies_; }
    // The print panel's choices: "縮小(A4→ハガキ)" and the feed position "Center".
    bool reduceA4ToPostcard() const { return RBtn[11]->isChecked(); }
    bool feedCentre() const { return RBtn[12]->isChecked(); }
    // Where the last marked selection starts on the page (LabelPX0, LabelPY0), in page pixels.
    Point selectionOrigin() const { return selectionOrigin_; }

    // Operations other screens call.
    void NewPage();
    void ApplyZoom(int z);
    void ZoomImage(ImageControl* image, int z);
    // Shows the page image at zoom z without moving the objects (there are none yet, or they
    // are rendered again next).
    void ShowPageAtZoom(int z);
    // IDYES, IDNO, IDCANCEL, or 0 when nothing was asked.
    int AskToSave();
    void MarkPageButton();
    // "上書保存" works once the work has a name.
    void EnableOverwrite(bool on) { Btn[14]->setEnabled(on); }
    // Saves the work under App().WorkName; reload says whether editing goes on.
    bool SaveWork(bool reload);
    void ShowPrintPanel(bool back);
    void ShowPenControls();
    // Renders and places object slot n from `folder` and hooks the main screen's handlers.
    bool LoadObjectImage(const std::string& folder, int n) override;
    // Gives the focus to Edit0, which drops a floating selection onto the page.
    void FocusEdit0();

    // Handlers.
    void BtnPPClick(int m);
    void BtnRVSVClick(int n);
    void Btn14Click();
    void Btn15Click();
    void Btn23Click();
    void Btn24Click();
    void BtnZoomUpDnClick(int n);
    void Btn01Click();
    void BtnPrvNxtClick();
    void RBtnVClick(int n);
    void IroSentaku1();
    void BtnPWidthPrtCntUpDnClick(int n);
    void Btn10Click();
    void Btn16Click();
    void Btn17Click();
    void Btn18Click();
    void Edit0Enter();
    void Image1MouseDown(Qt::MouseButton button, int x, int y);
    void Image1MouseMove(int x, int y);
    void Image1MouseUp(Qt::MouseButton button, int x, int y);
    void Image1Click();
    void CSImgMouseDown(Qt::MouseButton button, int x, int y);
    void CSImgMouseMove(QWidget* control, int x, int y);
    void CSImgMouseUp(Qt::MouseButton button, int x, int y);
    void CImgClick(int clicked);

    // ScreenHub.
    QWidget* MainWindow() override { return this; }
    QWidget* PageArea() override;
    ImageControl* PageImage() override { return Image1; }
    ImageControl* FloatingImage() override { return Image2; }
    int Zoom() override { return zoom(); }
    int PageAreaWidth() override { return ScrollBox1->width(); }
    void ShowObjectNotes(bool visible) override;
    void OpenObjectList() override;
    void OpenObjectDesign(bool decorated) override;
    void ShowImageQualityNote(bool visible) override;
    void OpenKeyboard(const KeyboardRequest& request) override;
    // The keyboard's confirm for the selected object: its text with a size that fits its box.
    bool ApplyObjectText(const std::string& text) override;
    RegionHost* Region() override { return region_; }
    void DrawBarcode() override;
    void DrawQrCode() override;
    bool HandOverQrText(const std::string& cp932) override;
    // The keyboard's confirm in caller modes "2" and "3": the text stamps of the region editor.
    void OpenPlainTextStamp(const std::string& text) override;
    void OpenDecoratedTextStamp(const std::string& text) override;

protected:
    // The window's close button is "終了".
    void CloseByWindowManager() override { Btn01Click(); }
    void FormClose() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void BuildPrintPanel();
    void ConnectHandlers();
    void FormCreate(const std::string& appDir);
    // Offers the work a run that did not end left behind; true when it became the page.
    bool RestoreLeftWork();
    void ShowZoom(int z);
    void HideAllForNoPrinter();
    void SwitchBrushToPen();
    void ResetFloatingImage();
    void ResizePageArea();
    // Tool 7: the region editor on the lifted rectangle `sel` (page pixels), which the hidden
    // floating image holds.
    void OpenRegionEditor(const Rect& sel);
    std::string CCTmpPath() const;
    void Memo1MouseDown(QMouseEvent* e);
    void Memo1MouseMove(QMouseEvent* e);

    bool printerUsable_ = false;
    int zoom_ = 100;
    int penWidth_ = 2;
    int copies_ = 1;
    Point selectionOrigin_{0, 0};
    RegionHost* region_ = nullptr;  // the region editor while it is open
    Point lastClick_{0, 0};  // where the page was last pressed (the bucket fill's point)
    QPointer<QWidget> objectList_;
    WorkKeeper* keeper_ = nullptr;  // from start-up to "終了"; none without a usable printer
};

}  // namespace pb
