#include "common/ui/picture_browser_widgets.h"

#include <QDir>
#include <QFileIconProvider>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QPixmap>

#include "platform/bitmap_qt.h"
#include "platform/file_service.h"

namespace pb {

namespace {

QIcon ThumbnailIcon(const Bitmap& bmp) {
    return QIcon(QPixmap::fromImage(ImageFromBitmap(bmp)));
}

// Icons and type names by kind alone. The standard provider reads the first bytes of a file
// whose name says nothing, and some files never answer a read (/proc/kmsg): a touch on such a
// folder would freeze the screen. The tree lists folders only, so nothing is lost.
class KindIconProvider : public QFileIconProvider {
  public:
    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo& info) const override { return icon(info.isDir() ? Folder : File); }
    QString type(const QFileInfo& info) const override {
        return info.isDir() ? QStringLiteral("Folder") : QStringLiteral("File");
    }
};

}  // namespace

FolderTree::FolderTree(QWidget* parent) : QTreeView(parent), model_(new QFileSystemModel(this)) {
    setObjectName(QStringLiteral("ShellTreeView1"));
    static KindIconProvider icons;  // the model does not own it; every tree shares it
    model_->setIconProvider(&icons);
    model_->setFilter(QDir::Dirs | QDir::Drives | QDir::NoDotAndDotDot);
    model_->setRootPath(QDir::rootPath());
    setModel(model_);
    // Folders only: the name column, no header.
    for (int column = 1; column < model_->columnCount(); ++column) hideColumn(column);
    header()->hide();
    setRootIsDecorated(false);
    setFocusPolicy(Qt::NoFocus);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (settingPath_ || !current.isValid()) return;
                wanted_.clear();  // the user has chosen
                emit folderChanged(model_->filePath(current));
            });
    connect(model_, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
        if (!wanted_.isEmpty() && (wanted_ == loaded || wanted_.startsWith(loaded + '/')))
            SelectPath(wanted_);
    });
}

std::string FolderTree::path() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? model_->filePath(current).toStdString() : std::string();
}

void FolderTree::SetPath(const std::string& folder) {
    wanted_ = QString::fromStdString(folder);
    SelectPath(wanted_);
}

void FolderTree::SelectPath(const QString& folder) {
    const QModelIndex index = model_->index(folder);
    if (!index.isValid()) return;
    settingPath_ = true;
    setCurrentIndex(index);
    scrollTo(index, QAbstractItemView::PositionAtCenter);
    settingPath_ = false;
}

ThumbnailListView::ThumbnailListView(QWidget* parent) : QListWidget(parent) {
    setObjectName(QStringLiteral("ListView1"));
    setViewMode(QListView::IconMode);
    setIconSize(QSize(kThumbnailWidth, kThumbnailHeight));
    setGridSize(QSize(kThumbnailWidth + 40, kThumbnailHeight + 30));
    setResizeMode(QListView::Adjust);
    setMovement(QListView::Static);
    setWordWrap(true);
    setFocusPolicy(Qt::NoFocus);
    QFont f = font();
    f.setPixelSize(10);
    setFont(f);
}

void ThumbnailListView::ShowList(const ThumbnailList& list) {
    clear();
    folder_ = list.folder;
    for (const Thumbnail& t : list.items) {
        auto* item = new QListWidgetItem(ThumbnailIcon(t.image), QString::fromStdString(t.name));
        item->setToolTip(QString::fromStdString(t.name));
        addItem(item);
    }
}

void ThumbnailListView::ClearList() {
    clear();
    folder_.clear();
}

std::string ThumbnailListView::Caption(int index) const {
    const QListWidgetItem* it = item(index);
    return it ? it->text().toStdString() : std::string();
}

std::string ThumbnailListView::PicturePath(int index) const {
    return JoinPath(folder_, Caption(index));
}

std::string ThumbnailListView::ChangeFolder(const std::string& oldFolder,
                                            const std::string& newFolder) {
    ThumbnailList shown;
    const std::string keep = ChangePictureFolder(oldFolder, newFolder, shown);
    if (shown.any())
        ShowList(shown);
    else
        ClearList();
    return keep;
}

void MarkThumbnailDeleted(ThumbnailListView& list, int index) {
    if (QListWidgetItem* it = list.item(index)) it->setIcon(ThumbnailIcon(DeletedThumbnail()));
}

std::optional<std::string> TouchedPicture(ThumbnailListView& list, QListWidgetItem* item) {
    const int index = item ? list.row(item) : -1;
    if (index < 0) return std::nullopt;
    std::string path = list.PicturePath(index);
    if (!Files().FileExists(path)) {
        MarkThumbnailDeleted(list, index);
        return std::nullopt;
    }
    return path;
}

}  // namespace pb
