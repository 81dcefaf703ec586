#include "tools/wave_data_model.h"

namespace quvan::tools {

WaveDataModel::WaveDataModel(int lanes, QObject* parent)
    : QAbstractTableModel(parent), lanes_(lanes), columns_(lanes * kColumnsPerLane),
      cells_(static_cast<std::size_t>(kPairRows * lanes * kColumnsPerLane)) {
    for (int row = 1; row <= kPairRows; ++row) {
        const QString label = QStringLiteral("[%1 ] ").arg(row - 1, 5);
        for (int lane = 0; lane < lanes_; ++lane) {
            at(lane * kColumnsPerLane, row) = label;
        }
    }
}

QString WaveDataModel::cell(int column, int row) const {
    if (column < 0 || column >= columns_ || row < 1 || row > kPairRows) {
        return {};
    }
    return at(column, row);
}

void WaveDataModel::setCell(int column, int row, const QString& text) {
    if (column < 0 || column >= columns_ || row < 1 || row > kPairRows) {
        return;
    }
    QString& target = at(column, row);
    if (target != text) {
        target = text;
        const QModelIndex changed = index(row - 1, column);
        emit dataChanged(changed, changed, {Qt::DisplayRole});
    }
}

void WaveDataModel::clearLaneColumns(int lane) {
    if (lane < 0 || lane >= lanes_) {
        return;
    }
    const int first = lane * kColumnsPerLane + 1;
    int row = 1;
    for (; row <= kPairRows && !at(first, row).isEmpty(); ++row) {
        for (int column = first; column < first + 4; ++column) {
            at(column, row).clear();
        }
    }
    if (row > 1) {
        emit dataChanged(index(0, first), index(row - 2, first + 3), {Qt::DisplayRole});
    }
}

int WaveDataModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kPairRows;
}

int WaveDataModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

QVariant WaveDataModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return at(index.column(), index.row() + 1);
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    }
    return {};
}

QVariant WaveDataModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= columns_) {
        return {};
    }
    static const char* const kHeads[] = {nullptr, QT_TR_NOOP("High "), QT_TR_NOOP("Width "),
                                         QT_TR_NOOP("Pno "), QT_TR_NOOP("Logic")};
    const int k = section % kColumnsPerLane;
    if (k == 0) {
        return tr("Wno:%1 ").arg(section / kColumnsPerLane + 1);
    }
    return tr(kHeads[k]);
}

} // namespace quvan::tools
