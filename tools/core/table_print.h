#pragma once
// The table print: the file name and the date, then one line per table row
// that has a Carry text (row number, Carry, Comments, Result), as many rows
// per page as fit.

#include "platform/print/print_surface.h"

#include <string>
#include <string_view>

namespace quvan {
class LearningTable;
}

namespace quvan::tools {

struct TablePrintInput {
    // The text of the main window's path panel; only its file name is printed.
    std::string pathPanel;
    std::string date; // "yyyy/mm/dd"
    const LearningTable* table = nullptr;
};

// The print job's title: the application title and "[ Table Date ]".
std::string TablePrintTitle(std::string_view applicationTitle);

// The file name of a path, after its last "/" or "\".
std::string FileNameOf(std::string_view path);

// Draws the whole document on `surface` (which has begun it).
void PrintTable(platform::PrintSurface& surface, const TablePrintInput& input);

} // namespace quvan::tools
