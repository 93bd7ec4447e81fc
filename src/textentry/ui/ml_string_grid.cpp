#include "textentry/ui/ml_string_grid.h"

#include <algorithm>

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QTextLayout>

namespace pb {

namespace {

QString ToDisplayLines(QString text) {
    text.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
    text.replace(QLatin1Char('\r'), QChar::LineSeparator);
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    return text;
}

class MultiLineCellDelegate : public QStyledItemDelegate {
  public:
    explicit MultiLineCellDelegate(TMLStringGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem o(option);
        initStyleOption(&o, index);
        const QString text = o.text;
        // The background (and selection) as any grid cell, then the text our way.
        o.text.clear();
        const QWidget* w = o.widget;
        QStyle* style = w ? w->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &o, painter, w);
        if (grid_->DefaultDrawing()) {
            painter->save();
            const bool selected = o.state & QStyle::State_Selected;
            painter->setPen(o.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
            DrawMultiLineCellText(*painter, o.rect, text, o.font, grid_->WordWrap());
            painter->restore();
        }
        if (grid_->OnDrawCell()) {
            painter->save();
            grid_->OnDrawCell()(*painter, index.column(), index.row(), o.rect);
            painter->restore();
        }
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        if (!grid_->Editing()) return nullptr;
        return new TMLInplaceEdit(grid_, parent);
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* e = static_cast<TMLInplaceEdit*>(editor);
        QString text = index.data(Qt::EditRole).toString();
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        e->setPlainText(text);
        e->CaretToEnd();
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        QString text = static_cast<TMLInplaceEdit*>(editor)->toPlainText();
        text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
        model->setData(index, text, Qt::EditRole);
    }

    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex&) const override {
        editor->setGeometry(option.rect);
    }

  private:
    TMLStringGrid* grid_;
};

}  // namespace

void DrawMultiLineCellText(QPainter& painter, const QRect& cell, const QString& text,
                           const QFont& font, bool wordWrap) {
    const QRect r = cell.adjusted(2, 2, 0, 0);
    if (r.width() <= 0 || r.height() <= 0 || text.isEmpty()) return;
    QTextLayout layout(ToDisplayLines(text), font, painter.device());
    QTextOption option;
    option.setWrapMode(wordWrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal y = 0;
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid()) break;
        line.setLineWidth(r.width());
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    painter.save();
    painter.setClipRect(r);  // a line wider than the cell is cut at its edge
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        if (line.y() + line.height() > r.height() + 0.5) break;  // no partly visible line
        line.draw(&painter, r.topLeft());
    }
    painter.restore();
}

TMLInplaceEdit::TMLInplaceEdit(TMLStringGrid* grid, QWidget* parent)
    : QPlainTextEdit(parent), grid_(grid) {
    // A single-cell editor that scrolls its text instead of wrapping it or showing bars.
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    document()->setDocumentMargin(1);
}

void TMLInplaceEdit::CaretToEnd() {
    QTextCursor c = textCursor();
    c.movePosition(QTextCursor::End);
    setTextCursor(c);
}

void TMLInplaceEdit::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool arrow =
        key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
    if (ctrl && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        grid_->EndEditing();
        event->accept();
        return;
    }
    if (ctrl && arrow) {
        // The grid moves to the neighbouring cell and editing goes on there.
        TMLStringGrid* grid = grid_;
        grid->EndEditing();
        grid->MoveCurrent(key == Qt::Key_Left    ? -1
                          : key == Qt::Key_Right ? 1
                                                 : 0,
                          key == Qt::Key_Up     ? -1
                          : key == Qt::Key_Down ? 1
                                                : 0);
        grid->edit(grid->currentIndex());
        if (TMLInplaceEdit* next = grid->InplaceEditor()) next->CaretToEnd();
        event->accept();
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        // Enter breaks the line inside the cell instead of ending the edit.
        insertPlainText(QStringLiteral("\n"));
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
    // Arrows stay with the caret even at the edges of the text.
    if (arrow) event->accept();
}

TMLStringGrid::TMLStringGrid(int columns, int rows, QWidget* parent)
    : StringGrid(columns, rows, parent) {
    setItemDelegate(new MultiLineCellDelegate(this));
}

void TMLStringGrid::SetWordWrap(bool on) {
    if (on == wordWrap_) return;
    wordWrap_ = on;
    viewport()->update();
}

void TMLStringGrid::SetDefaultDrawing(bool on) {
    if (on == defaultDrawing_) return;
    defaultDrawing_ = on;
    viewport()->update();
}

TMLInplaceEdit* TMLStringGrid::InplaceEditor() const {
    if (state() != QAbstractItemView::EditingState) return nullptr;
    return qobject_cast<TMLInplaceEdit*>(indexWidget(currentIndex()));
}

void TMLStringGrid::EndEditing() {
    TMLInplaceEdit* editor = InplaceEditor();
    if (!editor) return;
    emit itemDelegate()->commitData(editor);
    emit itemDelegate()->closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void TMLStringGrid::MoveCurrent(int dx, int dy) {
    const int column = std::clamp(currentColumn() + dx, 0, std::max(0, columnCount() - 1));
    const int row = std::clamp(currentRow() + dy, 0, std::max(0, rowCount() - 1));
    setCurrentCell(row, column);
}

void TMLStringGrid::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool start = key == Qt::Key_F2 || ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
                                             event->modifiers() == Qt::NoModifier);
    if (start && Editing() && currentIndex().isValid()) {
        if (state() != QAbstractItemView::EditingState) edit(currentIndex());
        if (TMLInplaceEdit* editor = InplaceEditor()) editor->CaretToEnd();
        event->accept();
        return;
    }
    StringGrid::keyPressEvent(event);
}

}  // namespace pb
