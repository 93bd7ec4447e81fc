#include "objects/ui/object_list_screen.h"

#include "common/app_state.h"
#include "common/ui/object_image.h"
#include "common/ui/screen_hub.h"
#include "objects/object_renderer.h"
#include "objects/ui/object_images.h"
#include "objects/strdata.h"
#include "platform/ui/dialogs.h"
#include "platform/file_service.h"
#include "platform/ui/image_control.h"

namespace pb {

namespace {

constexpr int kPanelWidth = 208;
constexpr int kPanelHeight = 548;

void SayNothingSelected() {
    Dialogs().MessageBox("何か選択しろ", "どうでもいいけど");
}

void SayNotWritten() {
    Dialogs().MessageBox("部品のファイルを書けなかった(ディスクがいっぱいか、書き込めない)", "NG");
}

void DrawFrame(int slot) {
    if (TCImg* img = ObjectImages()[slot]) img->DrawSelectionFrame();
}

}  // namespace

TForm16::TForm16(QWidget* parent) : Form(parent, Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("Form16"));
    setWindowTitle(QStringLiteral("WordArt風MetaFile"));
    setStyleSheet(QStringLiteral("#Form16 { background: #c0c0c0; }"));
    setAttribute(Qt::WA_StyledBackground);
    struct ButtonSpec {
        int n;
        const char* caption;
        int y;
        int h;
    };
    const ButtonSpec buttons[] = {
        {5, "追加(ただの文字)", 8, 44}, {6, "追加(装飾文字)", 56, 44},
        {7, "追加(□○・・・)", 104, 44}, {0, "Copy(ｸﾛｰﾝ作成)", 168, 44},
        {1, "削除", 216, 44},           {2, "最前面", 264, 44},
        {3, "文字列変更", 328, 44},     {4, "デザイン変更", 376, 44},
        {8, "元の画面に戻る", 470, 56},
    };
    for (const ButtonSpec& b : buttons) {
        Btn[static_cast<std::size_t>(b.n)] =
            AddButton(QStringLiteral("Btn%1").arg(b.n, 2, 10, QLatin1Char('0')),
                      QString::fromUtf8(b.caption), 4, b.y, 200, b.h);
    }
    Edit0 = AddFocusSink(188, 532, 15, 12);

    for (int n : {5, 6, 7})
        connect(Btn[static_cast<std::size_t>(n)], &QPushButton::clicked, this,
                [this, n] { Btn05Or06Or07Click(n); });
    connect(Btn[0], &QPushButton::clicked, this, &TForm16::Btn00Click);
    connect(Btn[1], &QPushButton::clicked, this, &TForm16::Btn01Click);
    connect(Btn[2], &QPushButton::clicked, this, &TForm16::Btn02Click);
    connect(Btn[3], &QPushButton::clicked, this, &TForm16::Btn03Click);
    connect(Btn[8], &QPushButton::clicked, this, &TForm16::Btn08Click);
    connect(Btn[4], &QPushButton::clicked, this, &TForm16::Btn04Click);

    FormCreate();
    show();
}

const std::string& TForm16::folder() const {
    return App().ObjectFolder;
}

void TForm16::FormCreate() {
    const AppState& app = App();
    const int left = Hub().PageAreaWidth();
    const int width = app.WorkAreaWidth > left ? app.WorkAreaWidth - left : kPanelWidth;
    const int height = app.WorkAreaHeight > 0 ? app.WorkAreaHeight : kPanelHeight;
    QPoint origin(0, 0);
    if (const QWidget* main = Hub().MainWindow()) origin = main->geometry().topLeft();
    setGeometry(origin.x() + left, origin.y(), width, height);
    if (ImageControl* page = Hub().PageImage()) page->setEnabled(false);
    if (ImageControl* floating = Hub().FloatingImage()) floating->setEnabled(false);
    App().ObjectListOpen = true;
    ShowObjectButtons();
}

void TForm16::FormClose() {
    App().ObjectListOpen = false;
    Hub().ShowObjectNotes(AnyObject());
}

void TForm16::ShowObjectButtons() {
    const bool any = AnyObject();
    for (int n = 0; n <= 4; ++n) Btn[static_cast<std::size_t>(n)]->setVisible(any);
}

void TForm16::RemoveFrame() {
    const int selected = App().SelectedObject;
    if (ObjectImages().exists(selected)) RenderObject(folder(), selected, false, false);
}

int TForm16::SelectedSlot() {
    const int selected = App().SelectedObject;
    if (!ObjectSlots::valid(selected)) {
        SayNothingSelected();
        return -1;
    }
    return ObjectImages().exists(selected) ? selected : -1;
}

