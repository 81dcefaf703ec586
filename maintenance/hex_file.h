#pragma once
// The firmware file as the update reads it: an Intel HEX text, checked as a
// whole before the board is touched, scanned for the last flash sector the
// loader must erase, and walked line by line for sending.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quvan::maintenance {

// One line of the file, without its line end.
struct HexLine {
    std::string_view text;
    std::size_t end = 0; // offset of the byte after the text (its line end, or the data's end)
    int number = 0;      // counted from 1, as an editor counts lines
};

// Walks the lines of a HEX file. A line ends at a carriage return or a line
// feed (CR LF counts as one end); a line feed where a line would start is
// skipped, so a CR LF file gives exactly its lines and a blank line between
// two CR LF ends is an empty line. The last line may end with the data.
class HexLineWalker {
  public:
    explicit HexLineWalker(std::string_view data) : data_(data) {}
    std::optional<HexLine> next();
    bool atEnd() const { return pos_ >= data_.size(); }

  private:
    std::string_view data_;
    std::size_t pos_ = 0;
    int number_ = 1;
};

// The end-of-file record: byte count 00 and record type 01.
bool IsEndOfFileRecord(std::string_view line);

// The verdict on a whole file. Every line up to the end-of-file record must
// be an empty line or a well-formed record of type 00, 01, 02, 04 or 05;
// what follows the end-of-file record is never sent and not judged.
struct HexFileCheck {
    bool ok = false;
    int line = 0;                // the line at fault; 0 when the fault is the file's
    std::string fault;           // what is wrong, for the user
    std::string message() const; // "line 12: ..." or the fault alone
};
HexFileCheck CheckHexFile(std::string_view data);

// The last flash sector to erase, found from the start address of the last
// data record before the first record with a byte count of zero.
struct LastAddressScan {
    std::uint32_t upper = 0; // the last extended linear address
    std::uint32_t lower = 0; // the load offset of the last data record
    int sector = 2;
    std::string text() const; // "LastAdrs[0x0800:1A40] EraseSector:2"
};
LastAddressScan ScanLastAddress(std::string_view data);

// The flash sector that holds an address (sectors 2 to 7 of the board).
int FlashSectorOf(std::int32_t address);

// Reads a whole file; nullopt when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& path);

} // namespace quvan::maintenance
