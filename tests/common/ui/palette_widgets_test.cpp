#include "common/ui/palette_widgets.h"

#include <gtest/gtest.h>

#include <QTest>

#include "common/palette.h"

namespace pb {
namespace {

// A screen as the design and stamp screens use the palette: it counts its redraws.
class DesignScreen : public PaletteForm {
  public:
    DesignScreen() {
        BuildPalette({{10, 10}, QPoint(10, 110), QPoint(200, 10)});
        palette->ShowComponents(true, QStringLiteral("STRIPE構成色選択"));
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
    std::optional<TColor> CurrentPaletteColour() const override { return text; }
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
    EXPECT_EQ(s.redraws, 1);
    // Component cell 3 takes the pending colour and shows its remove button.
    Click(p.Edit(43));
    EXPECT_EQ(SelectedColours(p.components()), std::vector<TColor>{PaletteColour(17)});
    EXPECT_TRUE(p.ColBtn(3)->isVisible());
    // Its "取消": white and not in use again.
    Click(p.ColBtn(3));
    EXPECT_EQ(std::pair(p.components().use[2], p.Edit(43)->colour()), std::pair(false, clWhite));
    EXPECT_EQ(s.redraws, 3);
    // "虹色": all seven in use.
    Click(p.ColBtn(8));
    EXPECT_EQ(SelectedColours(p.components()).size(), 7u);
}

}  // namespace
}  // namespace pb
