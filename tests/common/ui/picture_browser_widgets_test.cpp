#include "common/ui/picture_browser_widgets.h"

#include <gtest/gtest.h>

#include <QAbstractFileIconProvider>
#include <QFileSystemModel>

#include "platform/file_service.h"
#include "support/test_support.h"

namespace pb {
namespace {

// The folder tree tells a file from a folder without reading either: some files never answer
// a read (/proc/kmsg), and a tree that read them froze the screen at a touch on /proc.
TEST(FolderTree, KnowsFilesByKindWithoutReadingThem) {
    test::TempDir dir;
    // Contents that name a type which the file's name does not.
    ASSERT_TRUE(WriteWholeFile(dir.file("noname"), "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n"));
    FolderTree tree;
    const auto* model = qobject_cast<const QFileSystemModel*>(tree.model());
    ASSERT_NE(model, nullptr);
    const QAbstractFileIconProvider* icons = model->iconProvider();
    ASSERT_NE(icons, nullptr);
    EXPECT_EQ(icons->type(QFileInfo(QString::fromStdString(dir.file("noname")))).toStdString(), "File");
    EXPECT_EQ(icons->type(QFileInfo(QString::fromStdString(dir.path()))).toStdString(), "Folder");
}

}  // namespace
}  // namespace pb
