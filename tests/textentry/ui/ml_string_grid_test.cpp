#include "textentry/ui/ml_string_grid.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTest>

namespace pb {
namespace {

// Rows and columns of a cell picture that hold any dark pixel.
struct Ink {
    int top = -1, bottom = -1, right = -1;
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
                if (ink.top < 0) ink.top = y;
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
        {"CR LF breaks with wrap", QStringLiteral("ab\r\ncd"), true, true, 30},
        {"CR LF breaks without", QStringLiteral("ab\r\ncd"), false, true, 30},
        {"LF breaks too", QStringLiteral("ab\ncd"), false, true, 30},
    };
    for (const auto& [what, text, wordWrap, twoLinesOrMore, rightBelow] : cases) {
        const Ink ink = DrawCell(text, wordWrap);
        // Text starts 2 pixels in.
        EXPECT_EQ(std::tuple(ink.top >= 2, ink.bottom > 16, ink.right < rightBelow),
                  std::tuple(true, twoLinesOrMore, true))
            << what;
    }
    // A line that would show only in part is left out.
    EXPECT_LT(DrawCell(QStringLiteral("a\r\nb\r\nc\r\nd"), false, {60, 30}).bottom, 30);
}

TEST(MLStringGrid, InplaceEditorKeys) {
    TMLStringGrid grid(3, 2);
    grid.resize(300, 120);
    grid.SetEditing(true);
    grid.SetCell(0, 0, QStringLiteral("abc"));
    grid.SetCell(1, 0, QStringLiteral("右"));
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    grid.setCurrentCell(0, 0);

    // F2 starts editing with the caret at the end and nothing selected.
    QTest::keyClick(&grid, Qt::Key_F2);
    TMLInplaceEdit* editor = grid.InplaceEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(std::pair(editor->textCursor().position(), editor->textCursor().hasSelection()),
              std::pair(3, false));

    // Enter breaks the line; arrows move the caret and stay in the editor.
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClicks(editor, QStringLiteral("d"));
    QTest::keyClick(editor, Qt::Key_Up);
    for (int i = 0; i < 4; ++i) QTest::keyClick(editor, Qt::Key_Left);  // the last at the start
    EXPECT_EQ(std::pair(editor->textCursor().position(), grid.currentColumn()), std::pair(0, 0));
    EXPECT_EQ(grid.InplaceEditor(), editor);

    // Ctrl+Enter ends editing; the cell holds CR LF.
    QTest::keyClick(editor, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(grid.InplaceEditor(), nullptr);
    EXPECT_EQ(grid.Cell(0, 0), QStringLiteral("abc\r\nd"));

    // Enter in the grid starts editing too; Ctrl+Right moves on and goes on editing there.
    QTest::keyClick(&grid, Qt::Key_Return);
    editor = grid.InplaceEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("abc\nd"));
    QTest::keyClicks(editor, QStringLiteral("e"));
    QTest::keyClick(editor, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(grid.Cell(0, 0), QStringLiteral("abc\r\nde"));
    EXPECT_EQ(grid.currentColumn(), 1);
    editor = grid.InplaceEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(std::pair(editor->toPlainText(), editor->textCursor().position()),
              std::pair(QStringLiteral("右"), 1));
    QTest::keyClick(editor, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(std::pair(grid.currentRow(), grid.currentColumn()), std::pair(1, 1));
}

}  // namespace
}  // namespace pb
