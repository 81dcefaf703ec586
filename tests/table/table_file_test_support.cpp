#include "table_file_test_support.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace quvan::test {

std::string RowLine(int row, const std::string (&cells)[4], const LearnedSignal& s,
                    const std::string& twdDigits) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "[%03d],", row);
    std::string line = buffer;
    for (const std::string& cell : cells)
        line += cell + ",";
    std::snprintf(buffer, sizeof buffer, "Twc:%03d,Twb:%03d,Twr:%03d,", s.Carry, s.DataBits,
                  s.RepeatBit);
    line += buffer;
    for (int p = 0; p < 16; ++p) {
        std::snprintf(buffer, sizeof buffer, "Twp:%01X:%05d %06d,", p, s.PatternHigh[p],
                      s.PatternWidth[p]);
        line += buffer;
    }
    return line + "Twd:" + twdDigits + ",\r\n";
}

std::string BlankRowLine(int row) {
    static const std::string noCells[4];
    return RowLine(row, noCells, LearnedSignal{}, "");
}

ScratchFolder::ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "table-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace quvan::test
