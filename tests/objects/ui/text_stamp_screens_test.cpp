// The text stamp screens over a stand-in region editor (their rules have their own tests).
#include <gtest/gtest.h>

#include <QPointer>

#include "object_screen_fixture.h"
#include "objects/text_stamp.h"
#include "objects/ui/decorated_text_stamp_screen.h"
#include "objects/ui/plain_text_stamp_screen.h"
#include "support/ui/fake_region_host.h"

namespace pb {
namespace {
using namespace test;

constexpr TColor kGround = RGB(0, 128, 0);

// The hub of the tests: the region editor is open.
class RegionHub : public ScreenHub {
  public:
    explicit RegionHub(RegionHost* region) : region(region) { InstallHub(this); }
    ~RegionHub() override { InstallHub(nullptr); }
    RegionHost* Region() override { return region; }
    RegionHost* const region;
};

class TextStampScreenTest : public ::testing::Test {
  protected:
    TextStampScreenTest() : host(Bitmap(300, 200, kGround)) {
        App() = AppState{};
        SetAppDir(App(), appDir.path());
    }
    bool FillBitmapExists() const { return Files().FileExists(TForm15::FillBitmapPath()); }

    ScriptedDialogScope dialogs;
    TempDir appDir;
    FakeRegionHost host;
    RegionHub hub{&host};
};

TEST_F(TextStampScreenTest, DecoratedStampDeformationAndShadowTarget) {
    QPointer<TForm15> form = new TForm15(host, "ABC");
    // The slant after an arch starts from 0.
    Click(form->FBtn[2]);
    Click(form->FBtn[3]);
    EXPECT_EQ(form->CurrentRecord().DeformAmount, -(form->CurrentRecord().FontSize / 4));

    // The shadow's colour target comes and goes with the shadow; a shadow colour chosen
    // while it was the target stays the shadow's only.
    EXPECT_FALSE(form->RBtn[12]->isVisible());
    Click(form->RBtn[5]);
    Click(form->RBtn[12]);
    Click(form->palette->Edit(3));
    EXPECT_EQ(std::pair(form->CurrentRecord().ShadowColor, form->CurrentRecord().OutlineColor),
              std::pair(kRed, clBlack));
    Click(form->RBtn[4]);
    EXPECT_FALSE(form->RBtn[12]->isVisible() || form->CurrentRecord().Shadow);
    EXPECT_TRUE(form->RBtn[10]->isChecked());
    Click(form->BtnFormClose);
    Settle();
}

// "確定" / "OK" stamps what lies inside the region (only the text where the background is the
// key colour); "Cancel" and a close by the window manager leave the region and counter alone.
// A growth beyond the region (the plain "↑", the decorated arch) is refused and changes nothing.
TEST_F(TextStampScreenTest, EachWayOfLeavingPutsTheStampOrNothingInTheRegion) {
    enum Leave { kOk, kCancel, kWindowManager };
    const struct {
        const char* name;
        bool decorated;
        int radio, zoom;  // radio: the plain stamp's background, the decorated one's body
        Point at;
        Leave leave;
        const char* press = nullptr;
        const char* said = nullptr;
    } cases[] = {
        {"plain なし: only the text pixels", false, 6, 100, {10, 10}, kOk},
        {"plain SOLID: the whole box", false, 7, 100, {10, 10}, kOk},
        {"decorated STRIPE over the right edge at 200 %", true, 7, 200, {260, 20}, kOk},
        {"plain, Cancel", false, 7, 100, {290, 0}, kCancel, "FSBtn02", "右余白が足りない/NG"},
        {"plain, window manager", false, 6, 100, {10, 10}, kWindowManager},
        {"decorated STRIPE, Cancel",
         true,
         7,
         100,
         {0, 190},
         kCancel,
         "FBtn2",
         "下余白が足りない/NG"},
        {"decorated, window manager", true, 6, 100, {10, 10}, kWindowManager},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host.RegionBitmap().fill(kGround);
        host.zoom = c.zoom;
        host.RegionChanged();
        const int counter = host.Counter();
        QPointer<TextStampForm> form = c.decorated
                                           ? static_cast<TextStampForm*>(new TForm15(host, "ABC"))
                                           : new TForm14(host, "AB\r\nC");
        Click(form->Find<QRadioButton>(QStringLiteral("RBtn%1").arg(c.radio, 2, 10, QChar('0'))));
        // A striped body keeps its fill bitmap beside the program while the screen is open.
        EXPECT_EQ(FillBitmapExists(), c.decorated && c.radio == 7);
        // The panel lies over the editor's top panel with the hole over its zoom buttons.
        EXPECT_EQ(form->geometry(), QRect(host.window.geometry().topLeft(), QSize(792, 200)));
        EXPECT_TRUE(!form->mask().contains(QPoint(720, 130)) && form->mask().contains({720, 100}));
        EXPECT_TRUE(!host.canvas->isEnabled() && host.placed->isVisible());
        host.placed->move(host.canvas->pos() + QPoint(c.at.x, c.at.y) * c.zoom / 100);
        const Bitmap stamp = host.placed->picture();
        if (c.press) Click(form->Find<QPushButton>(QString::fromUtf8(c.press)));
        EXPECT_TRUE(host.placed->picture() == stamp);
        EXPECT_EQ(Said(dialogs.dialogs()),
                  c.said ? std::vector<std::string>{c.said} : std::vector<std::string>{});
        dialogs->shown.clear();
        Bitmap expected = host.RegionBitmap();
        if (c.leave == kOk) CopyNonKeyPixels(expected, c.at, host.placed->picture());
        if (c.leave == kWindowManager)
            form->close();
        else
            Click(c.leave == kOk ? form->BtnDtStClose : form->BtnFormClose);
        Settle();
        EXPECT_TRUE(form.isNull());
        const Bitmap& region = host.RegionBitmap();
        EXPECT_EQ(region, expected);
        EXPECT_EQ(host.Counter(), counter + (c.leave == kOk ? 1 : 0));
        EXPECT_TRUE(host.canvas->isEnabled() && !host.placed->isVisible());
        EXPECT_TRUE(host.placed->picture().isNull() && !FillBitmapExists());
    }
}

TEST_F(TextStampScreenTest, PlainStampOfSizeTwentyHasTwoPixelStripes) {
    QPointer<TForm14> form = new TForm14(host, "ABCD");
    for (int n = kPlainStampStartSize; n < 20; ++n) Click(form->FSBtn02);
    Click(form->RBtn[8]);
    // Red and yellow from the second palette into the first two component cells; "縦".
    for (const int cell : {47 + 3, 41, 47 + 14, 42}) Click(form->palette->Edit(cell));
    Click(form->RBtn[11]);
    host.placed->move(host.canvas->pos());
    Click(form->BtnDtStClose);
    Settle();
    const Bitmap& region = host.RegionBitmap();
    const TColor top[] = {kRed, kRed, kYellow, kYellow, kRed, kRed, kYellow};
    for (int x = 0; x < 7; ++x) EXPECT_EQ(region.pixel(x, 0), top[x]) << "column " << x;
}

}  // namespace
}  // namespace pb
