#include "table/learning_table.h"

#include "table/cell_text.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <stdexcept>
#include <type_traits>

namespace quvan {

namespace {

bool validColumn(int col) {
    return col >= ColCarry && col <= ColResult;
}

} // namespace

// All-zero bytes are exactly a value-initialised LearnedSignal (every field
// is an integer that starts at 0), and the record is an aggregate, so calloc
// creates the records.
static_assert(std::is_aggregate_v<LearnedSignal> && std::is_trivially_copyable_v<LearnedSignal>);

LearningTable::LearningTable(int rowCount)
    : rowCount_(std::clamp(rowCount, 0, kMaxTableRows)), cells_(rowCount_),
      records_(static_cast<LearnedSignal*>(std::calloc(kMaxTableRows, sizeof(LearnedSignal)))) {
    if (!records_)
        throw std::bad_alloc();
}

LearningTable::LearningTable(const LearningTable& other)
    : onRowsChanged(other.onRowsChanged), rowCount_(other.rowCount_), cells_(other.cells_),
      records_(static_cast<LearnedSignal*>(std::malloc(kMaxTableRows * sizeof(LearnedSignal)))) {
    if (!records_)
        throw std::bad_alloc();
    std::copy(other.records_.get(), other.records_.get() + kMaxTableRows, records_.get());
}

LearningTable& LearningTable::operator=(const LearningTable& other) {
    if (this != &other) {
        LearningTable copy(other);
        *this = std::move(copy);
    }
    return *this;
}

void LearningTable::FreeRecords::operator()(LearnedSignal* records) const {
    std::free(records);
}

const std::string& LearningTable::cell(int row, int col) const {
    if (!validRow(row) || !validColumn(col))
        throw std::out_of_range("LearningTable::cell: no such cell");
    return cells_[row - 1][col - 1];
}

void LearningTable::setCell(int row, int col, std::string text) {
    if (!validRow(row) || !validColumn(col))
        return;
    cells_[row - 1][col - 1] = StorableCellText(text, col);
    notifyRowsChanged(row, row);
}

LearnedSignal& LearningTable::record(int row) {
    if (!validRow(row))
        throw std::out_of_range("LearningTable::record: no such row");
    return records_[row - 1];
}

const LearnedSignal& LearningTable::record(int row) const {
    if (!validRow(row))
        throw std::out_of_range("LearningTable::record: no such row");
    return records_[row - 1];
}

void LearningTable::clearRow(int row) {
    if (!validRow(row))
        return;
    clearSlot(row);
    notifyRowsChanged(row, row);
}

void LearningTable::clearAll() {
    for (int row = 1; row <= rowCount_; ++row)
        clearSlot(row);
    notifyRowsChanged(1, rowCount_);
}

void LearningTable::copyRow(int from, int to) {
    if (!validRow(from) || !validRow(to) || from == to)
        return;
    cells_[to - 1] = cells_[from - 1];
    records_[to - 1] = records_[from - 1];
    notifyRowsChanged(to, to);
}

void LearningTable::shiftDown(int row) {
    if (!validRow(row))
        return;
    // The last row falls off the end; rows above `row` stay where they are.
    std::move_backward(cells_.begin() + (row - 1), cells_.begin() + (rowCount_ - 1),
                       cells_.begin() + rowCount_);
    std::move_backward(records_.get() + (row - 1), records_.get() + (rowCount_ - 1),
                       records_.get() + rowCount_);
    clearSlot(row);
    notifyRowsChanged(row, rowCount_);
}

void LearningTable::shiftUp(int row) {
    if (!validRow(row))
        return;
    std::move(cells_.begin() + row, cells_.begin() + rowCount_, cells_.begin() + (row - 1));
    std::move(records_.get() + row, records_.get() + rowCount_, records_.get() + (row - 1));
    clearSlot(rowCount_);
    notifyRowsChanged(row, rowCount_);
}

bool LearningTable::isBlank(int row) const {
    return TrimControl(cell(row, ColCarry)).empty();
}

void LearningTable::notifyRowsChanged(int first, int last) {
    if (onRowsChanged && first <= last)
        onRowsChanged(first, last);
}

void LearningTable::clearSlot(int row) {
    cells_[row - 1] = {};
    records_[row - 1] = LearnedSignal{};
}

std::string TrimControl(std::string_view text) {
    auto isControl = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    auto first = std::find_if_not(text.begin(), text.end(), isControl);
    auto last = std::find_if_not(text.rbegin(), std::make_reverse_iterator(first), isControl);
    return std::string(first, last.base());
}

} // namespace quvan
