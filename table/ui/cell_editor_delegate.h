#pragma once
// The editor of the grid's text cells. A table file separates its fields by
// bare commas, so the store keeps a typed comma as the full-width "，"; the
// editor does the same while the user types, so what the cell shows is what
// the file will hold. Enter in the Comments and Result columns finishes the
// cell and asks to move one row down (quick entry of a column of comments).

#include <QStyledItemDelegate>

namespace quvan::table_ui {

// Shown on the cell editor.
QString CellEditorToolTip();

// `text` with every ASCII comma replaced by the full-width comma.
QString WithoutAsciiCommas(const QString& text);

class CellEditorDelegate final : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;

    // The row labels are drawn as header sections, by the header's own style
    // (and style sheet): they are the grid's frame, not cells.
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  signals:
    // Enter in an open Comments or Result editor of model row `row` that is
    // not the last row; the cell has been committed and its editor closed.
    void moveDownRequested(int row, int column);

  protected:
    bool eventFilter(QObject* object, QEvent* event) override;
};

} // namespace quvan::table_ui
