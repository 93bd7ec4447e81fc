#include "common/ui/palette_widgets.h"

#include <gtest/gtest.h>

#include <QTest>

#include "common/palette.h"

namespace pb {
namespace {

// A screen as the design and stamp screens use the palette: the palette colour is its text
// colour, and it counts its redraws.
class DesignScreen : public PaletteForm {
  public:
    DesignScreen() {
        BuildPalette({{10, 10}, QPoint(10, 110), QPoint(200, 10)});
        palette->ShowComponents(true, QStringLiteral("STRIPE構成色選択"));
        resize(400, 220);
        show();
    }
    TColor text = clBlack;
    int redraws = 0;

  protected:
    void PaletteColourChosen(TColor colour) override {
        text = colour;
        ++redraws;
    }
    void ComponentsChanged() override { ++redraws; }
};

void Click(QWidget* w) {
    ASSERT_NE(w, nullptr);
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(3, 3));
}

TEST(PaletteWidgets, AComponentCellTakesThePendingColourUntilItsRemoveButton) {
    DesignScreen s;
    const PaletteWidgets& p = *s.palette;
    // A palette cell gives its own colour to the screen; the second palette's only sets the
    // pending colour and redraws nothing.
    Click(p.Edit(14));
    EXPECT_EQ(s.text, PaletteColour(14));
    Click(p.Edit(47 + 17));
    EXPECT_EQ(p.pending(), PaletteColour(17));
    EXPECT_EQ(s.text, PaletteColour(14));
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
    EXPECT_EQ(s.redraws, 3);
    // "虹色": all seven in use.
    Click(p.ColBtn(8));
    EXPECT_EQ(SelectedColours(p.components()).size(), 7u);
    EXPECT_EQ(s.redraws, 4);
}

}  // namespace
}  // namespace pb
