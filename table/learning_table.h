#pragma once
// The learning table: numbered rows 1..rowCount(), each with four cell texts
// (Carry, Frames, Comments, Result; UTF-8) and one LearnedSignal record.
// Plain C++; the grid in the main window is a view over it.

#include "learned_signal.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quvan {

enum TableColumn : int { ColCarry = 1, ColFrames = 2, ColComments = 3, ColResult = 4 };

class LearningTable {
  public:
    explicit LearningTable(int rowCount); // kStdTableRows or kProTableRows
    LearningTable(const LearningTable& other);
    LearningTable& operator=(const LearningTable& other);
    LearningTable(LearningTable&&) noexcept = default;
    LearningTable& operator=(LearningTable&&) noexcept = default;
    ~LearningTable() = default;

    int rowCount() const { return rowCount_; }
    bool validRow(int row) const { return row >= 1 && row <= rowCount_; }

    // Cells of rows 1..rowCount(), columns ColCarry..ColResult.
    // Reading a cell or record outside rows 1..rowCount() (or columns
    // ColCarry..ColResult) throws std::out_of_range; the mutators ignore such
    // rows, so a stray grid position can never reach the spare records.
    const std::string& cell(int row, int col) const;
    // Stores the text as the table file can carry it (see StorableCellText in
    // table/cell_text.h): a comma becomes "，", a line break a space, a
    // character that Shift-JIS (CP932) lacks "〓", and a Result text that
    // would pass for a record field ("Twc:" ...) gets a full-width colon.
    void setCell(int row, int col, std::string text);

    LearnedSignal& record(int row);
    const LearnedSignal& record(int row) const;

    void clearRow(int row);
    void clearAll();
    void copyRow(int from, int to);
    void shiftDown(int row);
    void shiftUp(int row);
    bool isBlank(int row) const; // Carry cell empty after trimming

    // Called after any change of rows [first, last] (cells or records), so a
    // view can refresh; set by the grid model.
    std::function<void(int first, int last)> onRowsChanged;

    // For callers that changed a record through record(row).
    void notifyRowsChanged(int first, int last);

  private:
    void clearSlot(int row);

    // The records come zeroed from the system (calloc of a large block maps
    // fresh zero pages), so a table costs nothing until rows are written:
    // zero-filling 500 records of 4 KiB at every start of the command-line
    // decoder cost about as much as decoding a log of 200 captures.
    struct FreeRecords {
        void operator()(LearnedSignal* records) const;
    };

    int rowCount_;
    std::vector<std::array<std::string, 4>> cells_;         // index row-1, column-1
    std::unique_ptr<LearnedSignal[], FreeRecords> records_; // always kMaxTableRows
};

// The pattern-code text sent after "Twd:" and stored in the table file.
std::string PatternCodeText(const LearnedSignal& signal);

// Removes every character of code 0x20 and below from both ends.
std::string TrimControl(std::string_view text);

} // namespace quvan