void TForm16::Btn05Or06Or07Click(int kind) {
    FocusSink();
    AppState& app = App();
    if (!Files().FolderExists(folder())) Files().CreateFolder(folder());
    const int slot = FindFreeSlot();
    if (slot >= kObjectSlots) return;
    RemoveFrame();
    const ImageControl* page = Hub().PageImage();
    const int pageHeight = page ? page->picture().height() : 0;
    ObjectRecord rec;
    if (kind == 5)
        rec = NewPlainObject(slot, pageHeight, app.isA4());
    else if (kind == 6)
        rec = NewDecoratedText(slot, pageHeight, app.isA4());
    else
        rec = NewShapeObject(slot, pageHeight, app.isA4());
    if (!ReportObjectWrite(WriteObject(folder(), slot, rec), rec)) return;
    app.SelectedObject = slot;
    if (Hub().LoadObjectImage(folder(), slot)) DrawFrame(slot);
    ShowObjectButtons();
}

void TForm16::Btn00Click() {
    FocusSink();
    const int s = SelectedSlot();
    if (s < 0) return;
    const int t = FindFreeSlot();
    if (t >= kObjectSlots) return;
    if (!Files().CopyFile(ObjectFilePath(folder(), s), ObjectFilePath(folder(), t), true)) {
        SayNotWritten();
        return;
    }
    RemoveFrame();
    if (!Hub().LoadObjectImage(folder(), t)) return;
    if (const ImageControl* page = Hub().PageImage()) {
        ObjectImages()[t]->image()->move(page->x(), page->y());
        SaveObjectImagePosition(folder(), t, *page, Hub().Zoom());
    }
    DrawFrame(t);
    App().SelectedObject = t;
}

void TForm16::Btn01Click() {
    FocusSink();
    const int s = SelectedSlot();
    if (s < 0) return;
    DeleteFileIfExists(ObjectFilePath(folder(), s));
    DeleteFileIfExists(CompanionBitmapPath(folder(), s));
    FreeObject(s);
    ShowObjectButtons();
    App().SelectedObject = kNoObject;
}

void TForm16::Btn02Click() {
    FocusSink();
    const int s = SelectedSlot();
    if (s < 0) return;
    BusyCursor busy;
    const int t = FindFreeSlot();
    if (t >= kObjectSlots) return;
    if (const ImageControl* page = Hub().PageImage())
        SaveObjectImagePosition(folder(), s, *page, Hub().Zoom());
    DeleteFileIfExists(CompanionBitmapPath(folder(), s));
    FreeObject(s);
    int front = t;
    if (!Files().MoveFile(ObjectFilePath(folder(), s), ObjectFilePath(folder(), t))) {
        // The record stays where it was; show it there again rather than lose it.
        SayNotWritten();
        front = s;
    }
    App().SelectedObject = front;
    if (Hub().LoadObjectImage(folder(), front)) DrawFrame(front);
}

void TForm16::Btn03Click() {
    FocusSink();
    const int s = SelectedSlot();
    if (s < 0) return;
    const std::optional<ObjectRecord> rec = ReadObject(folder(), s);
    if (!rec) return;
    if (rec->decorated() && ShapeKind(rec->Text) != 0) {
        Dialogs().MessageBox("これは文字じゃない", "NG");
        return;
    }
    if (const ImageControl* page = Hub().PageImage())
        SaveObjectImagePosition(folder(), s, *page, Hub().Zoom());
    KeyboardRequest request;
    request.callerMode = 0;
    request.text = rec->Text;
    request.decoratedHint = rec->decorated();
    Hub().OpenKeyboard(request);
    Release();
}

void TForm16::Btn04Click() {
    FocusSink();
    const int s = SelectedSlot();
    if (s < 0) return;
    if (const ImageControl* page = Hub().PageImage())
        SaveObjectImagePosition(folder(), s, *page, Hub().Zoom());
    // A record that cannot be read has nothing to design.
    const std::optional<ObjectRecord> rec = ReadObject(folder(), s);
    if (!rec) return;
    Hub().OpenObjectDesign(rec->decorated());
    Release();
}

void TForm16::Btn08Click() {
    FocusSink();
    RemoveFrame();
    if (ImageControl* page = Hub().PageImage()) {
        SaveAllPositions(*page, Hub().Zoom());
        page->setEnabled(true);
    }
    if (ImageControl* floating = Hub().FloatingImage()) floating->setEnabled(true);
    App().SelectedObject = kNoObject;
    Release();
}

}  // namespace pb
