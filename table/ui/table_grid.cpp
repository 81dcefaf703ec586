#include "table/ui/table_grid.h"

#include "table/learning_table.h"
#include "table/ui/cell_editor_delegate.h"
#include "table/ui/learning_table_model.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>
#include <algorithm>

namespace quvan::table_ui {
namespace {

constexpr QAbstractItemView::EditTriggers kCellEditTriggers =
    QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
    QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked;

} // namespace

TableGrid::TableGrid(QTableView& grid, LearningTableModel& model, QObject* parent)
    : QObject(parent), grid_(grid), model_(model), delegate_(new CellEditorDelegate(&grid)) {
    grid_.setModel(&model_);
    grid_.setItemDelegate(delegate_);
    grid_.verticalHeader()->hide(); // column 0 carries the row labels
    grid_.setSelectionMode(QAbstractItemView::SingleSelection);
    grid_.setWordWrap(false);
    QHeaderView* header = grid_.horizontalHeader();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setSectionResizeMode(0, QHeaderView::Fixed);
    header->setHighlightSections(false);
    grid_.verticalHeader()->setDefaultSectionSize(grid_.fontMetrics().height() + 6);
    setInitialColumnWidths();

    connect(grid_.selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    cursorMoved(current.row(), current.column());
            });
    connect(delegate_, &CellEditorDelegate::moveDownRequested, this,
            [this](int row, int column) { setCursor(row + 2, column); });
    grid_.installEventFilter(this);
    setCursor(1, ColCarry);
}

void TableGrid::setInitialColumnWidths() {
    grid_.setColumnWidth(0, kLabelWidth);
    grid_.setColumnWidth(ColCarry, kCarryWidth);
    grid_.setColumnWidth(ColFrames, kFramesWidth);
    const int rest = std::max(0, grid_.width() - (kLabelWidth + kCarryWidth + kFramesWidth) -
                                     kGridFrameAllowance);
    grid_.setColumnWidth(ColComments, rest - rest / 3);
    grid_.setColumnWidth(ColResult, rest / 3);
}

void TableGrid::shareRestAfterResize() {
    const int rest = std::max(0, grid_.width() - kGridFrameAllowance - grid_.columnWidth(0) -
                                     grid_.columnWidth(ColCarry) - grid_.columnWidth(ColFrames));
    grid_.setColumnWidth(ColComments, rest / 4);
    grid_.setColumnWidth(ColResult, rest - rest / 4);
}

int TableGrid::cursorRow() const {
    return LearningTableModel::tableRow(grid_.currentIndex());
}

int TableGrid::cursorColumn() const {
    const QModelIndex current = grid_.currentIndex();
    return current.isValid() ? current.column() : 0;
}

std::vector<int> TableGrid::selectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : grid_.selectionModel()->selectedIndexes())
        rows.push_back(LearningTableModel::tableRow(index));
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void TableGrid::setCursor(int row, int column) {
    const QModelIndex index = model_.index(row - 1, column);
    if (!index.isValid())
        return;
    grid_.setCurrentIndex(index);
    grid_.scrollTo(index);
}

void TableGrid::cursorMoved(int row, int column) {
    // The row labels are the grid's fixed frame; the cursor stays in the
    // first real column instead.
    if (column == 0) {
        setCursor(row + 1, ColCarry);
        return;
    }
    const bool wholeRows = column == ColCarry;
    grid_.setProperty("tag", wholeRows ? 0 : 1);
    grid_.setSelectionBehavior(wholeRows ? QAbstractItemView::SelectRows
                                         : QAbstractItemView::SelectItems);
    grid_.setEditTriggers(wholeRows ? QAbstractItemView::NoEditTriggers : kCellEditTriggers);
    const QModelIndex current = model_.index(row, column);
    grid_.selectionModel()->select(
        current, QItemSelectionModel::ClearAndSelect |
                     (wholeRows ? QItemSelectionModel::Rows : QItemSelectionModel::NoUpdate));
}

bool TableGrid::eventFilter(QObject* watched, QEvent* event) {
    // An open cell editor gets the keys first; what reaches the grid itself
    // comes from the grid or was left by the editor.
    if (watched == &grid_ && event->type() == QEvent::Resize) {
        // The window splits the columns when it is resized, but the grid only
        // gets its new size from the window's layout afterwards (and at the
        // first showing); splitting again here uses the size the grid has.
        shareRestAfterResize();
        return QObject::eventFilter(watched, event);
    }
    if (watched != &grid_ || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    const bool rowMode = grid_.property("tag").toInt() == 0;
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && rowMode && cursorRow() != 0) {
        const QPoint belowCarry(grid_.columnWidth(0) + grid_.columnWidth(ColCarry), grid_.height());
        emit popupRequested(grid_.mapToGlobal(belowCarry));
        return true;
    }
    // Delete empties a text cell, as typing over it with nothing would.
    if (key == Qt::Key_Delete && !rowMode && cursorColumn() >= ColFrames) {
        model_.setData(grid_.currentIndex(), QString());
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quvan::table_ui
