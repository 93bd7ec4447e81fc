#include "imaging/ui/margin_fill_screen.h"

#include <QScreen>

#include "common/ui/surface_controls.h"
#include "platform/work_indicator.h"

namespace pb {

namespace {

// The main screen's controls the panel leaves usable, in the main screen's coordinates.
constexpr int kHoleLeft = 706, kHoleRight = 790, kHoleTop = 70, kHoleBottom = 128;

}  // namespace

TForm10::TForm10(const MarginFillPage& page)
    : KeyFillForm(page.image.window(), Qt::WindowStaysOnTopHint),
      surface_(page.surface),
      image_(&page.image),
      floating_(page.floating),
      start_(page.surface.history().counter()) {
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(QStringLiteral("背景塗り"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("#Form10 { background: #c0c0c0; }"));

    // FormCreate: right of the page area, down to the bottom of the display.
    const QWidget* main = page.image.window();
    const QPoint origin = main->mapToGlobal(QPoint(page.pageAreaWidth, 0));
    QSize size(std::max(main->width() - page.pageAreaWidth, 225), main->height());
    if (const QScreen* screen = main->screen()) {
        const QRect display = screen->geometry();
        size = size.expandedTo(
            QSize(display.right() + 1 - origin.x(), display.bottom() + 1 - origin.y()));
    }
    setGeometry(QRect(origin, size));
    BuildControls(size.width());
    SetOpened(surface_.bitmap());
    SetCurrentColour(clWhite);
    SetPageEnabled(false);
    ShowStyleControls();
    CutHoles({QRect(kHoleLeft - page.pageAreaWidth, kHoleTop, kHoleRight - kHoleLeft,
                    kHoleBottom - kHoleTop)});
    show();
}

void TForm10::BuildControls(int panelWidth) {
    AddLabel(QStringLiteral("LabelMargin"), QStringLiteral("余白を埋めるだけ"), 4, 4, 200, 18);
    AddLabel(QStringLiteral("LabelNoWhite"), QStringLiteral("(白い部分が全くなければ何もしない)"),
             4, 22, 220, 18);
    ControlNames names;
    names.styles = {"RadioButton1", "RadioButton2", "RadioButton3", "RadioButton4"};
    names.across = "RadioButton5";
    names.down = "RadioButton6";
    names.widthValue = "Label1";
    names.widthTitle = "Label2";
    names.thinner = "Button1";
    names.thicker = "Button2";
    // The hole lies right of x 136 between y 70 and 128: the controls beside it keep left.
    const int browserWidth = std::max(panelWidth - 8, 216);
    Placement at;
    at.styles = QRect(4, 44, 128, 104);
    at.direction = QRect(4, 152, 128, 32);
    at.width = QPoint(4, 188);
    at.palette = QPoint(4, 242);
    at.components = QPoint(4, 338);
    at.tree = QRect(4, 242, browserWidth, 120);
    at.list = QRect(4, 366, browserWidth, std::max(height() - 370, 120));
    BuildFillControls(names, at);
    Label3 = palette->ComponentCaption();

    BtnDtStClose =
        AddButton(QStringLiteral("BtnDtStClose"), QStringLiteral("OK"), 152, 242, 70, 42);
    BtnFormClose =
        AddButton(QStringLiteral("BtnFormClose"), QStringLiteral("キャンセル"), 152, 290, 70, 42);
    BtnDtStClose->hide();
    connect(BtnDtStClose, &QPushButton::clicked, this, &TForm10::BtnDtStCloseClick);
    connect(BtnFormClose, &QPushButton::clicked, this, &TForm10::BtnFormCloseClick);
}

void TForm10::PaletteColourChosen(TColor colour) {
    if (style() != KeyFillStyle::Solid) {
        SetCurrentColour(colour);
        return;
    }
    // IroSentaku10 in SOLID: the page is filled at once with the cell's colour.
    SetCurrentColour(colour);
    ApplyFill(KeyMatch::Exact(clWhite));
}

void TForm10::Refill() {
    const KeyFillStyle s = style();
    const bool bands = s == KeyFillStyle::Stripe || s == KeyFillStyle::Gradation;
    // With no component colour left the page is the page as opened again; no snapshot.
    if (bands && SelectedColours(palette->components()).empty()) {
        ShowOpened();
        return;
    }
    ApplyFill(KeyMatch::Exact(clWhite));
}

void TForm10::TargetChanged() {
    if (image_) image_->pictureChanged();
    if (filled()) BtnDtStClose->show();
}

void TForm10::SetPageEnabled(bool enabled) {
    if (image_) image_->setEnabled(enabled);
    if (floating_) floating_->setEnabled(enabled);
}

bool TForm10::Snapshot() {
    if (surface_.history().Take(surface_.bitmap())) return true;
    ReportSnapshotFailed();
    return false;
}

void TForm10::BtnDtStCloseClick() {
    FocusSink();
    Release();
}

void TForm10::BtnFormCloseClick() {
    FocusSink();
    HistoryStatus status;
    {
        BusyCursor busy;
        status = surface_.history().RollbackToOpen(start_, surface_.bitmap());
    }
    if (image_) image_->pictureChanged();
    ReportHistory(status);
    Release();
}

void TForm10::FormClose() {
    SetPageEnabled(true);
}

QWidget* OpenMarginFill(const MarginFillPage& page) {
    return new TForm10(page);
}

}  // namespace pb
