#include "textentry/ui/string_grid.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

#include "platform/text_codec.h"

namespace pb {

namespace {

// Draws a key: its caption without the leading spaces, centred, in a smaller font when the
// caption is wider than the key.
class KeyCellDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem o(option);
        initStyleOption(&o, index);
        const QString caption = o.text.trimmed();
        o.text.clear();
        const QWidget* w = o.widget;
        (w ? w->style() : QApplication::style())
            ->drawControl(QStyle::CE_ItemViewItem, &o, painter, w);
        if (caption.isEmpty()) return;
        QFont f = o.font;
        while (f.pixelSize() > 8 && QFontMetrics(f).horizontalAdvance(caption) > o.rect.width() - 2)
            f.setPixelSize(f.pixelSize() - 1);
        painter->save();
        painter->setFont(f);
        const bool selected = o.state & QStyle::State_Selected;
        painter->setPen(o.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(o.rect, Qt::AlignCenter, caption);
        painter->restore();
    }
};

}  // namespace

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

void StringGrid::UseKeyLook(int fontPixels, bool highlightSelection, bool centredKeys) {
    if (centredKeys) setItemDelegate(new KeyCellDelegate(this));
    setTextElideMode(Qt::ElideNone);
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
