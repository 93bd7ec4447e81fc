#pragma once
// The region editor and the on-screen keyboard reached from the main screen and driven by
// clicks; shared by the end-to-end tests of the app.

#include "imaging/ui/region_editor.h"
#include "support/ui/app_fixtures.h"
#include "textentry/ui/keyboard_screen.h"

namespace pb::test {

class PageFlow : public MainScreenFixture {
  protected:
    // Marks a rectangle with "□選択範囲編集" (screen points of the page image).
    TForm2* MarkRegion(QPoint from, QPoint to) {
        Click(form->RBtn[7]);
        Stroke(from, to);
        return Window<TForm2>("Form2");
    }
    // Presses the keyboard's key showing each character of `keys`.
    static void Type(TForm6* keyboard, const QString& keys) {
        for (const QChar c : keys) {
            bool found = false;
            for (StringGrid* grid : {keyboard->StringGrid2, keyboard->StringGrid3,
                                     keyboard->StringGrid4, keyboard->StringGrid5})
                for (int r = 0; r < grid->RowCount() && !found; ++r)
                    for (int col = 0; col < grid->ColCount() && !found; ++col)
                        if (grid->Cell(col, r).trimmed() == QString(c)) {
                            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                                              grid->CellRect(col, r).center());
                            found = true;
                        }
            ASSERT_TRUE(found) << "no key " << QString(c).toStdString();
        }
    }
    // `page` with `region` drawn at `at`.
    static Bitmap PastedAt(Bitmap page, const Bitmap& region, Point at) {
        for (int y = 0; y < region.height(); ++y)
            for (int x = 0; x < region.width(); ++x) page.setPixel(at.x + x, at.y + y, region.pixel(x, y));
        return page;
    }
};

}  // namespace pb::test
