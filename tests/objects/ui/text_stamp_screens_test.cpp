// The text stamp screens over a stand-in region editor: what their buttons change, and what
// "確定" / "OK", "Cancel" and a close by the window manager leave in the region.
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
    std::vector<std::string> Said() {
        std::vector<std::string> out;
        for (const auto& s : dialogs->shown) out.push_back(s.text + "/" + s.caption);
        return out;
    }
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
    const int step = form->CurrentRecord().FontSize / 4;
    ASSERT_GT(step, 0);
    EXPECT_EQ(form->CurrentRecord().DeformMode, 1);
    Click(form->FBtn[2]);
    EXPECT_EQ(form->CurrentRecord().DeformAmount, step);
    // The other mode starts from 0.
    Click(form->FBtn[3]);
    EXPECT_EQ(form->CurrentRecord().DeformMode, 2);
    EXPECT_EQ(form->CurrentRecord().DeformAmount, -step);

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
        EXPECT_EQ(host.placed->size(),
                  QSize(stamp.width() * zoom / 100, stamp.height() * zoom / 100));
        ASSERT_GT(stamp.width(), 40) << "the stamp must reach past the right edge";
        Bitmap expected = host.RegionBitmap();
        const long long inside = CopyNonKeyPixels(expected, {260, 20}, stamp);
        ASSERT_GT(inside, 0);
        const int counter = host.Counter();
        Click(form->BtnDtStClose);
        Settle();
        EXPECT_TRUE(form.isNull()) << zoom;
        EXPECT_EQ(host.RegionBitmap(), expected) << zoom;
        EXPECT_EQ(host.Counter(), counter + 1) << zoom << ": one snapshot";
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
    ASSERT_EQ(form->fontSize(), kPlainStampStartSize);
    for (int n = kPlainStampStartSize; n < 20; ++n) Click(form->FSBtn02);
    EXPECT_EQ(form->fontSize(), 20);
    Click(form->RBtn[8]);
    EXPECT_EQ(form->palette->ComponentCaption()->text(), QStringLiteral("STRIPE構成色選択"));
    // Red and yellow from the second palette into the first two component cells; "縦".
    Click(form->palette->Edit(47 + 3));
    Click(form->palette->Edit(41));
    Click(form->palette->Edit(47 + 14));
    Click(form->palette->Edit(42));
    Click(form->RBtn[11]);
    PlaceAt(0, 0);
    Click(form->BtnDtStClose);
    Settle();
    const Bitmap& region = host.RegionBitmap();
    const TColor red = RGB(255, 0, 0), yellow = RGB(255, 255, 0);
    const TColor top[] = {red, red, yellow, yellow, red, red, yellow};
    for (int x = 0; x < 7; ++x) EXPECT_EQ(region.pixel(x, 0), top[x]) << "column " << x;
}

TEST_F(TextStampScreenTest, GrowthBeyondTheRegionIsRefused) {
    // Where the stamp lies, the button pressed (FSBtn02 of the plain stamp, Btn1 or FBtn2 of
    // the decorated one) and the refusal.
    const std::tuple<const char*, Point, const char*, const char*> cases[] = {
        {"plain ↑ at the right edge", {290, 0}, "FSBtn02", "右余白が足りない/NG"},
        {"decorated +8 at the bottom edge", {0, 190}, "Btn1", "下余白が足りない/NG"},
        {"decorated arch at the bottom edge", {0, 190}, "FBtn2", "下余白が足りない/NG"},
    };
    for (const auto& [name, at, button, said] : cases) {
        dialogs->shown.clear();
        const bool decorated = std::string(button) != "FSBtn02";
        QPointer<TForm14> plain = decorated ? nullptr : new TForm14(host, "ABC");
        QPointer<TForm15> deco = decorated ? new TForm15(host, "ABC") : nullptr;
        TextStampForm* form = plain ? static_cast<TextStampForm*>(plain) : deco;
        auto record = [&] { return plain ? plain->CurrentRecord() : deco->CurrentRecord(); };
        const ObjectRecord before = record();
        PlaceAt(at.x, at.y);
        Click(form->Find<QPushButton>(QString::fromUtf8(button)));
        EXPECT_EQ(Said(), std::vector<std::string>{said}) << name;
        EXPECT_EQ(record().FontSize, before.FontSize) << name;
        EXPECT_EQ(record().DeformAmount, before.DeformAmount) << name;
        Click(form->BtnFormClose);
        Settle();
    }
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
        EXPECT_FALSE(host.canvas->isEnabled()) << name;
        EXPECT_TRUE(host.placed->isVisible()) << name;
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
