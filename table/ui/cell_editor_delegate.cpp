#include "table/ui/cell_editor_delegate.h"

#include "table/learning_table.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QTableView>

namespace quvan::table_ui {
namespace {

constexpr char kRowProperty[] = "gridRow";
constexpr char kColumnProperty[] = "gridColumn";
constexpr char kRowCountProperty[] = "gridRowCount";

} // namespace

QString CellEditorToolTip() {
    return CellEditorDelegate::tr(
        "カンマ(,)はファイルの区切りのため全角の「，」として記録します。\n"
        "Shift-JISに無い文字は「〓」になります。");
}

QString WithoutAsciiCommas(const QString& text) {
    QString result = text;
    result.replace(QChar(','), QChar(0xFF0C));
    return result;
}

QWidget* CellEditorDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                          const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    editor->setProperty(kRowProperty, index.row());
    editor->setProperty(kColumnProperty, index.column());
    editor->setProperty(kRowCountProperty, index.model()->rowCount());
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->setToolTip(CellEditorToolTip());
        connect(line, &QLineEdit::textEdited, line, [line](const QString& text) {
            if (!text.contains(','))
                return;
            const int cursor = line->cursorPosition();
            line->setText(WithoutAsciiCommas(text));
            line->setCursorPosition(cursor);
        });
    }
    return editor;
}

void CellEditorDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    const auto* view = qobject_cast<const QTableView*>(option.widget);
    if (index.column() != 0 || view == nullptr) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QHeaderView* header = view->horizontalHeader();
    QStyleOptionHeader section;
    section.initFrom(header);
    section.rect = option.rect;
    section.text = index.data(Qt::DisplayRole).toString();
    section.textAlignment = Qt::AlignCenter;
    section.orientation = Qt::Vertical;
    section.position = QStyleOptionHeader::Middle;
    section.section = index.row();
    // The header's drawing leaves its clip and pens on the painter, which
    // the view goes on to paint every other cell with.
    painter->save();
    header->style()->drawControl(QStyle::CE_Header, &section, painter, header);
    painter->restore();
}

bool CellEditorDelegate::eventFilter(QObject* object, QEvent* event) {
    auto* editor = qobject_cast<QWidget*>(object);
    if (editor != nullptr && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const int row = editor->property(kRowProperty).toInt();
        const int column = editor->property(kColumnProperty).toInt();
        const bool textColumn = column == ColComments || column == ColResult;
        const bool lastRow = row + 1 >= editor->property(kRowCountProperty).toInt();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && textColumn && !lastRow) {
            emit commitData(editor);
            emit closeEditor(editor, QAbstractItemDelegate::NoHint);
            emit moveDownRequested(row, column);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

} // namespace quvan::table_ui
