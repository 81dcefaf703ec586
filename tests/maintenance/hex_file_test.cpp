// The firmware file: the line walk, the whole-file check that runs before
// the board is touched, and the scan for the last sector to erase. Records
// and checksums are worked out by hand next to each case.

#include "../frame/temp_dir.h"
#include "maintenance/hex_file.h"
#include "platform/user_text.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace quvan::maintenance {
namespace {

// 02+00+00+04+08+00 = 0E, so the checksum is F2.
constexpr const char* kUpper0800 = ":020000040800F2";
// 04+00+10+00+01+02+03+04 = 1E → E2.
constexpr const char* kData0010 = ":0400100001020304E2";
constexpr const char* kEnd = ":00000001FF";

std::vector<std::pair<std::string, int>> Lines(std::string_view data) {
    std::vector<std::pair<std::string, int>> lines;
    HexLineWalker walker(data);
    while (const auto line = walker.next())
        lines.emplace_back(std::string(line->text), line->number);
    return lines;
}

using LineList = std::vector<std::pair<std::string, int>>;

TEST(HexLineWalk, EndsAtCrLfAtLfAndAtTheEndOfTheData) {
    EXPECT_EQ(Lines("A\r\nB\r\n"), (LineList{{"A", 1}, {"B", 2}}));
    // A blank line between two CR LF ends is sent as an empty command; a last
    // line without a line end ends with the data.
    EXPECT_EQ(Lines("A\r\n\r\nB"), (LineList{{"A", 1}, {"", 2}, {"B", 3}}));
    // Files written on Linux end their lines with LF alone.
    EXPECT_EQ(Lines("A\nB\n"), (LineList{{"A", 1}, {"B", 2}}));
    EXPECT_EQ(Lines("A\rB"), (LineList{{"A", 1}, {"B", 2}}));
    // A blank LF line of an LF file is skipped but still counted.
    EXPECT_EQ(Lines("A\n\nB"), (LineList{{"A", 1}, {"B", 3}}));

    HexLineWalker walker("AB\r\nC");
    EXPECT_EQ(walker.next()->end, 2u); // the CR
    EXPECT_EQ(walker.next()->end, 5u); // the end of the data
    EXPECT_FALSE(walker.next());
    EXPECT_TRUE(walker.atEnd());
}

std::string File(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines)
        text += std::string(line) + "\r\n";
    return text;
}

TEST(HexFileCheck, AcceptsWellFormedFiles) {
    EXPECT_TRUE(CheckHexFile(File({kUpper0800, kData0010, kEnd})).ok);
    // Lower-case digits, blank lines, LF ends and a start address record (05)
    // are all fine: 04+00+00+05+08+00+01+31 = 43 → BD.
    EXPECT_TRUE(CheckHexFile(":0400100001020304e2\n\n:0400000508000131BD\n:00000001FF\n").ok);
    // What follows the end-of-file record is never sent, so never judged.
    EXPECT_TRUE(CheckHexFile(File({kData0010, kEnd, "not a record", "\x1A"})).ok);
    // The end record may be the last line, without a line end.
    EXPECT_TRUE(CheckHexFile(std::string(kData0010) + "\r\n" + kEnd).ok);
}

struct BadCase {
    std::string file;
    int line;
    std::string fault;
};

TEST(HexFileCheck, NamesTheLineAndTheFault) {
    const std::vector<BadCase> cases = {
        // 1E → E2, not E3.
        {File({kUpper0800, ":0400100001020304E3", kEnd}), 2,
         "チェックサムが E3 ですが、レコードの内容からは E2 です"},
        // Type 03 (start segment address) is not one the loader takes;
        // 04+03+38 = 3F → C1 is a right checksum.
        {File({":0400000300003800C1", kEnd}), 1,
         "レコードタイプ 03 は使えません（00, 01, 02, 04, 05 のみ）"},
        {File({":0500100001020304E2", kEnd}), 1,
         "バイト数は 5 ですが、行のデータは 4 バイトです"},
        // ':' is character 1, so the 'G' after 14 digits is character 16.
        {File({":04001000010203G4E2", kEnd}), 1, "16 文字目 ('G') は16進数の数字ではありません"},
        // A blank counts as a line of its own in the numbering.
        {"\r\n0400100001020304E2\r\n:00000001FF\r\n", 2,
         "レコードではありません（':' で始まっていません）"},
        {File({":0400100001020304E", kEnd}), 1, "レコードの16進数の桁数が奇数です"},
        {File({":000000", kEnd}), 1, "レコードが短すぎます"},
        // An end record with data: 01+01+AA = AC → 54.
        {File({":01000001AA54"}), 1, "タイプ 01 のレコードのデータは 0 バイトです（1 バイトあります）"},
        // An extended address with one byte: 01+04+08 = 0D → F3.
        {File({":0100000408F3", kEnd}), 1, "タイプ 04 のレコードのデータは 2 バイトです（1 バイトあります）"},
        // Trailing blanks are not part of any record.
        {File({":0400100001020304E2 ", kEnd}), 1, "20 文字目 (' ') は16進数の数字ではありません"},
        {File({kUpper0800, kData0010}), 0, "ファイルに終了レコード (:00000001FF) がありません"},
        {"", 0, "ファイルが空です"},
    };
    for (const BadCase& c : cases) {
        const HexFileCheck check = CheckHexFile(c.file);
        EXPECT_FALSE(check.ok) << c.file;
        EXPECT_EQ(check.line, c.line) << c.file;
        EXPECT_EQ(check.fault, c.fault) << c.file;
    }
    EXPECT_EQ(CheckHexFile(File({kUpper0800, ":0400100001020304E3"})).message(),
              "2 行目: チェックサムが E3 ですが、レコードの内容からは E2 です");
}

