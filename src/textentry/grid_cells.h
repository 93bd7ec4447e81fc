#pragma once
// What the dictionary operations fill: a grid of text cells by column and row, as the
// screen's string grids hold them. Cell text is CP932, the dictionary's own bytes.

#include <string>
#include <string_view>
#include <vector>

namespace pb {

class GridCells {
  public:
    virtual ~GridCells() = default;
    virtual int RowCount() const = 0;
    // Rows beyond the new count are dropped; new rows are empty.
    virtual void SetRowCount(int rows) = 0;
    virtual void SetCell(int column, int row, std::string_view text) = 0;
};

// Cells kept in memory: what the keyboard's logic works on and the screen shows.
class CellTable : public GridCells {
  public:
    explicit CellTable(int columns = 1, int rows = 1) : columns_(columns) { SetRowCount(rows); }

    int ColumnCount() const { return columns_; }
    int RowCount() const override { return static_cast<int>(cells_.size()) / columns_; }
    void SetRowCount(int rows) override {
        cells_.resize(static_cast<std::size_t>(rows < 0 ? 0 : rows) * columns_);
        ++version_;
    }
    void SetCell(int column, int row, std::string_view text) override {
        if (column < 0 || column >= columns_ || row < 0 || row >= RowCount()) return;
        cells_[static_cast<std::size_t>(row) * columns_ + column].assign(text);
        ++version_;
    }
    // Empty text outside the grid.
    const std::string& Cell(int column, int row) const {
        static const std::string none;
        if (column < 0 || column >= columns_ || row < 0 || row >= RowCount()) return none;
        return cells_[static_cast<std::size_t>(row) * columns_ + column];
    }
    // Grows with every change, so that a view can tell whether to redraw.
    unsigned version() const { return version_; }

  private:
    int columns_;
    std::vector<std::string> cells_;
    unsigned version_ = 0;
};

}  // namespace pb
