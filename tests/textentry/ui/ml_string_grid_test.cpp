#include "textentry/ui/ml_string_grid.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

namespace pb {
namespace {

// Rows and columns of a cell picture that hold any dark pixel.
struct Ink {
    int bottom = -1, right = -1;
};

Ink DrawCell(const QString& text, bool wordWrap, QSize cell = {60, 60}) {
    QImage image(cell.width() + 40, cell.height() + 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        p.setPen(Qt::black);
        QFont f;
        f.setFamilies({QStringLiteral("IPAゴシック"), QStringLiteral("IPAGothic")});
        f.setPixelSize(12);
        DrawMultiLineCellText(p, QRect(QPoint(0, 0), cell), text, f, wordWrap);
    }
    Ink ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                ink.bottom = y;
                ink.right = std::max(ink.right, x);
            }
    return ink;
}

TEST(MLStringGrid, CellTextWrapsBreaksAndIsCutAtTheCellEdge) {
    const QString word = QStringLiteral("あいうえおかきくけこ");  // about 120 px at 12 px
    // Text, word wrap, whether there is ink below the first line, and a column all ink is left of.
    const std::tuple<const char*, QString, bool, bool, int> cases[] = {
        {"a long word wraps", word, true, true, 60},
        {"or is cut at the edge", word, false, false, 60},
        {"CR LF breaks without", QStringLiteral("ab\r\ncd"), false, true, 30},
    };
    for (const auto& [what, text, wordWrap, twoLinesOrMore, rightBelow] : cases) {
        const Ink ink = DrawCell(text, wordWrap);
        EXPECT_EQ(ink.bottom > 16, twoLinesOrMore) << what;
        EXPECT_LT(ink.right, rightBelow) << what;
    }
    // A line that would show only in part is left out.
    EXPECT_LT(DrawCell(QStringLiteral("a\r\nb\r\nc\r\nd"), false, {60, 30}).bottom, 30);
}

}  // namespace
}  // namespace pb