// The fault reads in the window's language, its numbers where the
// translation puts them.
TEST(HexFileCheck, TheFaultFollowsTheInstalledTranslation) {
    user_text::SetTranslator([](const char* context, const char* source) {
        const std::string text = source;
        if (std::string(context) != "HexFile")
            return std::string();
        if (text == "%1 行目: %2")
            return std::string("%2 (line %1)");
        if (text == "チェックサムが %1 ですが、レコードの内容からは %2 です")
            return std::string("the checksum is %1 but the record's bytes need %2");
        return std::string();
    });
    const std::string message =
        CheckHexFile(File({kUpper0800, ":0400100001020304E3", kEnd})).message();
    user_text::SetTranslator({});
    EXPECT_EQ(message, "the checksum is E3 but the record's bytes need E2 (line 2)");
}

TEST(LastAddressScan, OnlyTheStartOfTheLastDataRecordCounts) {
    // 32 bytes from 0x0800BFF0 run past 0x0800BFFF, but the record starts in
    // sector 2: 20+BF+F0 = 1CF → 31.
    const std::string past = ":20BFF000" + std::string(64, '0') + "31";
    LastAddressScan scan = ScanLastAddress(File({kUpper0800, past.c_str(), kEnd}));
    EXPECT_EQ(scan.sector, 2);
    EXPECT_EQ(scan.text(), "LastAdrs[0x0800:BFF0] EraseSector:2");

    // One byte at 0x0800C000: 01+C0 = C1 → 3F.
    scan = ScanLastAddress(File({kUpper0800, ":01C00000003F", kEnd}));
    EXPECT_EQ(scan.sector, 3);
    EXPECT_EQ(scan.text(), "LastAdrs[0x0800:C000] EraseSector:3");

    // 0x08060000: 02+04+08+06 = 14 → EC; a byte at offset 0: 01 → FF.
    EXPECT_EQ(ScanLastAddress(File({":020000040806EC", ":0100000000FF", kEnd})).sector, 7);
}

TEST(LastAddressScan, StopsAtTheFirstRecordWithoutBytes) {
    // Data after the end-of-file record is not counted.
    EXPECT_EQ(ScanLastAddress(
                  File({kUpper0800, ":01C00000003F", kEnd, ":020000040806EC", ":0100000000FF"}))
                  .sector,
              3);
    // Nor is data after a data record with byte count 00.
    const LastAddressScan scan =
        ScanLastAddress(File({kUpper0800, kData0010, ":0000000000", ":01C00000003F", kEnd}));
    EXPECT_EQ(scan.lower, 0x0010u);
    EXPECT_EQ(scan.sector, 2);
    // Without an extended linear address the upper half is 0: 01+1A+40 = 5B → A5.
    EXPECT_EQ(ScanLastAddress(File({":011A400000A5", kEnd})).text(),
              "LastAdrs[0x0000:1A40] EraseSector:2");
    // Nothing readable: all zero, sector 2.
    EXPECT_EQ(ScanLastAddress("garbage").text(), "LastAdrs[0x0000:0000] EraseSector:2");
}

TEST(LastAddressScan, SectorTableBoundsAreExclusiveAndSigned) {
    const std::vector<std::pair<std::uint32_t, int>> cases = {
        {0x08000000, 2},
        {0x0800BFFF, 2},
        {0x0800C000, 3},
        {0x0800FFFF, 3},
        {0x08010000, 4},
        {0x0801FFFF, 4},
        {0x08020000, 5},
        {0x0803FFFF, 5},
        {0x08040000, 6},
        {0x0805FFFF, 6},
        {0x08060000, 7},
        {0x7FFFFFFF, 7},
        // Compared as signed integers: the top half of the address space is
        // below every bound.
        {0x80000000, 2},
        {0xFFFFFFFF, 2}};
    for (const auto& [address, sector] : cases)
        EXPECT_EQ(FlashSectorOf(static_cast<std::int32_t>(address)), sector) << std::hex << address;
}

TEST(ReadWholeFile, ReadsBytesAndRefusesWhatIsNoFile) {
    test_support::TempDir dir;
    const std::string path = (dir.path() / "fw.hex").string();
    std::ofstream(path, std::ios::binary) << std::string("A\r\n\0B", 5);
    EXPECT_EQ(ReadWholeFile(path), std::string("A\r\n\0B", 5));
    EXPECT_FALSE(ReadWholeFile((dir.path() / "missing.hex").string()));
    EXPECT_FALSE(ReadWholeFile(dir.path().string())); // a folder
}

} // namespace
} // namespace quvan::maintenance
