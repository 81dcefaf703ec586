#include "table/ui/learning_table_model.h"

namespace quvan::table_ui {
namespace {

const char* const kHeaders[LearningTableModel::kColumnCount] = {
    QT_TRANSLATE_NOOP("quvan::table_ui::LearningTableModel", "No."),
    QT_TRANSLATE_NOOP("quvan::table_ui::LearningTableModel", "Carry"),
    QT_TRANSLATE_NOOP("quvan::table_ui::LearningTableModel", "Frames"),
    QT_TRANSLATE_NOOP("quvan::table_ui::LearningTableModel", "Comments"),
    QT_TRANSLATE_NOOP("quvan::table_ui::LearningTableModel", "Result")};

} // namespace

LearningTableModel::LearningTableModel(LearningTable& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table), cells_(table.rowCount()) {
    labels_.reserve(table.rowCount());
    for (int row = 1; row <= table.rowCount(); ++row)
        labels_.push_back(QString::asprintf("%03d", row));
    for (int row = 1; row <= table.rowCount(); ++row)
        for (int col = ColCarry; col <= ColResult; ++col)
            cells_[row - 1][col - 1] = QString::fromStdString(table.cell(row, col));
    table_.onRowsChanged = [this](int first, int last) { refreshRows(first, last); };
}

LearningTableModel::~LearningTableModel() {
    table_.onRowsChanged = nullptr;
}

int LearningTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table_.rowCount();
}

int LearningTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant LearningTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int col = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return col == 0 ? labels_[index.row()] : cells_[index.row()][col - 1];
    case Qt::TextAlignmentRole:
        if (col == 0)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    default:
        return {};
    }
}

bool LearningTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole ||
        !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid) ||
        index.column() == 0)
        return false;
    const int row = tableRow(index);
    const std::string before = table_.cell(row, index.column());
    // The store decides what a cell may hold (no commas, Shift-JIS only);
    // its change report refreshes the view with what it really kept.
    table_.setCell(row, index.column(), value.toString().toStdString());
    if (table_.cell(row, index.column()) != before)
        emit cellEdited(row, index.column());
    return true;
}

QVariant LearningTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && section >= 0 && section < kColumnCount) {
        if (role == Qt::DisplayRole)
            return tr(kHeaders[section]);
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    }
    if (orientation == Qt::Vertical && role == Qt::DisplayRole && section >= 0 &&
        section < table_.rowCount())
        return labels_[section];
    return {};
}

Qt::ItemFlags LearningTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    // The row label is part of the fixed frame: never selected, never edited.
    if (index.column() == 0)
        return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

void LearningTableModel::refreshRows(int first, int last) {
    first = std::max(first, 1);
    last = std::min(last, table_.rowCount());
    if (first > last)
        return;
    for (int row = first; row <= last; ++row)
        for (int col = ColCarry; col <= ColResult; ++col)
            cells_[row - 1][col - 1] = QString::fromStdString(table_.cell(row, col));
    emit dataChanged(index(first - 1, 1), index(last - 1, kColumnCount - 1),
                     {Qt::DisplayRole, Qt::EditRole});
}

} // namespace quvan::table_ui
