#pragma once
// TMLStringGrid: a string grid whose cells show several lines of text, wrapped to the column
// width when WordWrap is on, with an in-place editor for multi-line text (TMLInplaceEdit).
//
// Keys: in the grid, F2 and Enter start editing with the caret at the end of the text. In the
// editor, Enter starts a new line, Ctrl+Enter ends editing, the arrow keys move the caret, and
// Ctrl with an arrow moves to the neighbouring cell and goes on editing there.
//
// Cell text may hold CR LF line breaks; the editor gives its lines back with CR LF.

#include <QPlainTextEdit>
#include <QStyledItemDelegate>
#include <functional>

#include "textentry/ui/string_grid.h"

namespace pb {

class TMLStringGrid;

class TMLInplaceEdit : public QPlainTextEdit {
    Q_OBJECT
  public:
    TMLInplaceEdit(TMLStringGrid* grid, QWidget* parent);
    // Caret at the end of the text, nothing selected.
    void CaretToEnd();

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    TMLStringGrid* grid_;
};

class TMLStringGrid : public StringGrid {
    Q_OBJECT
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
  public:
    // Called after a cell's text was drawn (or instead of it with default drawing off).
    using DrawCellHandler =
        std::function<void(QPainter& painter, int column, int row, const QRect& rect)>;

    TMLStringGrid(int columns, int rows, QWidget* parent = nullptr);

    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool on);
    bool DefaultDrawing() const { return defaultDrawing_; }
    void SetDefaultDrawing(bool on);
    void SetOnDrawCell(DrawCellHandler handler) { onDrawCell_ = std::move(handler); }
    const DrawCellHandler& OnDrawCell() const { return onDrawCell_; }

    // The editor while a cell is being edited, else nullptr.
    TMLInplaceEdit* InplaceEditor() const;
    // Ends editing, keeping the text.
    void EndEditing();
    // Moves the current cell by (dx, dy) within the grid.
    void MoveCurrent(int dx, int dy);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    bool wordWrap_ = false;
    bool defaultDrawing_ = true;
    DrawCellHandler onDrawCell_;
};

// Draws a cell's text as the multi-line grid does: from 2 pixels inside the left and top
// edges, lines broken at line breaks and, with `wordWrap`, at the cell width; a line that
// would show only in part is left out.
void DrawMultiLineCellText(QPainter& painter, const QRect& cell, const QString& text,
                           const QFont& font, bool wordWrap);

}  // namespace pb
