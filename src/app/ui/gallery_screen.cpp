#include "app/ui/gallery_screen.h"

#include <QCloseEvent>
#include <QIcon>
#include <QPixmap>

#include "app/ui/main_screen.h"
#include "app/page_geometry.h"
#include "app/works.h"
#include "common/app_state.h"
#include "common/colour_scan.h"
#include "common/history.h"
#include "common/ui/object_image.h"
#include "objects/strdata.h"
#include "platform/bitmap_canvas.h"
#include "platform/bitmap_qt.h"
#include "platform/ui/dialogs.h"
#include "platform/file_service.h"
#include "platform/picture_io.h"

namespace pb {

namespace {

constexpr int kThumbnailSide = 140;

QIcon ThumbnailIcon(const std::string& path) {
    Bitmap icon(kThumbnailSide, kThumbnailSide, clSilver);
    if (auto thumb = LoadBmp(path)) {
        BitmapCanvas(icon).StretchBlt({0, 0, kThumbnailSide, kThumbnailSide}, *thumb,
                                      {0, 0, thumb->width(), thumb->height()},
                                      StretchMode::Halftone);
    }
    // The touched thumbnail keeps its colours (the caption shows the selection).
    const QPixmap pixmap = QPixmap::fromImage(ImageFromBitmap(icon));
    QIcon result(pixmap);
    result.addPixmap(pixmap, QIcon::Selected);
    return result;
}

std::string WithoutTrailingSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

}  // namespace

void PreviewWork(TForm1& form, const Bitmap& page, const std::string& folder) {
    AppState& app = App();
    app.PageMode = OpenedPageMode(page.size(), app);
    form.MarkPageButton();
    form.Image1->setPicture(page);
    form.ShowPageAtZoom(DefaultZoom(page.size()));

    BusyCursor busy;
    ObjectImages().FreeAll();
    const std::string dir = WithoutTrailingSlash(folder);
    if (Files().FolderExists(dir)) {
        for (int n = 0; n < kObjectSlots; ++n) form.LoadObjectImage(dir + "/", n);
    }
    // The renderer leaves companion bitmaps in the folder it reads: a saved work keeps none.
    // The working folder keeps its own, which printing needs.
    if (dir != WithoutTrailingSlash(app.ObjectFolder)) {
        for (int n = 0; n < kObjectSlots; ++n)
            DeleteFileIfExists(CompanionBitmapPath(dir + "/", n));
    }
}

TForm11::TForm11(TForm1& main) : Form(&main, Qt::WindowStaysOnTopHint), main_(main) {
    setObjectName(QStringLiteral("Form11"));
    setWindowTitle(QStringLiteral("履歴"));
    FormCreate();
}

void TForm11::FormCreate() {
    const AppState& app = App();
    pageModeBefore_ = app.PageMode;
    unsavedBefore_ = (main_.PageSurface->history().counter() != 1 && !IsSingleColour(main_.Image1->picture())) ||
                     ObjectsChanged(app.ObjectFolder, app.WorksFolder, app.WorkName);

    main_.Image1->setEnabled(false);
    main_.Image2->setEnabled(false);
    const int left = main_.ScrollBox1->width();
    const int width = std::max(208, app.WorkAreaWidth - left);
    const int height = std::max(553, app.WorkAreaHeight);
    const QPoint origin = main_.geometry().topLeft();
    setGeometry(origin.x() + left, origin.y(), width, height);
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral("#Form11 { background: #c0c0c0; }"));

    // At least 198 x 385; on a larger work area the list takes the room to show more works.
    const int listHeight = std::max(385, height - 170);
    ListView1 = new QListWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setGeometry(2, 2, std::max(198, width - 4), listHeight);
    ListView1->setViewMode(QListView::IconMode);
    ListView1->setIconSize(QSize(kThumbnailSide, kThumbnailSide));
    ListView1->setGridSize(QSize(kThumbnailSide + 20, kThumbnailSide + 24));
    ListView1->setMovement(QListView::Static);
    ListView1->setResizeMode(QListView::Adjust);
    ListView1->setFrameShape(QFrame::NoFrame);
    ListView1->setWordWrap(true);
    ListView1->setStyleSheet(QStringLiteral("QListWidget { background: #c0c0c0; }"));
    FileListBox1 = new QListWidget(this);
    FileListBox1->setObjectName(QStringLiteral("FileListBox1"));
    FileListBox1->hide();

