#pragma once
// Expected table-file bytes built straight from the format's definition
// (printf formats, hand-coded Shift-JIS), independent of the writer.

#include "table/learning_table.h"

#include <filesystem>
#include <string>

namespace quvan::test {

// "[%03d]," + the four cells each with ",", then the blank record fields.
std::string BlankRowLine(int row);

// The row line of `cells` (already CP932) and the record, with printf.
std::string RowLine(int row, const std::string (&cells)[4], const LearnedSignal& s,
                    const std::string& twdDigits);

// A fresh, empty folder for one test, removed again by its destructor.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

} // namespace quvan::test
