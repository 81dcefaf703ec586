#pragma once
// The grid sGrid over the learning table: its columns, the cursor, and the
// two ways of working with it. In the Carry column the grid selects whole
// rows and edits nothing (the row is the unit the pop-up menu works on); in
// the other columns it selects and edits single cells. The mode is kept in
// the grid's "tag" property: 0 for rows, 1 for cells.

#include <QObject>
#include <QPoint>
#include <vector>

class QTableView;

namespace quvan::table_ui {

class CellEditorDelegate;
class LearningTableModel;

// Column widths when the grid is set up; Comments and Result share the rest.
inline constexpr int kLabelWidth = 40;
inline constexpr int kCarryWidth = 64;
inline constexpr int kFramesWidth = 48;
inline constexpr int kGridFrameAllowance = 27; // borders and the vertical scroll bar

class TableGrid final : public QObject {
    Q_OBJECT
  public:
    // Puts `model` into `grid` and sets the grid up; both outlive this object.
    TableGrid(QTableView& grid, LearningTableModel& model, QObject* parent = nullptr);

    QTableView& view() { return grid_; }

    // Table row (1-based) and column of the cursor; row 0 when there is none.
    int cursorRow() const;
    int cursorColumn() const;
    void setCursor(int row, int column);
    // Table rows with a selected cell, in order.
    std::vector<int> selectedRows() const;

    // Column widths of a freshly built grid: Result gets a third of the rest.
    void setInitialColumnWidths();
    // Once the grid has its size in the window, Comments gets a quarter of
    // the rest and Result the remainder.
    void shareRestAfterResize();

  signals:
    // Enter with the cursor in the Carry column: the pop-up menu should open
    // at `globalPos` (below the grid's Carry column).
    void popupRequested(QPoint globalPos);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void cursorMoved(int row, int column);

    QTableView& grid_;
    LearningTableModel& model_;
    CellEditorDelegate* delegate_;
};

} // namespace quvan::table_ui