    const int y = 2 + listHeight + 8;
    CheckBox1 = new QCheckBox(QStringLiteral("削除Mode On/Off"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(8, y, 190, 28);
    CheckBox1->setFocusPolicy(Qt::NoFocus);
    BtnDtStClose =
        AddButton(QStringLiteral("BtnDtStClose"), QStringLiteral("OK"), 2, y + 36, 97, 48);
    BtnDtStClose->hide();
    BtnFormClose = AddButton(QStringLiteral("BtnFormClose"), QStringLiteral("キャンセル"), 103,
                             y + 36, 97, 48);
    Edit0 = AddFocusSink(8, y + 92);

    connect(ListView1, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { ListView1Click(ListView1->row(item)); });
    connect(BtnDtStClose, &QPushButton::clicked, this, &TForm11::BtnDtStCloseClick);
    connect(BtnFormClose, &QPushButton::clicked, this, &TForm11::BtnFormCloseClick);
    connect(CheckBox1, &QCheckBox::clicked, this, &TForm11::CheckBox1Click);

    FillGallery();
    selected_.clear();
    main_.installEventFilter(this);
}

bool TForm11::eventFilter(QObject* watched, QEvent* event) {
    // The main screen closing while a saved work is shown: it must ask about, save and clean
    // up the work of before, not the one shown.
    if (watched == &main_ && event->type() == QEvent::Close && !selected_.empty())
        RestoreCurrentWork();
    return Form::eventFilter(watched, event);
}

void TForm11::FillGallery() {
    ListView1->clear();
    FileListBox1->clear();
    const std::string works = App().WorksFolder;
    const std::vector<std::string> files = ListWorkThumbnails(works);
    if (files.empty()) return;
    BusyCursor busy;
    for (const std::string& file : files) {
        const QString caption = QString::fromStdString(file);
        FileListBox1->addItem(caption);
        ListView1->addItem(
            new QListWidgetItem(ThumbnailIcon(JoinPath(works, "SImg/" + file)), caption));
    }
}

void TForm11::ListView1Click(int index) {
    FocusSink();
    if (index < 0 || index >= ListView1->count()) return;
    const std::string caption = ListView1->item(index)->text().toStdString();
    const std::string works = App().WorksFolder;
    const std::string pagePath = JoinPath(works, "MImg/" + caption);
    if (!Files().FileExists(pagePath)) return;
    if (CheckBox1->isChecked()) {
        DeleteWork(works, caption);
        delete ListView1->takeItem(index);
        delete FileListBox1->takeItem(index);
        return;
    }
    auto page = LoadBmp(pagePath);
    if (!page) {
        Dialogs().MessageBox("この作品は壊れていて開けない", "NG");
        return;
    }
    selected_ = WorkNameOf(caption);
    PreviewWork(main_, *page, JoinPath(works, "SData/" + selected_));
    // The shown objects belong to the saved work: they must not be dragged into the working
    // object files meanwhile.
    for (int n = 0; n < kObjectSlots; ++n)
        if (TCImg* img = ObjectImages()[n]) img->SetEnabled(false);
    BtnDtStClose->show();
}

void TForm11::RestoreCurrentWork() {
    PreviewWork(main_, main_.Image0->picture(), App().ObjectFolder);
    // The page mode of before, not one judged again from the size.
    App().PageMode = pageModeBefore_;
    main_.MarkPageButton();
    selected_.clear();
}

bool TForm11::OpenSelectedWork() {
    AppState& app = App();
    const std::string name = selected_;
    if (unsavedBefore_) {
        // Opening replaces the work of before: its changes are offered for saving first.
        RestoreCurrentWork();
        BtnDtStClose->hide();
        const int r = Dialogs().MessageBox("編集中のデータは保存する?", "どうでもいいけど",
                                           MessageButtons::YesNoCancel);
        if (r == IDCANCEL) return false;
        if (r == IDYES) {
            const std::string previous = app.WorkName;
            app.WorkName = NewWorkName();
            if (!main_.SaveWork(false)) {
                app.WorkName = previous;
                return false;
            }
        }
        unsavedBefore_ = false;
        auto page = LoadBmp(JoinPath(app.WorksFolder, "MImg/" + name + ".bmp"));
        if (!page) {
            Dialogs().MessageBox("この作品は壊れていて開けない", "NG");
            return false;
        }
        selected_ = name;
        PreviewWork(main_, *page, JoinPath(app.WorksFolder, "SData/" + name));
    }

    // The saved objects are copied beside the working folder first, so that a failed copy
    // leaves the working folder as it was.
    const std::string working = WithoutTrailingSlash(app.ObjectFolder);
    const std::string incoming = working + ".new";
    ResetFolder(incoming, false);
    const std::string saved = JoinPath(app.WorksFolder, "SData/" + name);
    const bool copied = Files().FolderExists(saved) ? Files().CopyFolder(saved, incoming, true)
                                                    : Files().CreateFolder(incoming);
    if (!copied) {
        ResetFolder(incoming, false);
        Dialogs().MessageBox("作品を開けなかった(ディスクがいっぱいか、書き込めない)", "NG");
        return false;
    }
    ResetFolder(working, false);
    if (!Files().MoveFile(incoming, working)) {
        Files().CreateFolder(working);
        Dialogs().MessageBox("作品を開けなかった(ディスクがいっぱいか、書き込めない)", "NG");
        return false;
    }
    app.WorkName = name;
    main_.EnableOverwrite(true);

    main_.PageSurface->history().Reset();
    DeleteFileIfExists(app.AppDir + "CCTmp.bmp");
    BusyCursor busy;
    for (int n = 0; n < kObjectSlots; ++n) main_.LoadObjectImage(app.ObjectFolder, n);
    return true;
}

void TForm11::BtnDtStCloseClick() {
    FocusSink();
    if (selected_.empty()) return;
    if (!OpenSelectedWork()) return;
    main_.ShowObjectNotes(ObjectImages().Any());
    selected_.clear();
    Release();
}

void TForm11::BtnFormCloseClick() {
    if (!selected_.empty()) RestoreCurrentWork();
    Release();
}

void TForm11::CheckBox1Click() {
    FocusSink();
    if (CheckBox1->isChecked()) {
        if (!selected_.empty()) RestoreCurrentWork();
        ListView1->setStyleSheet(QStringLiteral("QListWidget { background: #ff0000; }"));
        BtnDtStClose->hide();
        BtnFormClose->setText(QStringLiteral("閉じる"));
    } else {
        ListView1->setStyleSheet(QStringLiteral("QListWidget { background: #c0c0c0; }"));
        BtnFormClose->setText(QStringLiteral("キャンセル"));
    }
}

void TForm11::FormClose() {
    // A shown work always gives way to the one of before unless "OK" opened it.
    if (!selected_.empty()) RestoreCurrentWork();
    main_.Image1->setEnabled(true);
    main_.Image2->setEnabled(true);
    for (int n = 0; n < kObjectSlots; ++n)
        if (TCImg* img = ObjectImages()[n]) img->SetEnabled(true);
}

}  // namespace pb
