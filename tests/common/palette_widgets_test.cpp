#include "common/palette_widgets.h"

#include <gtest/gtest.h>

#include <QTest>

#include "common/palette.h"

namespace pb {
namespace {

// A design screen as the object and stamp screens use the widget set: the a-handler sets the
// target colour, the b-handler the pending colour, IroOK / IroCancel / 虹色 change the
// component slots; each counts the redraws of its preview.
class DesignScreen : public Form {
  public:
    DesignScreen() : palette(*this, {{10, 10}, QPoint(10, 110), QPoint(200, 10)}) {
        palette.ConnectPalette(this, &DesignScreen::IroSentakuA);
        palette.ConnectSecondPalette(this, &DesignScreen::IroSentakuB);
        palette.ConnectComponentCells(this, &DesignScreen::IroOK);
        palette.ConnectRemoveButtons(this, &DesignScreen::IroCancel);
        palette.ConnectRainbow(this, &DesignScreen::ColBtn08Click);
        palette.ShowComponents(true, QStringLiteral("STRIPE構成色選択"));
        resize(400, 220);
        show();
    }
    void IroSentakuA() {
        if (auto c = PaletteWidgets::CellColour(sender())) target = *c;
        ++redraws;
    }
    void IroSentakuB() {
        if (auto c = PaletteWidgets::CellColour(sender())) palette.SetPending(*c);
    }
    void IroOK() {
        palette.TakePending(PaletteWidgets::ComponentSlot(sender()));
        ++redraws;
    }
    void IroCancel() {
        palette.Remove(PaletteWidgets::ComponentSlot(sender()));
        ++redraws;
    }
    void ColBtn08Click() {
        palette.LoadRainbow();
        ++redraws;
    }

    PaletteWidgets palette;
    TColor target = clBlack;
    int redraws = 0;
};

void Click(QWidget* w) {
    ASSERT_NE(w, nullptr);
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(3, 3));
}

TEST(PaletteWidgets, ComponentColoursByClicks) {
    DesignScreen s;
    const PaletteWidgets& p = s.palette;
    EXPECT_EQ(s.findChild<ColourCell*>("Edit64"), p.Edit(64));
    EXPECT_EQ(p.Edit(48)->pos(), QPoint(200, 10));  // the second palette's own origin
    // The a-palette sets the target and redraws; the b-palette only the pending colour.
    Click(p.Edit(3));
    Click(p.Edit(47 + 17));
    EXPECT_EQ(s.target, PaletteColour(3));
    EXPECT_EQ(p.pending(), PaletteColour(17));
    EXPECT_EQ(s.redraws, 1);

    // Component cell 3 takes the pending colour and shows its remove button.
    Click(p.Edit(43));
    EXPECT_EQ(SelectedColours(p.components()), std::vector<TColor>{PaletteColour(17)});
    EXPECT_EQ(p.Edit(43)->colour(), PaletteColour(17));
    EXPECT_TRUE(p.ColBtn(3)->isVisible());
    EXPECT_FALSE(p.ColBtn(2)->isVisible());
    // Its "取消": white and not in use again.
    Click(p.ColBtn(3));
    EXPECT_FALSE(p.components().use[2]);
    EXPECT_EQ(p.Edit(43)->colour(), clWhite);
    EXPECT_FALSE(p.ColBtn(3)->isVisible());
    // "虹色": all seven slots in use with the rainbow.
    Click(p.ColBtn(8));
    EXPECT_EQ(SelectedColours(p.components()),
              std::vector<TColor>(kRainbow.begin(), kRainbow.end()));
    EXPECT_TRUE(p.ColBtn(7)->isVisible());
    EXPECT_EQ(s.redraws, 4);

    // Hiding the component widgets hides their remove buttons too.
    s.palette.ShowComponents(false);
    EXPECT_FALSE(p.ColBtn(1)->isVisible());
    EXPECT_FALSE(p.Edit(41)->isVisible());
    s.palette.ResetComponents();
    EXPECT_TRUE(SelectedColours(p.components()).empty());
}

TEST(PaletteWidgets, ScreensWithoutComponentColoursHaveOnlyThePalette) {
    Form f;
    PaletteWidgets p(f, {{0, 0}, std::nullopt, std::nullopt});
    EXPECT_NE(p.Edit(40), nullptr);
    EXPECT_EQ(p.Edit(41), nullptr);
    EXPECT_EQ(p.Edit(48), nullptr);
    EXPECT_EQ(p.ColBtn(8), nullptr);
    EXPECT_FALSE(p.hasComponents());
    p.ShowComponents(true);  // nothing to show, nothing breaks
    p.TakePending(9);        // out of range: ignored
    EXPECT_TRUE(SelectedColours(p.components()).empty());
}

}  // namespace
}  // namespace pb
