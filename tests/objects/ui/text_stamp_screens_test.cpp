// The text stamp screens over a stand-in region editor; the stamp rules are guarded by the core
// tests, here the buttons reaching them and what each way of leaving puts in the region.
#include <gtest/gtest.h>

#include <QPointer>
#include <functional>

#include "common/ui/screen_hub.h"
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
    explicit RegionHub(RegionHost* region) : region_(region) { InstallHub(this); }
    ~RegionHub() override { InstallHub(nullptr); }
    RegionHost* Region() override { return region_; }

  private:
    RegionHost* region_;
};

class TextStampScreenTest : public ::testing::Test {
  protected:
    TextStampScreenTest() : host(Bitmap(300, 200, kGround)) {
        App() = AppState{};
        SetAppDir(App(), appDir.path());
    }
    // Moves the floating image to (x, y) region pixels (the fake shows the region at 100 %).
    void PlaceAt(int x, int y) { host.placed->move(host.canvas->pos() + QPoint(x, y)); }
    bool FillBitmapExists() const { return Files().FileExists(TForm15::FillBitmapPath()); }
    // The region editor as a stamp screen leaves it.
    void ExpectEditorGivenBack(const char* name) {
        EXPECT_TRUE(host.canvas->isEnabled()) << name;
        EXPECT_FALSE(host.placed->isVisible()) << name;
        EXPECT_EQ(host.placed->geometry(), QRect(0, 0, 20, 20)) << name;
        EXPECT_TRUE(host.placed->picture().isNull()) << name;
        EXPECT_FALSE(FillBitmapExists()) << name;
    }

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
    ASSERT_TRUE(form->RBtn[12]->isVisible());
    Click(form->RBtn[12]);
    Click(form->palette->Edit(3));
    EXPECT_EQ(form->CurrentRecord().ShadowColor, RGB(255, 0, 0));
    EXPECT_EQ(form->CurrentRecord().OutlineColor, clBlack);
    Click(form->RBtn[4]);
    EXPECT_FALSE(form->RBtn[12]->isVisible());
    EXPECT_TRUE(form->RBtn[10]->isChecked());
    EXPECT_FALSE(form->CurrentRecord().Shadow);
    Click(form->BtnFormClose);
    Settle();
}

TEST_F(TextStampScreenTest, DecoratedStampHangingOverTheRightEdgeCopiesTheInsideOnly) {
    // The canvas's zoom; the stamp lies at (260, 20) region pixels in every case.
    for (const int zoom : {100, 200, 50}) {
        host.RegionBitmap().fill(kGround);
        host.zoom = zoom;
        host.RegionChanged();
        QPointer<TForm15> form = new TForm15(host, "ABC");
        // A striped body keeps its fill bitmap beside the program while the screen is open.
        Click(form->RBtn[7]);
        EXPECT_TRUE(FillBitmapExists()) << zoom;
        Click(form->RBtn[5]);
        host.placed->move(host.canvas->pos() + QPoint(260 * zoom / 100, 20 * zoom / 100));
        const Bitmap stamp = host.placed->picture();
        ASSERT_GT(stamp.width(), 40) << "the stamp must reach past the right edge";
        Bitmap expected = host.RegionBitmap();
        CopyNonKeyPixels(expected, {260, 20}, stamp);
        const int counter = host.Counter();
        Click(form->BtnDtStClose);
        Settle();
        EXPECT_TRUE(form.isNull()) << zoom;
        EXPECT_EQ(host.RegionBitmap(), expected) << zoom;
        EXPECT_EQ(host.Counter(), counter + 1) << zoom;
        ExpectEditorGivenBack("OK");
    }
}

