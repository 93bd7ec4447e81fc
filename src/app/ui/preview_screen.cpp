#include "app/ui/preview_screen.h"

#include "app/page_export.h"
#include "common/app_state.h"
#include "common/zoom_steps.h"
#include "platform/ui/dialogs.h"
#include "platform/file_service.h"

namespace pb {

TForm18::TForm18(std::shared_ptr<const Recording> drawing, Size shown, QWidget* parent)
    : Form(parent), drawing_(std::move(drawing)), shown_(shown) {
    setObjectName(QStringLiteral("Form18"));
    setWindowTitle(QStringLiteral("Preview"));
    FormCreate();
}

void TForm18::FormCreate() {
    const AppState& app = App();
    const int width = std::max(792, app.WorkAreaWidth);
    const int height = std::max(553, app.WorkAreaHeight);
    // Top-level screens are placed in global coordinates; the main screen fills the work area.
    const QPoint origin = parentWidget() ? parentWidget()->geometry().topLeft() : QPoint(0, 0);
    setGeometry(origin.x(), origin.y(), width, height);
    setAutoFillBackground(true);
    setStyleSheet(
        QStringLiteral("#Form18 { background: black; } #Form18 > QLabel { color: white; }"));

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setGeometry(0, 0, 700, height);
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setStyleSheet(QStringLiteral("QScrollArea { background: black; }"));
    ScrollBox1->setWidgetResizable(false);
    Image1 = new RecordingView;
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPicture(drawing_);
    ScrollBox1->setWidget(Image1);

    const int x = 704;
    const int panel = std::max(88, width - x - 4);
    const int half = (panel - 4) / 2;
    Label0 = AddLabel(QStringLiteral("Label0"), QStringLiteral("100"), x, 8, 60, 32);
    Label0->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label0->setStyleSheet(QStringLiteral("color: white; font-size: 20px;"));
    Label1 = AddLabel(QStringLiteral("Label1"), QStringLiteral("%"), x + 64, 8, 24, 32);
    Label1->setStyleSheet(QStringLiteral("color: white; font-size: 20px;"));
    BtnUpDn1 = AddButton(QStringLiteral("BtnUpDn1"), QStringLiteral("↑"), x, 46, half, 40);
    BtnUpDn0 =
        AddButton(QStringLiteral("BtnUpDn0"), QStringLiteral("↓"), x + half + 4, 46, half, 40);
    BtnSaveAsBMP = AddButton(
        QStringLiteral("BtnSaveAsBMP"),
        QStringLiteral("1枚の巨大画像(他でも使いまわせる普通の画像)として保存"), x, 110, panel, 56);
    BtnSaveAsEMF = AddButton(QStringLiteral("BtnSaveAsEMF"),
                             QStringLiteral("1枚の巨大MetaFileとして保存"), x, 172, panel, 56);
    Button0 =
        AddButton(QStringLiteral("Button0"), QStringLiteral("閉じる"), x, height - 64, panel, 48);
    Edit0 = AddFocusSink(x, height - 12);

    connect(BtnUpDn0, &QPushButton::clicked, this, [this] { BtnUpDnClick(false); });
    connect(BtnUpDn1, &QPushButton::clicked, this, [this] { BtnUpDnClick(true); });
    connect(BtnSaveAsBMP, &QPushButton::clicked, this, &TForm18::BtnSaveAsBMPClick);
    connect(BtnSaveAsEMF, &QPushButton::clicked, this, &TForm18::BtnSaveAsEMFClick);
    connect(Button0, &QPushButton::clicked, this, &TForm18::Button0Click);

    // The picture starts at the size printing hands over (reduced or not) at 100 %.
    Image1->resize(std::max(1, shown_.width), std::max(1, shown_.height));
}

void TForm18::ShowAtZoom(int zoom) {
    zoom_ = zoom;
    Label0->setText(QString::number(zoom));
    // The zoom applies to the size shown at 100 %, so that a reduced page stays reduced.
    Image1->resize(std::max(1, shown_.width * zoom / 100), std::max(1, shown_.height * zoom / 100));
}

void TForm18::BtnUpDnClick(bool up) {
    ShowAtZoom(ZoomStep(zoom_, up, ZoomSteps::Tens));
    FocusSink();
}

void TForm18::BtnSaveAsBMPClick() {
    FocusSink();
    const AppState& app = App();
    if (app.CurrentPictureFolder.empty() || !Files().FolderExists(app.CurrentPictureFolder)) {
        Dialogs().MessageBox("画像のフォルダがない", "NG");
        return;
    }
    bool saved = false;
    {
        BusyCursor busy;
        const std::string path = JoinPath(app.CurrentPictureFolder, "A" + TimeStamp() + ".bmp");
        // Always the page's full size, whatever the preview shows.
        saved = ExportBitmap(*drawing_, drawing_->size(), path);
    }
    if (saved)
        Dialogs().MessageBox("保存完了", "どうでもいいけど");
    else
        Dialogs().MessageBox("保存できなかった(ディスクがいっぱいか、書き込めない)", "NG");
}

void TForm18::BtnSaveAsEMFClick() {
    FocusSink();
    bool saved = false;
    {
        BusyCursor busy;
        saved =
            ExportMetafiles(*drawing_, drawing_->size(), App().AppDir + "METAFILES", TimeStamp());
    }
    if (saved)
        Dialogs().MessageBox("保存完了", "どうでもいいけど");
    else
        Dialogs().MessageBox("保存できなかった(ディスクがいっぱいか、書き込めない)", "NG");
}

void TForm18::Button0Click() {
    Release();
}

}  // namespace pb
