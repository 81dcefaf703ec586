// Eiritsu, Philips and Serial decoders on envelopes built cell by cell.

#include "decode/sampling_decoders.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace quvan {
namespace {

// A lane from an envelope given as cells of cellUs (true = mark); the capture
// starts with the first mark, and the last pair ends with a gap of gapUs.
std::unique_ptr<WaveLane> FromCells(const std::vector<bool>& cells, int cellUs, int gapUs) {
    auto lane = std::make_unique<WaveLane>();
    int index = -1;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (cells[i] && (i == 0 || !cells[i - 1])) {
            ++index;
            lane->Pairs[index] = {0, 0};
        }
        if (index < 0)
            continue;
        if (cells[i])
            lane->Pairs[index].High += cellUs;
        lane->Pairs[index].Width += cellUs;
    }
    lane->Pairs[index].Width += gapUs;
    lane->LastIndex = index;
    return lane;
}

void Append(std::unique_ptr<WaveLane>& lane, const WaveLane& next) {
    for (int i = 0; i <= next.LastIndex; ++i)
        lane->Pairs[lane->LastIndex + 1 + i] = next.Pairs[i];
    lane->LastIndex += next.LastIndex + 1;
}

std::vector<bool> EiritsuFrame(std::initializer_list<int> spaceCells) {
    std::vector<bool> cells(32, true);
    for (int c : spaceCells)
        cells[static_cast<std::size_t>(c)] = false;
    return cells;
}

TEST(EiritsuDecoder, FlagsFrameWithoutSecondCode) {
    // Spaces (read as 1) in cells 6 and 10 set flag bits 0 and 2.
    auto lane = FromCells(EiritsuFrame({6, 10}), 833, 50000);
    EXPECT_EQ(EiritsuDecoder(*lane), "IndexKB  m:05 b:--");
}

// Cells after the capture read as space (no carrier), whatever an earlier
// capture left in the lane's storage.
TEST(EiritsuDecoder, CellsPastTheCaptureAreSpaceNotStaleData) {
    auto lane = FromCells(EiritsuFrame({6, 10}), 833, 0);
    lane->Pairs[2] = {1666, 1666}; // the capture ends with cell 12
    auto stale = std::make_unique<WaveLane>(*lane);
    stale->Pairs[3] = {8330, 8330};
    // Flags: cells 6 and 10 (bits 0, 2) and 13, 14, 16, 17 past the end.
    EXPECT_EQ(EiritsuDecoder(*lane), "IndexKB  m:F5 b:--");
    EXPECT_EQ(EiritsuDecoder(*stale), "IndexKB  m:F5 b:--");
}

TEST(EiritsuDecoder, SpaceInCellOneSwitchesToMsModeAndKeepsTheDifferingFrame) {
    auto lane = FromCells(EiritsuFrame({1, 8, 9, 24}), 833, 20000);
    auto second = FromCells(EiritsuFrame({1, 8, 24}), 833, 20000);
    Append(lane, *second);
    EXPECT_EQ(EiritsuDecoder(*lane), "IndexMS  m:0203 0001 b:0201 0001");
}

// RC5 half-bits (Manchester, 1 = space then mark) of start 1 1, toggle t,
// address 5 and command 0x35; the capture begins with the first mark.
std::vector<bool> Rc5HalfBits(bool toggle) {
    const int bits[14] = {1, 1, toggle ? 1 : 0, 0, 0, 1, 0, 1, 1, 1, 0, 1, 0, 1};
    std::vector<bool> half;
    for (int b : bits) {
        half.push_back(b == 0);
        half.push_back(b == 1);
    }
    return {half.begin() + 1, half.end()};
}

std::unique_ptr<WaveLane> Rc5Capture(bool toggle1, bool toggle2) {
    // Frames start 113778 µs apart.
    auto lane = FromCells(Rc5HalfBits(toggle1), 889, 113778 - 889 * 27);
    auto second = FromCells(Rc5HalfBits(toggle2), 889, 50000);
    Append(lane, *second);
    return lane;
}

TEST(PhilipsDecoder, RepeatedCodeOnceDifferentCodeTwice) {
    const SamplingParams p{450, 878, 32};
    // Half-bits 1..27 of the frame are sampled by cells 0..26.
    EXPECT_EQ(PhilipsDecoder(*Rc5Capture(false, false), p), "Philips d:AD 4C CD 04");
    EXPECT_EQ(PhilipsDecoder(*Rc5Capture(false, true), p), "Philips d:AD 4C CD 04 B5 4C CD 04");
}

// One RC6 mode-0 frame, address 0 and command 0, toggle 0, as mark/period
// pairs: leader 2666/889, start bit 1, mode bits 000, the double-width
// trailer bit, then sixteen 0 bits (space then mark, 444 µs halves).
std::unique_ptr<WaveLane> Rc6Frame() {
    auto lane = std::make_unique<WaveLane>();
    const PulsePair pairs[] = {{2666, 3555}, {444, 1332}, {444, 888},
                               {444, 888},   {444, 1332}, {888, 1332}};
    int index = 0;
    for (const PulsePair& pair : pairs)
        lane->Pairs[index++] = pair;
    while (index < 21)
        lane->Pairs[index++] = {444, 888}; // a data bit's mark, the next one's space
    lane->Pairs[index] = {444, 50444};     // the last bit's mark and the gap
    lane->LastIndex = index;
    return lane;
}

