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

TEST(PaletteWidgets, CellsAreNamedAndLaidOutDownEachColumn) {
    DesignScreen s;
    struct Case {
        int n;
        TColor colour;
        QPoint at;
    };
    const Case cases[] = {
        {1, RGB(0, 0, 0), {10, 10}},
        {5, RGB(0xFF, 0x99, 0xCC), {10, 82}},
        {6, RGB(0x99, 0x33, 0x00), {28, 10}},
        {40, clWhite, {136, 82}},
        {48, RGB(0, 0, 0), {200, 10}},
        {87, clWhite, {326, 82}},
        {53, RGB(0x99, 0x33, 0x00), {218, 10}},
    };
    for (const Case& c : cases) {
        ColourCell* cell = s.findChild<ColourCell*>(QStringLiteral("Edit%1").arg(c.n));
        ASSERT_NE(cell, nullptr) << c.n;
        EXPECT_EQ(cell, s.palette.Edit(c.n));
        EXPECT_EQ(cell->colour(), c.colour) << c.n;
        EXPECT_EQ(cell->pos(), c.at) << c.n;
        EXPECT_EQ(cell->size(), QSize(18, 18)) << c.n;
    }
    for (int k = 1; k <= 8; ++k) {
        const QString name = QStringLiteral("ColBtn%1").arg(k, 2, 10, QLatin1Char('0'));
        EXPECT_EQ(s.findChild<QPushButton*>(name), s.palette.ColBtn(k)) << k;
    }
    EXPECT_EQ(s.palette.ColBtn(1)->text(), "取消");
    EXPECT_EQ(s.palette.ColBtn(8)->text(), "虹色");
    EXPECT_EQ(s.palette.ComponentCaption()->text(), "STRIPE構成色選択");
}

TEST(PaletteWidgets, ComponentColoursByClicks) {
    DesignScreen s;
    const PaletteWidgets& p = s.palette;
    // The a-palette sets the target and redraws; the b-palette only the pending colour.
    Click(p.Edit(3));
    EXPECT_EQ(s.target, PaletteColour(3));
    EXPECT_EQ(s.redraws, 1);
    Click(p.Edit(47 + 17));
    EXPECT_EQ(p.pending(), PaletteColour(17));
    EXPECT_EQ(s.redraws, 1);
    EXPECT_EQ(s.target, PaletteColour(3));

    // IroOK on component cell 3: it takes the pending colour and its remove button shows.
    Click(p.Edit(43));
    EXPECT_TRUE(p.components().use[2]);
    EXPECT_EQ(p.components().colour[2], PaletteColour(17));
    EXPECT_EQ(p.Edit(43)->colour(), PaletteColour(17));
    EXPECT_TRUE(p.ColBtn(3)->isVisible());
    EXPECT_FALSE(p.ColBtn(2)->isVisible());
    EXPECT_EQ(SelectedColours(p.components()), std::vector<TColor>{PaletteColour(17)});

    // "取消" on slot 3: white and not in use again.
    Click(p.ColBtn(3));
    EXPECT_FALSE(p.components().use[2]);
    EXPECT_EQ(p.Edit(43)->colour(), clWhite);
    EXPECT_FALSE(p.ColBtn(3)->isVisible());

    // "虹色": all seven slots in use with the rainbow.
    Click(p.ColBtn(8));
    EXPECT_EQ(SelectedColours(p.components()),
              std::vector<TColor>(kRainbow.begin(), kRainbow.end()));
    for (int k = 1; k <= 7; ++k) EXPECT_TRUE(p.ColBtn(k)->isVisible()) << k;
    EXPECT_EQ(s.redraws, 4);

    // A new fill style clears them; hiding the component widgets hides the buttons too.
    s.palette.ResetComponents();
    EXPECT_TRUE(SelectedColours(p.components()).empty());
    s.palette.TakePending(1);
    s.palette.ShowComponents(false);
    EXPECT_FALSE(p.ColBtn(1)->isVisible());
    EXPECT_FALSE(p.Edit(41)->isVisible());
    s.palette.ShowComponents(true, QStringLiteral("GRADATION構成色選択"));
    EXPECT_TRUE(p.ColBtn(1)->isVisible());
    EXPECT_EQ(p.ComponentCaption()->text(), "GRADATION構成色選択");
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
