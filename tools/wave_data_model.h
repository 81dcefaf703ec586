#pragma once
// The cells of the wave data grid: for each lane five columns (row label,
// High, Width, Pno, Logic) and one row per pulse pair. The capture and the
// code assembly write the cells; the dialog shows them through this model.

#include <QAbstractTableModel>
#include <QString>
#include <vector>

namespace quvan::tools {

class WaveDataModel final : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr int kPairRows = 4096; // grid rows 1..4096 hold pairs 0..4095
    static constexpr int kColumnsPerLane = 5;

    explicit WaveDataModel(int lanes, QObject* parent = nullptr);

    int lanes() const { return lanes_; }

    // Grid coordinates as the rest of the program counts them: row 0 is the
    // header, pair i is in row i + 1; column 5L + k of lane L.
    QString cell(int column, int row) const;
    void setCell(int column, int row, const QString& text);

    // Empties the four data columns of a lane from row 1 down to the first
    // row whose "High " cell is already empty.
    void clearLaneColumns(int lane);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  private:
    QString& at(int column, int row) {
        return cells_[static_cast<std::size_t>((row - 1) * columns_ + column)];
    }
    const QString& at(int column, int row) const {
        return cells_[static_cast<std::size_t>((row - 1) * columns_ + column)];
    }

    int lanes_;
    int columns_;
    std::vector<QString> cells_;
};

} // namespace quvan::tools
