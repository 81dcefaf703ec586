#include "platform/atomic_file.h"
#include "table/cell_text.h"
#include "table/cp932_codec.h"
#include "table/record_text.h"
#include "table/table_file.h"

#include <algorithm>

namespace quvan {

namespace {

// The reader takes fixed-width digit groups for the two pattern times, so
// wider values are written faithfully but come back different.
bool patternTimesFit(int high, int width) {
    return high >= -9999 && high <= 99999 && width >= -99999 && width <= 999999;
}

// A header text cannot hold a line break or a character CP932 lacks either.
std::string headerText(std::string_view utf8) {
    return Cp932FromUtf8(StorableCellText(utf8, 0)).text;
}

void appendHeader(std::string& out, const TableHeaderOptions& header) {
    out += kTableFileMark;
    if (header.eiritsu)
        out += " : Eiritsu";
    if (header.serial)
        out += " : Serial";
    if (header.philips) {
        out += " : Philips Ts:";
        out += headerText(header.ts);
        out += " Tw:";
        out += headerText(header.tw);
        out += " Bits:";
        out += headerText(header.bits);
    }
    out += "\r\n";
}

void appendRow(std::string& out, const LearningTable& table, int row,
               std::vector<std::string>* warnings) {
    out += '[';
    AppendZeroPadded(out, row, 3);
    out += "],";
    for (int col = ColCarry; col <= ColResult; ++col) {
        out += Cp932FromUtf8(TrimControl(table.cell(row, col))).text;
        out += ',';
    }
    const LearnedSignal& signal = table.record(row);
    AppendRecordFields(out, signal);
    out += ",\r\n";

    if (warnings == nullptr)
        return;
    for (int p = 0; p < kPatternSlots; ++p) {
        auto index = static_cast<std::size_t>(p);
        if (!patternTimesFit(signal.PatternHigh[index], signal.PatternWidth[index]))
            warnings->push_back("row " + std::to_string(row) + ": the times of pattern " +
                                std::to_string(p) + " are too long for the table file");
    }
}

} // namespace

std::string FormatTableFile(const LearningTable& table, const TableHeaderOptions& header,
                            std::vector<std::string>* warnings) {
    std::string out;
    // Some 350 fixed bytes, the cells and a digit per code in each row;
    // reserving once keeps a full table from being copied as it grows.
    std::size_t size = 128;
    for (int row = 1; row <= table.rowCount(); ++row)
        size += 400 + static_cast<std::size_t>(std::max(table.record(row).DataBits, 0)) +
                table.cell(row, ColComments).size() + table.cell(row, ColResult).size();
    out.reserve(size);
    appendHeader(out, header);
    for (int row = 1; row <= table.rowCount(); ++row)
        appendRow(out, table, row, warnings);
    return out;
}

TableSaveResult SaveTable(const std::string& path, const LearningTable& table,
                          const TableHeaderOptions& header) {
    TableSaveResult result;
    std::string bytes = FormatTableFile(table, header, &result.warnings);
    result.error = WriteFileAtomically(path, bytes);
    result.ok = result.error.empty();
    return result;
}

} // namespace quvan
