#pragma once
// StringGrid: the ordinary string grid of the screens: cells of text addressed by column and
// row, no header cells, fixed column widths and row heights, a click per touched cell
// (QTableWidget::cellClicked) and, only when switched on, editing in place.
//
// Sizes follow the screens' layout: a column of width w takes w + 1 pixels with its grid line.

#include <QTableWidget>

#include "textentry/grid_cells.h"

namespace pb {

class StringGrid : public QTableWidget {
    Q_OBJECT
  public:
    StringGrid(int columns, int rows, QWidget* parent = nullptr);

    QString Cell(int column, int row) const;
    void SetCell(int column, int row, const QString& text);
    int RowCount() const { return rowCount(); }
    int ColCount() const { return columnCount(); }
    void SetRowCount(int rows) { setRowCount(rows); }
    // Width of the column's cell, without its grid line.
    void SetColWidth(int column, int width);
    void SetDefaultColWidth(int width);
    void SetDefaultRowHeight(int height);
    // Shows a table of CP932 cells (the grid takes its size).
    void ShowCells(const CellTable& cells);
    // The cell's rectangle in the coordinates of viewport() (where clicks land).
    QRect CellRect(int column, int row) const;
    // Allows editing in place (F2, Enter, typing); off by default.
    void SetEditing(bool on);
    bool Editing() const { return editing_; }
    // The navy look of the keyboard's grids: white text, a highlighted selection or none (for
    // keys), and keys drawn as centred captions without their leading spaces.
    void UseKeyLook(int fontPixels, bool highlightSelection, bool centredKeys);

  private:
    bool editing_ = false;
};

}  // namespace pb
