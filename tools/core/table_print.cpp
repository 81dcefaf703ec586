#include "tools/core/table_print.h"

#include "table/learning_table.h"

#include <algorithm>
#include <cstdio>

namespace quvan::tools {

namespace {

constexpr int kMargin = 100; // dots from the left and top of the printable area

} // namespace

std::string TablePrintTitle(std::string_view applicationTitle) {
    return std::string(applicationTitle) + "[ Table Date ]";
}

std::string FileNameOf(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

void PrintTable(platform::PrintSurface& surface, const TablePrintInput& input) {
    surface.setPen(platform::kPrintBlack, platform::PenStyle::Solid, 2);
    surface.setTextColour(platform::kPrintBlack);
    const int cw = surface.textWidth("W");
    const int lh = surface.textHeight("H") + 4;
    const int pageWidth = surface.pageWidth();
    const int pageHeight = surface.pageHeight();

    int y = kMargin;
    surface.textOut(kMargin, y, "File: " + FileNameOf(input.pathPanel));
    const std::string date = "Date\xEF\xBC\x9A" + input.date; // "Date：" with a full-width colon
    surface.textOut(pageWidth - surface.textWidth(date) - 10 * cw, y, date);
    y += 2 * lh;
    if (input.table == nullptr)
        return;

    const LearningTable& table = *input.table;
    bool pageFull = false;
    for (int row = 1; row <= table.rowCount(); ++row) {
        if (table.cell(row, ColCarry).empty())
            continue;
        // A page is only begun for a row that goes on it, so a table that
        // exactly fills its last page ends without a blank sheet.
        if (pageFull) {
            surface.newPage();
            y = kMargin;
            pageFull = false;
        }
        char number[16];
        std::snprintf(number, sizeof number, "[%04d]:", row);
        surface.textOut(kMargin, y, number);
        // Six widths of "W" clear the row label in a proportional font; in a
        // fixed-pitch one the label is seven characters wide, so the Carry
        // text moves on to stay clear of it rather than print over it.
        const int carryX = std::max(6 * cw, surface.textWidth(number) + surface.textWidth(" "));
        surface.textOut(kMargin + carryX, y, table.cell(row, ColCarry));
        surface.textOut(kMargin + 16 * cw, y, table.cell(row, ColComments));
        surface.textOut(kMargin + 56 * cw, y, table.cell(row, ColResult));
        y += lh;
        pageFull = y + kMargin > pageHeight;
    }
}

} // namespace quvan::tools
