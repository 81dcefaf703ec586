// The resident loader's dialogue and its checks of Intel HEX records.
#include "board_test_support.h"
#include "sim/intel_hex.h"

#include <gtest/gtest.h>

using namespace quvan::sim;
using namespace quvan::sim::test;

namespace {
bool contains(const BoardOutputs& out, std::string_view text) {
    for (const auto& o : out)
        if (o.text.find(text) != std::string::npos)
            return true;
    return false;
}

// A board in its loader, ready for records.
BoardModel ready_loader(BoardConfig config = {}) {
    config.reset_pause_ms = 50;
    BoardModel board(config);
    board.handle_command("Reset", 0);
    EXPECT_TRUE(contains(board.advance(50), "QUVAN-Loader"));
    EXPECT_TRUE(contains(board.handle_command("5:Last Sector to Erase", 60), "FLASH Sector:"));
    EXPECT_TRUE(contains(board.handle_command("Download Ready ?", 70), "Please send"));
    return board;
}
} // namespace

TEST(IntelHex, RecordChecks) {
    // Checksums worked out by hand: 02+00+00+04+08+00 = 0x0E, 0x100-0x0E = F2.
    EXPECT_TRUE(parse_hex_record(":020000040800F2").record);
    // 04+00+10+00+01+02+03+04 = 0x1E → E2.
    const auto data = parse_hex_record(":0400100001020304E2");
    ASSERT_TRUE(data.record);
    EXPECT_EQ(data.record->offset, 0x10);
    EXPECT_EQ(data.record->data, (std::vector<std::uint8_t>{1, 2, 3, 4}));
    EXPECT_TRUE(parse_hex_record(":00000001FF").record);
    EXPECT_TRUE(parse_hex_record(":0400000508000131BD").record); // start linear address

    EXPECT_FALSE(parse_hex_record(":0400100001020304E3").record); // checksum
    EXPECT_FALSE(parse_hex_record(":0500100001020304E2").record); // count vs length
    EXPECT_FALSE(parse_hex_record(":04001000010203G4E2").record); // not hex
    EXPECT_FALSE(parse_hex_record("0400100001020304E2").record);  // no colon
    EXPECT_FALSE(parse_hex_record(":0400000300003800C1").record); // type 03 not taken
    EXPECT_FALSE(parse_hex_record(":01000001AA54").record);       // EOF with data
    EXPECT_FALSE(parse_hex_record(":000000").record);             // too short
}

TEST(IntelHex, ExtendedAddressesPlaceTheData) {
    HexImage image;
    image.apply(*parse_hex_record(":020000040800F2").record);
    image.apply(*parse_hex_record(":0400100001020304E2").record);
    // Extended segment address 0x1000 → base 0x10000.
    image.apply(*parse_hex_record(":020000021000EC").record);
    image.apply(*parse_hex_record(":01000000AA55").record);
    EXPECT_EQ(image.bytes().at(0x08000010), 1);
    EXPECT_EQ(image.bytes().at(0x08000013), 4);
    EXPECT_EQ(image.bytes().at(0x00010000), 0xAA);
    EXPECT_EQ(image.bytes().size(), 5u);
}

TEST(Loader, DownloadDialogue) {
    BoardModel board = ready_loader();
    EXPECT_TRUE(board.handle_command(":020000040800F2", 100).empty());
    EXPECT_TRUE(board.handle_command(":0400100001020304E2", 100).empty());
    EXPECT_TRUE(contains(board.handle_command(":0400100001020304E3", 100), "error"));
    const auto end = board.handle_command(":00000001FF", 100);
    EXPECT_FALSE(contains(end, "error"));
    EXPECT_TRUE(board.hex_image().complete());
    EXPECT_EQ(board.hex_image().bytes().at(0x08000012), 3);

    // Reset goes back to the application, which announces its version.
    EXPECT_TRUE(board.handle_command("Reset", 200).empty());
    EXPECT_EQ(board.advance(250), BoardOutputs{line(board.version_line())});
    EXPECT_EQ(board.mode(), BoardMode::Trans);
}

TEST(Loader, DotsAfterAcceptedRecordsAndRefusals) {
    BoardModel board = ready_loader({.loader_dots = true});
    EXPECT_EQ(board.handle_command(":020000040800F2", 100), BoardOutputs{raw(".")});
    EXPECT_TRUE(contains(board.handle_command(":0400100001020304E3", 100), "error"));
    board.handle_command(":00000001FF", 100);
    // After the end of file no record is taken any more.
    EXPECT_TRUE(contains(board.handle_command(":020000040800F2", 100), "error"));
}

TEST(Loader, RefusesRecordsBeforeItIsReadyAndBadSectors) {
    BoardModel board({.reset_pause_ms = 50});
    board.handle_command("Reset", 0);
    board.advance(50);
    EXPECT_TRUE(contains(board.handle_command(":020000040800F2", 60), "error"));
    const auto bad = board.handle_command("9:Last Sector to Erase", 60);
    EXPECT_TRUE(contains(bad, "error"));
    EXPECT_FALSE(contains(bad, "FLASH Sector:"));
    // A loader being talked to does not hand over to the application.
    EXPECT_TRUE(board.advance(100000).empty());
    EXPECT_EQ(board.mode(), BoardMode::Loader);
}

TEST(LoaderFaults, ASilentLoaderStillHandsOverToTheApplication) {
    BoardModel board({.reset_pause_ms = 50, .loader_idle_ms = 1000, .loader_silent = true});
    board.handle_command("Reset", 0);
    EXPECT_TRUE(board.advance(50).empty()); // no announcement
    EXPECT_EQ(board.mode(), BoardMode::Loader);
    EXPECT_EQ(board.advance(1050), BoardOutputs{line(board.version_line())});
    EXPECT_EQ(board.mode(), BoardMode::Trans);
}

TEST(LoaderFaults, TheNthRecordIsRefusedAndNotWritten) {
    BoardModel board = ready_loader({.loader_error_at = 2});
    EXPECT_TRUE(board.handle_command(":020000040800F2", 100).empty());
    const auto second = board.handle_command(":0400100001020304E2", 100);
    EXPECT_EQ(second, BoardOutputs{line("Record error: flash write failed (simulated fault)")});
    EXPECT_TRUE(board.handle_command(":0400200001020304D2", 100).empty()); // 1E+10 → D2
    board.handle_command(":00000001FF", 100);
    EXPECT_EQ(board.hex_image().bytes().count(0x08000010), 0u);
    EXPECT_EQ(board.hex_image().bytes().at(0x08000020), 1);
    EXPECT_EQ(board.loader_records(), 4);
}

TEST(FirmwareImage, OneBlockFromTheLowestAddressWithGapsErased) {
    BoardModel board = ready_loader();
    std::vector<std::uint32_t> seen;
    board.on_firmware = [&](const HexImage& hex) { seen.push_back(hex.bytes().begin()->first); };
    board.handle_command(":020000040800F2", 100);
    board.handle_command(":0400100001020304E2", 100);
    board.handle_command(":0400200001020304D2", 100);
    board.handle_command(":00000001FF", 100);
    ASSERT_EQ(seen, std::vector<std::uint32_t>{0x08000010});
    const FirmwareImage image = firmware_image(board.hex_image());
    EXPECT_EQ(image.base, 0x08000010u);
    // 0x10..0x13, twelve erased bytes, then 0x20..0x23.
    EXPECT_EQ(image.bytes, std::string("\x01\x02\x03\x04") + std::string(12, '\xFF') +
                               std::string("\x01\x02\x03\x04"));
    EXPECT_TRUE(firmware_image(HexImage{}).bytes.empty());
}
