// The works gallery with overlay objects: it shows a work on the page area, and its cancel
// brings back the page and objects of before.
#include "app/ui/gallery_screen.h"

#include "app/works.h"
#include "common/app_state.h"
#include "common/ui/object_image.h"
#include "objects/strdata.h"
#include "platform/file_service.h"
#include "platform/picture_io.h"
#include "support/ui/app_fixtures.h"

namespace pb {
namespace {

using Names = std::vector<std::string>;
using Slots = std::vector<int>;
constexpr TColor kFill = RGB(250, 120, 0);
constexpr const char* kAsked = "編集中のデータは保存する?";

// A decorated text (or a shape) for slot n.
ObjectRecord SaleObject(int n, int left, int top, bool shape = false) {
    ObjectRecord r = shape ? NewShapeObject(n, 559, false) : NewDecoratedText(n, 559, false);
    if (!shape) r.Text = "特売";
    r.Left = left;
    r.Top = top;
    r.FillColor = kFill;
    r.FillStyle = 10;
    return r;
}

class GalleryTest : public test::MainScreenFixture {
  protected:
    void SetUp() override {
        MainScreenFixture::SetUp();
        Start();
        works = App().WorksFolder;
    }
    // A saved work with a decorated text in each of its first `objects` slots.
    void MakeWork(const std::string& name, Size size, TColor colour, int objects = 0) {
        test::SaveWorkWithObjects(dir.path(), name, Bitmap(size.width, size.height, colour),
                                  std::vector<ObjectRecord>(objects, SaleObject(0, 30, 30)));
    }
    // Objects in the working folder, shown as the main screen shows them.
    void AddObjects(std::initializer_list<int> objectSlots) {
        Files().CreateFolder(App().ObjectFolder);
        int i = 0;
        for (int n : objectSlots) {
            ASSERT_EQ(WriteObject(App().ObjectFolder, n, SaleObject(n, 20 + 60 * i, 40 + 90 * i, i % 2)),
                      WriteStatus::Written);
            ASSERT_TRUE(form->LoadObjectImage(App().ObjectFolder, n)) << n;
            ++i;
        }
    }
    static Slots Shown() {
        Slots out;
        for (int n = 0; n < kObjectSlots; ++n)
            if (ObjectImages().exists(n)) out.push_back(n);
        return out;
    }
    // Opens the gallery and, unless `touched` is -1, touches that work in its list.
    TForm11* Open(int touched = -1) {
        Click(form->Btn[15]);
        TForm11* g = Child<TForm11>();
        EXPECT_NE(g, nullptr);
        if (g && touched >= 0) Touch(g, touched);
        return g;
    }
    static void Touch(TForm11* g, int index) {
        QListWidgetItem* item = g->ListView1->item(index);
        ASSERT_NE(item, nullptr);
        QTest::mouseClick(g->ListView1->viewport(), Qt::LeftButton, {},
                          g->ListView1->visualItemRect(item).center());
        QCoreApplication::processEvents();
    }

    std::string works;
};

TEST_F(GalleryTest, ShowingAWorkAndCancelGiveBackExactlyThePageAndObjectsOfBefore) {
    AddObjects({1, 4});
    PaintRed();
    std::vector<Bitmap> objectsBefore;
    for (int n : Shown()) objectsBefore.push_back(ObjectImages()[n]->bitmap());
    const Names folderBefore = Files().ListFiles(App().ObjectFolder);
    const Bitmap before = Page();
    MakeWork("X260101000001", {1123, 794}, clNavy, 1);

    TForm11* g = Open(0);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->selectedName(), "X260101000001");
    EXPECT_EQ(Page(), Bitmap(1123, 794, clNavy));
    EXPECT_EQ(App().PageMode, kA4Landscape);
    EXPECT_EQ(Shown(), Slots{0});
    EXPECT_FALSE(ObjectImages()[0]->image()->isEnabled());  // not to be dragged meanwhile
    // Showing changes neither the work's name, nor its history, nor the saved work.
    EXPECT_TRUE(App().WorkName.empty());
    EXPECT_EQ(form->PageSurface->history().counter(), 2);
    EXPECT_EQ(Files().ListFiles(works + "SData/X260101000001"), Names{"StrData0.txt"});

    Click(g->BtnFormClose);
    EXPECT_EQ(Child<TForm11>(), nullptr);
    EXPECT_EQ(Page(), before);
    EXPECT_EQ(App().PageMode, kPostcardPortrait);
    EXPECT_TRUE(form->Image1->isEnabled());
    ASSERT_EQ(Shown(), (Slots{1, 4}));
    for (std::size_t i = 0; i < objectsBefore.size(); ++i)
        EXPECT_EQ(ObjectImages()[Shown()[i]]->bitmap(), objectsBefore[i]);
    // The working folder keeps its files, companion bitmaps included (printing needs them).
    EXPECT_EQ(Files().ListFiles(App().ObjectFolder), folderBefore);

    // Closing the main screen while a work is shown asks about the page of before and saves
    // that page, not the shown work, which stays as it was.
    ASSERT_NE(Open(0), nullptr);
    dialogs->answers = {IDYES};
    form->close();
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].text, kAsked);
    const Names pages = Files().ListFiles(works + "MImg");
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(*LoadBmp(works + "MImg/" + pages[1]), before);
    EXPECT_EQ(Files().ListFiles(works + "SData/" + WorkNameOf(pages[1])),
              (Names{"StrData0.txt", "StrData1.txt"}));
    EXPECT_EQ(Files().ListFiles(works + "SData/X260101000001"), Names{"StrData0.txt"});
}

}  // namespace
}  // namespace pb