TEST(PhilipsDecoder, Rc6FrameSampledEveryHalfBit) {
    // Cells every 444 µs from 222 µs, a quarter into each half-bit. First
    // word, cell by cell: leader 111111 00, start bit 1 0, mode bits 01 01 01,
    // trailer 00 11, then the 0 bits 01 01 .. (bytes lowest first: 3F A9 AC AA).
    // The frame restarts at the end of the pair where cell 32 falls (14655 µs,
    // pair 12) and reads the remaining 0 bits (10 10 ..), the last mark and the
    // gap: 55 55 05 00. Then the pairs have run out.
    EXPECT_EQ(PhilipsDecoder(*Rc6Frame(), {222, 444, 32}), "Philips d:3F A9 AC AA 55 55 05 00");
}

TEST(PhilipsDecoder, OnlyWholeBytesAndNothingBeyondTheWord) {
    EXPECT_EQ(PhilipsDecoder(*Rc5Capture(false, false), {450, 878, 28}), "Philips d:AD 4C CD");
    // A word holds 32 cells; 64 cells must not print bytes that do not exist.
    EXPECT_EQ(PhilipsDecoder(*Rc5Capture(false, false), {450, 878, 64}), "Philips d:AD 4C CD 04");
    EXPECT_EQ(PhilipsDecoder(*Rc5Capture(false, false), {450, 0, 32}), "Philips d:");
}

// Cells of one serial byte in mode 3: positions 0,1,2 and 4,5,6.
void PushMode3(std::vector<bool>& cells, unsigned byte) {
    for (int pos : {0, 1, 2, 4, 5, 6})
        cells.push_back(((byte >> pos) & 1u) != 0);
}

std::unique_ptr<WaveLane> UShowaCapture() {
    std::vector<bool> cells;
    for (unsigned b : {0x11u, 0x22u, 0x44u, 0x24u, 0x42u, 0x11u, 0x22u, 0x33u, 0x55u})
        PushMode3(cells, b);
    return FromCells(cells, 1480, 100000);
}

TEST(SerialDecoder, UShowaFrameAndItsIdentification) {
    const SerialResult r = SerialDecoder(*UShowaCapture(), {250, 1480, 54}, 3);
    EXPECT_EQ(r.Text, "U-SHOWA(3bit) d:11 22 44 24 42 11 22 33 55");
    // Digits 1,1,2,2,1,2,2,1,0,0,1,1 in base 3.
    ASSERT_TRUE(r.SerialId);
    EXPECT_EQ(*r.SerialId, 292900);
}

TEST(SerialDecoder, FiftySixCellsStartWithAnEightCellByte) {
    const SerialResult r = SerialDecoder(*UShowaCapture(), {250, 1480, 56}, 3);
    EXPECT_EQ(r.Text, "Serial(3bit) d:89 04 11 45 30 42 64 26 13");
    EXPECT_FALSE(r.SerialId);
}

TEST(SerialDecoder, SymbolSizeZeroAndLongFramesStayInBounds) {
    // Symbol size 0 has no remainder: every byte takes eight cells.
    const SerialResult zero = SerialDecoder(*UShowaCapture(), {250, 1480, 16}, 0);
    EXPECT_EQ(zero.Text, "Serial(0bit) d:89 44");
    // 600 cells of eight-cell bytes ask for 75 bytes; at most 64 are kept.
    std::vector<bool> cells(600, true);
    auto lane = FromCells(cells, 100, 1000);
    const SerialResult many = SerialDecoder(*lane, {50, 100, 600}, 8);
    EXPECT_EQ(many.Text.size(), std::string("Serial(8bit) d:").size() + 64 * 3 - 1);
}

TEST(SamplingOverlayCells, ValuesByKindAndNothingAtCoarseZoom) {
    auto lane = FromCells(EiritsuFrame({6, 10}), 833, 50000);
    const auto cells = SamplingOverlayCells(*lane, SamplingKind::Eiritsu, kEiritsuParams, 100, 60);
    // x = t / 100 + 10 for t = 260, 1093, .. while x < 60: 12, 20, 29, 37, 45, 54.
    ASSERT_EQ(cells.size(), 6u);
    EXPECT_EQ(cells[0].x, 12);
    EXPECT_EQ(cells[1].x, 20);
    EXPECT_EQ(cells[0].value, '0'); // Eiritsu writes 0 in the mark
    EXPECT_TRUE(
        SamplingOverlayCells(*lane, SamplingKind::Eiritsu, kEiritsuParams, 150, 1000).empty());
    const auto philips =
        SamplingOverlayCells(*lane, SamplingKind::Philips, {450, 878, 32}, 100, 1000);
    ASSERT_FALSE(philips.empty());
    EXPECT_EQ(philips[0].value, '1'); // Philips writes 1 in the mark
}

} // namespace
} // namespace quvan