TEST_F(TextStampScreenTest, PlainStampBurnsTextAndBackground) {
    // The background radio button, and whether the whole box or the text alone is drawn.
    const std::tuple<const char*, int, bool> cases[] = {
        {"なし: only the text pixels change", 6, false},
        {"SOLID: the box takes the background", 7, true},
    };
    for (const auto& [name, radio, wholeBox] : cases) {
        host.RegionBitmap().fill(kGround);
        QPointer<TForm14> form = new TForm14(host, "AB\r\nC");
        Click(form->RBtn[radio]);
        PlaceAt(10, 10);
        const Size box = host.placed->picture().size();
        const int counter = host.Counter();
        Click(form->BtnDtStClose);
        Settle();
        EXPECT_TRUE(form.isNull()) << name;
        const Bitmap& region = host.RegionBitmap();
        const long text = CountPixels(region, clBlack);
        EXPECT_GT(text, 10) << name;
        const long changed = 300L * 200 - CountPixels(region, kGround);
        EXPECT_EQ(changed, wholeBox ? static_cast<long>(box.width) * box.height : text) << name;
        EXPECT_EQ(region.pixel(9, 9), kGround) << name;
        EXPECT_EQ(host.Counter(), counter + 1) << name;
        ExpectEditorGivenBack(name);
    }
}

TEST_F(TextStampScreenTest, PlainStampOfSizeTwentyHasTwoPixelStripes) {
    QPointer<TForm14> form = new TForm14(host, "ABCD");
    for (int n = kPlainStampStartSize; n < 20; ++n) Click(form->FSBtn02);
    Click(form->RBtn[8]);
    // Red and yellow from the second palette into the first two component cells; "縦".
    for (const int cell : {47 + 3, 41, 47 + 14, 42}) Click(form->palette->Edit(cell));
    Click(form->RBtn[11]);
    PlaceAt(0, 0);
    Click(form->BtnDtStClose);
    Settle();
    const Bitmap& region = host.RegionBitmap();
    const TColor top[] = {kRed, kRed, kYellow, kYellow, kRed, kRed, kYellow};
    for (int x = 0; x < 7; ++x) EXPECT_EQ(region.pixel(x, 0), top[x]) << "column " << x;
}

TEST_F(TextStampScreenTest, GrowthBeyondTheRegionIsRefused) {
    // The plain stamp's "↑" at the right edge, the decorated arch at the bottom edge.
    QPointer<TForm14> plain = new TForm14(host, "ABC");
    PlaceAt(290, 0);
    const int size = plain->fontSize();
    Click(plain->FSBtn02);
    EXPECT_EQ(plain->fontSize(), size);
    Click(plain->BtnFormClose);
    QPointer<TForm15> deco = new TForm15(host, "ABC");
    PlaceAt(0, 190);
    Click(deco->FBtn[2]);
    EXPECT_EQ(deco->CurrentRecord().DeformAmount, 0);
    EXPECT_EQ(Said(dialogs.dialogs()),
              (std::vector<std::string>{"右余白が足りない/NG", "下余白が足りない/NG"}));
    Click(deco->BtnFormClose);
    Settle();
}

TEST_F(TextStampScreenTest, CancelAndCloseLeaveTheRegionAlone) {
    const Bitmap before = host.RegionBitmap();
    // Which screen, and whether it goes by "Cancel" or by the window manager.
    const std::tuple<const char*, bool, bool> cases[] = {
        {"plain, Cancel", false, true},
        {"plain, window manager", false, false},
        {"decorated, Cancel", true, true},
        {"decorated, window manager", true, false},
    };
    for (const auto& [name, decorated, cancel] : cases) {
        const int counter = host.Counter();
        QPointer<TextStampForm> form;
        if (decorated) {
            auto* f = new TForm15(host, "ABC");
            Click(f->RBtn[8]);
            EXPECT_TRUE(FillBitmapExists()) << name;
            form = f;
        } else {
            form = new TForm14(host, "ABC");
        }
        // The panel lies over the editor's top panel with the hole over its zoom buttons.
        EXPECT_EQ(form->geometry(), QRect(host.window.geometry().topLeft(), QSize(792, 200)))
            << name;
        EXPECT_FALSE(form->mask().contains(QPoint(720, 130))) << name;
        EXPECT_TRUE(form->mask().contains(QPoint(720, 100))) << name;
        EXPECT_TRUE(!host.canvas->isEnabled() && host.placed->isVisible()) << name;
        if (cancel)
            Click(form->BtnFormClose);
        else
            form->close();
        Settle();
        EXPECT_TRUE(form.isNull()) << name;
        EXPECT_EQ(host.RegionBitmap(), before) << name;
        EXPECT_EQ(host.Counter(), counter) << name;
        ExpectEditorGivenBack(name);
    }
}

}  // namespace
}  // namespace pb
