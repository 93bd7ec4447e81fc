#include "common/ui/palette_widgets.h"

#include <gtest/gtest.h>

#include <QTest>

#include "common/palette.h"

namespace pb {
namespace {

// A design screen as the object screens use the widget set: the b-palette sets the pending
// colour, a component cell takes it and its "取消" gives the slot up again.
class DesignScreen : public Form {
  public:
    DesignScreen() : palette(*this, {{10, 10}, QPoint(10, 110), QPoint(200, 10)}) {
        palette.ConnectSecondPalette(this, &DesignScreen::IroSentakuB);
        palette.ConnectComponentCells(this, &DesignScreen::IroOK);
        palette.ConnectRemoveButtons(this, &DesignScreen::IroCancel);
        palette.ShowComponents(true, QStringLiteral("STRIPE構成色選択"));
        resize(400, 220);
        show();
    }
    void IroSentakuB() {
        if (auto c = PaletteWidgets::CellColour(sender())) palette.SetPending(*c);
    }
    void IroOK() { palette.TakePending(PaletteWidgets::ComponentSlot(sender())); }
    void IroCancel() { palette.Remove(PaletteWidgets::ComponentSlot(sender())); }

    PaletteWidgets palette;
};

void Click(QWidget* w) {
    ASSERT_NE(w, nullptr);
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(3, 3));
}

TEST(PaletteWidgets, AComponentCellTakesThePendingColourUntilItsRemoveButton) {
    DesignScreen s;
    const PaletteWidgets& p = s.palette;
    Click(p.Edit(47 + 17));
    EXPECT_EQ(p.pending(), PaletteColour(17));
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
}

}  // namespace
}  // namespace pb
