// A disk that fills up while the user works: a change without its snapshot is refused with a
// message, and "保存" and "上書保存" say they failed; the page, region, history and works stay.
#include "common/app_state.h"
#include "page_flow.h"

namespace pb {
namespace {

// The plain file service until the disk is full; then no file can be written.
struct FillingFiles : FileService {
    bool full = false;
    bool WriteBytes(const std::string& p, std::string_view b) override {
        return !full && FileService::WriteBytes(p, b);
    }
};

std::map<std::string, std::string> Tree(const std::string& folder) {
    std::map<std::string, std::string> out;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder))
        out[e.path().string()] = e.is_directory() ? "/" : test::ReadFileBytes(e.path().string());
    return out;
}

using FullDisk = test::PageFlow;

TEST_F(FullDisk, NothingChangesWithoutItsSnapshotAndTheSavedWorkStays) {
    auto filling = std::make_unique<FillingFiles>();
    FillingFiles& disk = *filling;
    struct Restore {
        std::unique_ptr<FileService> previous;
        ~Restore() { InstallFileService(std::move(previous)); }
    } restore{InstallFileService(std::move(filling))};
    Start();
    PaintRed();
    Click(form->Btn[13]);  // 保存
    TForm2* editor = MarkRegion({20, 30}, {100, 90});
    ASSERT_TRUE(editor && !App().WorkName.empty());

    // What the user could lose: the files, the page, the region and the histories' counters.
    auto everything = [&] {
        return std::tuple(Tree(dir.path()), Page(), form->PageSurface->history().counter(),
                          editor->RegionBitmap(), editor->RegionSurface().history().counter(),
                          form->Region() == editor, App().WorkName);
    };
    auto stroke = [](ImageControl* image) {
        QTest::mousePress(image, Qt::LeftButton, {}, {5, 5});
        QTest::mouseMove(image, {40, 40});
        QTest::mouseRelease(image, Qt::LeftButton, {}, {40, 40});
    };
    disk.full = true;
    const std::string snapshot =
        "履歴を書けなかったので何も変えていない(ディスクがいっぱいか、書き込めない)";
    const std::string unsaved = "保存できなかった(ディスクがいっぱいか、書き込めない)";
    const std::tuple<const char*, std::function<void()>, const std::string&> actions[] = {
        {"a stroke in the region", [&] { stroke(editor->Image1); }, snapshot},
        {"確定 (the page's snapshot)", [&] { Click(editor->Btn[8]); }, snapshot},
        {"a stroke on the page", [&] { stroke(form->Image1); }, snapshot},
        {"a flip of the page", [&] { Click(form->Btn[12]); }, snapshot},
        {"上書保存", [&] { Click(form->Btn[14]); }, unsaved},
        {"保存", [&] { Click(form->Btn[13]); }, unsaved},
    };
    for (const auto& [what, act, message] : actions) {
        SCOPED_TRACE(what);
        const auto before = everything();
        dialogs->shown.clear();
        act();
        ASSERT_EQ(dialogs->shown.size(), 1u);
        EXPECT_EQ(dialogs->shown[0].text, message);
        EXPECT_TRUE(everything() == before);
    }
}

}  // namespace
}  // namespace pb
