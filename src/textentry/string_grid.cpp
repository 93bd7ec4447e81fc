#include "textentry/string_grid.h"

#include <QHeaderView>

#include "platform/text_codec.h"

namespace pb {

StringGrid::StringGrid(int columns, int rows, QWidget* parent)
    : QTableWidget(rows, columns, parent) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    SetDefaultColWidth(64);
    SetDefaultRowHeight(24);
}

QString StringGrid::Cell(int column, int row) const {
    const QTableWidgetItem* it = item(row, column);
    return it ? it->text() : QString();
}

void StringGrid::SetCell(int column, int row, const QString& text) {
    if (column < 0 || row < 0 || column >= columnCount() || row >= rowCount()) return;
    if (QTableWidgetItem* it = item(row, column)) {
        it->setText(text);
        return;
    }
    setItem(row, column, new QTableWidgetItem(text));
}

void StringGrid::SetColWidth(int column, int width) {
    setColumnWidth(column, width + 1);
}

void StringGrid::SetDefaultColWidth(int width) {
    horizontalHeader()->setDefaultSectionSize(width + 1);
    for (int c = 0; c < columnCount(); ++c) setColumnWidth(c, width + 1);
}

void StringGrid::SetDefaultRowHeight(int height) {
    verticalHeader()->setDefaultSectionSize(height + 1);
    for (int r = 0; r < rowCount(); ++r) setRowHeight(r, height + 1);
}

void StringGrid::ShowCells(const CellTable& cells) {
    if (columnCount() != cells.ColumnCount()) setColumnCount(cells.ColumnCount());
    setRowCount(cells.RowCount());
    for (int r = 0; r < cells.RowCount(); ++r)
        for (int c = 0; c < cells.ColumnCount(); ++c)
            SetCell(c, r, QString::fromStdString(Cp932ToUtf8(cells.Cell(c, r))));
}

QRect StringGrid::CellRect(int column, int row) const {
    return visualRect(model()->index(row, column));
}

void StringGrid::SetEditing(bool on) {
    editing_ = on;
    setEditTriggers(on ? QAbstractItemView::EditKeyPressed | QAbstractItemView::DoubleClicked |
                             QAbstractItemView::AnyKeyPressed
                       : QAbstractItemView::NoEditTriggers);
}

void StringGrid::UseKeyLook(int fontPixels, bool highlightSelection) {
    QFont f = font();
    f.setPixelSize(fontPixels);
    setFont(f);
    const QString selection = highlightSelection
                                  ? QStringLiteral("selection-background-color: #3060c0;")
                                  : QStringLiteral("selection-background-color: navy;");
    setStyleSheet(QStringLiteral("QTableWidget { background: navy; color: white; "
                                 "gridline-color: #5060a0; border: 1px solid #8080a0; "
                                 "selection-color: white; %1 }")
                      .arg(selection));
}

}  // namespace pb
