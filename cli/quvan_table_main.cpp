// quvan-table: imports signal files into a table file, exports its rows in
// the formats other infrared tools read, and lists it. See kTableToolUsage.

#include "cli/table/table_tool.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return quvan::cli::RunTableTool(args, std::cout, std::cerr);
}
