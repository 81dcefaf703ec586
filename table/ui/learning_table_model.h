#pragma once
// The learning table as the grid sGrid shows it: column 0 is the row label
// ("%03d", read-only), columns 1..4 the Carry, Frames, Comments and Result
// cells of table rows 1..rowCount(). Model row r is table row r + 1.
//
// The cell texts are kept here as QStrings, refreshed whenever the store
// reports a change, so painting the grid only reads them.

#include "table/learning_table.h"

#include <QAbstractTableModel>
#include <QString>
#include <array>
#include <vector>

namespace quvan::table_ui {

class LearningTableModel final : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr int kColumnCount = 5;

    // Takes over table.onRowsChanged for as long as the model lives.
    explicit LearningTableModel(LearningTable& table, QObject* parent = nullptr);
    ~LearningTableModel() override;

    LearningTable& table() { return table_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Table row (1-based) of a model index; 0 when the index names no row.
    static int tableRow(const QModelIndex& index) { return index.isValid() ? index.row() + 1 : 0; }

  signals:
    // A user's edit went into the store (not a change made by a command).
    void cellEdited(int tableRow, int column);

  private:
    void refreshRows(int first, int last);

    LearningTable& table_;
    std::vector<QString> labels_;
    std::vector<std::array<QString, 4>> cells_;
};

} // namespace quvan::table_ui
