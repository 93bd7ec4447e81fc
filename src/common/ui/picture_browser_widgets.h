#pragma once
// The two widgets of picture browsing, thin over picture_browsing.h:
//  - FolderTree (ShellTreeView1): the folders of the file system as a tree, yielding the full
//    path of the folder the user touches;
//  - ThumbnailListView (ListView1): one 40 x 40 thumbnail per picture with its file name as
//    caption, in the order of the list it shows.

#include <QListWidget>
#include <QTreeView>
#include <optional>
#include <string>

#include "common/picture_browsing.h"

class QFileSystemModel;

namespace pb {

class FolderTree : public QTreeView {
    Q_OBJECT
  public:
    explicit FolderTree(QWidget* parent = nullptr);

    // The selected folder's path; empty when none is selected.
    std::string path() const;
    // Selects and shows `folder` without emitting folderChanged.
    void SetPath(const std::string& folder);

  signals:
    // The user selected another folder.
    void folderChanged(const QString& path);

  private:
    void SelectPath(const QString& folder);

    QFileSystemModel* model_;
    bool settingPath_ = false;
    // The folder SetPath asked for: the tree is filled in the background, so it is shown again
    // as the folders above it arrive.
    QString wanted_;
};

class ThumbnailListView : public QListWidget {
    Q_OBJECT
  public:
    explicit ThumbnailListView(QWidget* parent = nullptr);

    // Replaces the items by the thumbnails of `list`.
    void ShowList(const ThumbnailList& list);
    // No items (and no folder).
    void ClearList();
    // The folder whose pictures are shown.
    const std::string& folder() const { return folder_; }
    // Caption (the picture's file name) of item `index`; empty when there is none.
    std::string Caption(int index) const;
    // The full path of item `index`'s picture.
    std::string PicturePath(int index) const;

    // Shows `newFolder`'s pictures as ChangePictureFolder lists them and returns the folder to
    // keep as the current picture folder.
    std::string ChangeFolder(const std::string& oldFolder, const std::string& newFolder);

  private:
    std::string folder_;
};

// Gives item `index` the "消さ"/"れた" marker of a picture that has gone.
void MarkThumbnailDeleted(ThumbnailListView& list, int index);

// The picture of a touched thumbnail: its path, or nothing when no thumbnail was touched or
// its file has gone since the list was made (the thumbnail is then marked as deleted).
std::optional<std::string> TouchedPicture(ThumbnailListView& list, QListWidgetItem* item);

}  // namespace pb
