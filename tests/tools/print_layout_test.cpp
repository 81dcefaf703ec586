// The table and waveform print layouts, drawn on a surface that records
// them. Positions are worked out from the layout rules by hand.

#include "recording_surface.h"
#include "table/learning_table.h"
#include "tools/core/table_print.h"
#include "tools/core/wave_print.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

namespace quvan::tools {
namespace {

using platform::PenStyle;
using platform::PrintColour;

constexpr PrintColour kGrey{128, 128, 128};
constexpr PrintColour kGreen{0, 128, 0};

TEST(PrintTitles, ApplicationTitleThenTheKind) {
    EXPECT_EQ(TablePrintTitle("TAVIRO QUVAN-Pro Tool"), "TAVIRO QUVAN-Pro Tool[ Table Date ]");
    EXPECT_EQ(WavePrintTitle("TAVIRO QUVAN-Pro Tool"), "TAVIRO QUVAN-Pro Tool[ Wave Date ]");
    EXPECT_EQ(FileNameOf("/home/u/Dat/tv.Csv"), "tv.Csv");
    EXPECT_EQ(FileNameOf("C:\\Dat\\tv.Csv"), "tv.Csv");
    EXPECT_EQ(FileNameOf(""), "");
}

TEST(TablePrint, AnEmptyTablePrintsTheFileNameAndTheDateOnly) {
    LearningTable table(kStdTableRows);
    table.setCell(3, ColComments, "no carrier, not printed");
    RecordingSurface surface;
    PrintTable(surface, {"/tmp/Dat/table.Csv", "2025/01/02", &table});
    ASSERT_EQ(surface.texts.size(), 2u);
    EXPECT_EQ(surface.texts[0].text, "File: table.Csv");
    EXPECT_EQ(surface.texts[0].x, 100);
    EXPECT_EQ(surface.texts[0].y, 100);
    // "Date：2025/01/02" is 15 characters of 10 dots; 10 "W" widths from the right.
    EXPECT_EQ(surface.texts[1].text, "Date\xEF\xBC\x9A"
                                     "2025/01/02");
    EXPECT_EQ(surface.texts[1].x, 4000 - 150 - 100);
    EXPECT_EQ(surface.page, 0);
}

std::vector<int> RowXs(int wWidth) {
    LearningTable table(kStdTableRows);
    table.setCell(5, ColCarry, "38.0kHz");
    table.setCell(5, ColFrames, "3");
    table.setCell(5, ColComments, "TV");
    table.setCell(5, ColResult, "Tm:NEC d:00");
    RecordingSurface surface;
    surface.wWidth = wWidth;
    PrintTable(surface, {"", "2025/01/02", &table});
    // Line height: text height 20 + 4; the first row two lines below the top.
    const int y = 100 + 2 * 24;
    EXPECT_EQ(surface.textsAt(y),
              (std::vector<std::string>{"[0005]:", "38.0kHz", "TV", "Tm:NEC d:00"}));
    std::vector<int> xs;
    for (const DrawnText& t : surface.texts)
        if (t.y == y)
            xs.push_back(t.x);
    return xs;
}

TEST(TablePrint, RowsGoInFourColumnsWithoutFrames) {
    // A "W" of 14 dots (as in a proportional font): Carry at 6 W, Comments
    // at 16 W, Result at 56 W from the margin.
    EXPECT_EQ(RowXs(14), (std::vector<int>{100, 184, 324, 884}));
    // Fixed pitch, 10 dots: six widths would put Carry under the label's
    // colon ("[0005]:" is 70 dots); it starts a blank after the label.
    EXPECT_EQ(RowXs(10), (std::vector<int>{100, 180, 260, 660}));
}

// With a page 400 dots high, a row fits while it ends with y + 100 <= 400:
// rows at 148 .. 292 (7 rows) on the first page, 100 .. 292 (9) after it.
TEST(TablePrint, ALongTableGoesOnAtTheTopOfANewPage) {
    LearningTable table(kStdTableRows);
    for (int row = 1; row <= 20; ++row)
        table.setCell(row, ColCarry, "38.0kHz");
    RecordingSurface surface;
    surface.height = 400;
    PrintTable(surface, {"", "2025/01/02", &table});
    EXPECT_EQ(surface.page, 2);
    auto firstOf = [&](const std::string& label) {
        return *std::find_if(surface.texts.begin(), surface.texts.end(),
                             [&](const DrawnText& t) { return t.text == label; });
    };
    EXPECT_EQ(firstOf("[0007]:").page, 0);
    EXPECT_EQ(firstOf("[0007]:").y, 292);
    EXPECT_EQ(firstOf("[0008]:").page, 1);
    EXPECT_EQ(firstOf("[0008]:").y, 100);
    EXPECT_EQ(firstOf("[0017]:").page, 2);
    EXPECT_EQ(firstOf("[0017]:").y, 100);
}

TEST(TablePrint, ATableThatFillsItsLastPageExactlyEndsWithoutABlankPage) {
    LearningTable table(kStdTableRows);
    for (int row = 1; row <= 16; ++row) // 7 + 9 rows: both pages full
        table.setCell(row, ColCarry, "38.0kHz");
    RecordingSurface surface;
    surface.height = 400;
    PrintTable(surface, {"", "2025/01/02", &table});
    EXPECT_EQ(surface.page, 1);
}

TEST(WavePrint, PenWidthAndScaleFollowTheZoom) {
    EXPECT_EQ(WavePenWidth(25), 4);
    EXPECT_EQ(WavePenWidth(50), 3);
    EXPECT_EQ(WavePenWidth(100), 2);
    EXPECT_EQ(WavePenWidth(150), 1);
    EXPECT_EQ(WavePenWidth(200), 0);
    EXPECT_EQ(WavePenWidth(250), 1);
    EXPECT_EQ(WavePenWidth(3000), 1);
    EXPECT_EQ(WavePenWidth(333), 1); // not a step
    EXPECT_EQ(WavePrintScale(200), 80);
    EXPECT_EQ(WavePrintScale(25), 10);
    EXPECT_EQ(WavePrintScale(1), 1);
}

std::unique_ptr<WaveLane> LaneOf(std::vector<PulsePair> pairs) {
    auto lane = std::make_unique<WaveLane>();
    for (std::size_t k = 0; k < pairs.size(); ++k)
        lane->Pairs[k] = pairs[k];
    lane->LastIndex = static_cast<int>(pairs.size()) - 1;
    return lane;
}

std::vector<DrawnLine> LinesOf(const RecordingSurface& s, PrintColour colour) {
    std::vector<DrawnLine> found;
    for (const DrawnLine& l : s.lines)
        if (l.colour == colour)
            found.push_back(l);
    return found;
}

TEST(WavePrint, TracesUnderTheirHeadersEmptyLanesLeftOut) {
    auto lane0 = LaneOf({{560, 1120}, {560, 2250}});
    WaveLane empty; // LastIndex 0: not printed
    empty.Pairs[0] = {9000, 13500};
    auto lane2 = LaneOf({{600, 1200}, {600, 1200}});
    WavePrintInput input;
    input.zoom = 200; // 80 µs per dot
    input.lanes = {
        {lane0.get(), 3, "TV", "Tm:NEC d:00"}, {&empty, 4, "x", "y"}, {lane2.get(), 5, "AC", ""}};
    RecordingSurface surface; // font height 50
    PrintWaves(surface, input);

    ASSERT_EQ(surface.texts.size(), 2u);
    EXPECT_EQ(surface.texts[0].text, "No.3:TV Tm:NEC d:00");
    EXPECT_EQ(surface.texts[0].x, 200);
    EXPECT_EQ(surface.texts[0].y, 250);
    EXPECT_EQ(surface.texts[0].colour, platform::kPrintBlack);
    EXPECT_EQ(surface.texts[1].text, "No.5:AC ");
    EXPECT_EQ(surface.texts[1].y, 250 + 150 + 200);

    // Baseline 250 + 80 + 50 + 20 = 400, mark level 320. Mark 560 µs is 7
    // dots, a period of 1120 µs 14, the second period ends at 3370/80 = 42.
    const std::vector<DrawnLine> trace = LinesOf(surface, kGreen);
    auto segment = [](const DrawnLine& l) { return std::array{l.x1, l.y1, l.x2, l.y2}; };
    ASSERT_GE(trace.size(), 9u);
    EXPECT_EQ(segment(trace[0]), (std::array{200, 400, 250, 400}));
    EXPECT_EQ(segment(trace[1]), (std::array{250, 400, 250, 320}));
    EXPECT_EQ(segment(trace[2]), (std::array{250, 320, 257, 320}));
    EXPECT_EQ(segment(trace[3]), (std::array{257, 320, 257, 400}));
    EXPECT_EQ(segment(trace[4]), (std::array{257, 400, 264, 400}));
    EXPECT_EQ(segment(trace[6]), (std::array{264, 320, 271, 320}));
    EXPECT_EQ(segment(trace[8]), (std::array{271, 400, 292, 400}));
    EXPECT_EQ(trace[0].width, 0); // zoom 200: the thinnest line
    EXPECT_EQ(trace[0].style, PenStyle::Solid);
    // The second printed lane: baseline 600 + 150.
    EXPECT_EQ(segment(trace[9]), (std::array{200, 750, 250, 750}));
}

TEST(WavePrint, ALaneStopsAtThePageEdge) {
    auto lane = LaneOf(std::vector<PulsePair>(100, {560, 1120}));
    WavePrintInput input;
    input.zoom = 200;
    input.lanes = {{lane.get(), 1, "", ""}};
    RecordingSurface surface;
    surface.width = 300;
    PrintWaves(surface, input);
    // Each period is 14 dots: the fourth ends at 250 + 56 = 306, past 300.
    const auto rises =
        std::count_if(surface.lines.begin(), surface.lines.end(),
                      [](const DrawnLine& l) { return l.x1 == l.x2 && l.y2 < l.y1; });
    EXPECT_EQ(rises, 4);
}

// Six pairs of 900/1800 µs, Ts 450, Tw 900, four instants per frame, zoom
// 100 (40 µs per dot). Frame 1 reads 1 0 1 0 at 450, 1350, 2250, 3150. It
// ends at 4050; the pairs reach that at 5400 (three pairs), so frame 2
// starts at 5850. The sampler moves at most one pair per instant and is one
// pair behind there: 5850 and 6750 read the space after an earlier mark (0,
// 0), 7650 lies in the mark of pair 4 (1), 8550 in its space (0). The frame
// ends at 9450, past the sixth pair: the lane is done.
TEST(WavePrint, PhilipsMarksSampleEachFrameFromTs) {
    auto lane = LaneOf(std::vector<PulsePair>(6, {900, 1800}));
    WavePrintInput input;
    input.zoom = 100;
    input.marks = PrintMarks::PhilipsSerial;
    input.ts = "450";
    input.tw = "900";
    input.bt = "4";
    input.lanes = {{lane.get(), 1, "", ""}, {lane.get(), 2, "", ""}};
    RecordingSurface surface;
    PrintWaves(surface, input);

    std::vector<std::string> labels;
    std::vector<int> xs;
    for (const DrawnText& t : surface.texts) {
        if (t.colour == kGrey && t.y == 250 + 220) { // lane 0: yL = 250
            labels.push_back(t.text);
            xs.push_back(t.x + 16);
        }
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"1", "0", "1", "0", "0", "0", "1", "0"}));
    EXPECT_EQ(xs, (std::vector<int>{261, 283, 306, 328, 396, 418, 441, 463}));
    // Lane 1: yL = (80 + 50 + 220) + 250 = 600.
    EXPECT_EQ(std::count_if(surface.texts.begin(), surface.texts.end(),
                            [](const DrawnText& t) { return t.y == 600 + 220; }),
              8);
    const std::vector<DrawnLine> marks = LinesOf(surface, platform::kPrintBlack);
    ASSERT_EQ(marks.size(), 16u);
    EXPECT_EQ(marks[0].x1, 261);
    EXPECT_EQ(marks[0].y1, 310);
    EXPECT_EQ(marks[0].y2, 470);
    EXPECT_EQ(marks[0].style, PenStyle::Dotted);
    EXPECT_EQ(marks[0].width, 1);
}

TEST(WavePrint, PhilipsMarksNeedAFineZoomAndUsableCells) {
    auto lane = LaneOf(std::vector<PulsePair>(6, {900, 1800}));
    WavePrintInput input;
    input.marks = PrintMarks::PhilipsSerial;
    input.lanes = {{lane.get(), 1, "", ""}};
    input.zoom = 150;
    RecordingSurface coarse;
    PrintWaves(coarse, input);
    EXPECT_TRUE(LinesOf(coarse, platform::kPrintBlack).empty());
    // A cell length of 0 would never leave the page: no marks at all.
    input.zoom = 50;
    input.tw = "0";
    RecordingSurface stuck;
    PrintWaves(stuck, input);
    EXPECT_TRUE(LinesOf(stuck, platform::kPrintBlack).empty());
    // Texts that are no numbers fall back to 450 / 878 / 32.
    input.tw = "x";
    input.ts = "";
    input.bt = "";
    RecordingSurface defaults;
    PrintWaves(defaults, input);
    const auto marks = LinesOf(defaults, platform::kPrintBlack);
    ASSERT_GE(marks.size(), 2u);
    EXPECT_EQ(marks[0].x1, 250 + 450 / 20);
    EXPECT_EQ(marks[1].x1, 250 + (450 + 878) / 20);
}

// An Eiritsu frame built so that instant i (260 + 833 i µs after the frame's
// start) lies 260 µs into pair i: 31 pairs of 833 µs and a last one of 1093,
// so the frame's pairs end exactly where its 32 instants end (26916 µs) and
// the next frame starts there. A mark of 500 µs reads 0 at its instant, one
// of 100 µs reads 1.
std::vector<PulsePair> EiritsuFrame(std::initializer_list<int> ones) {
    std::vector<PulsePair> pairs(32, {500, 833});
    pairs[31].Width = 1093;
    for (int i : ones)
        pairs[static_cast<std::size_t>(i)].High = 100;
    return pairs;
}

std::unique_ptr<WaveLane> EiritsuLane(std::initializer_list<std::vector<PulsePair>> frames) {
    std::vector<PulsePair> pairs;
    for (const auto& frame : frames)
        pairs.insert(pairs.end(), frame.begin(), frame.end());
    return LaneOf(pairs);
}

// Lane 0: frame A with ones at 6 and 10 (K bits 0x01 and 0x04: k:05), frame
// B with a one at instant 1 (two-nibble from now on) and at 6, 9, 17 (X 0x80
// and 0x01, Y 0x01), frame C like A but now two-nibble (X 0x80 and 0x02).
// Lane 1: frame A again, still two-nibble. Each frame's bytes stand at the x
// of the instant after its last: (start + 26916) / 80 + 250 - 16.
TEST(WavePrint, EiritsuTwoNibbleFramesLastForTheRestOfThePrint) {
    auto lane0 =
        EiritsuLane({EiritsuFrame({6, 10}), EiritsuFrame({1, 6, 9, 17}), EiritsuFrame({6, 10})});
    auto lane1 = EiritsuLane({EiritsuFrame({6, 10})});
    WavePrintInput input;
    input.zoom = 200;
    input.marks = PrintMarks::Eiritsu;
    input.lanes = {{lane0.get(), 1, "", ""}, {lane1.get(), 2, "", ""}};
    RecordingSurface surface;
    PrintWaves(surface, input);

    std::vector<std::array<std::string, 3>> bytes;
    for (const DrawnText& t : surface.texts)
        if (t.colour == kGrey)
            bytes.push_back({t.text, std::to_string(t.x), std::to_string(t.y)});
    // yL: 250 for lane 0, (80 + 50 + 260) + 250 = 640 for lane 1.
    const std::vector<std::array<std::string, 3>> expected{
        {"k:05", "570", "450"},  {"x:81", "906", "390"},  {"y:01", "906", "450"},
        {"x:82", "1243", "390"}, {"y:00", "1243", "450"}, {"x:82", "570", "780"},
        {"y:00", "570", "840"}};
    EXPECT_EQ(bytes, expected);
    // Zoom 200: the byte texts only, no instants.
    EXPECT_TRUE(LinesOf(surface, platform::kPrintBlack).empty());
}

TEST(WavePrint, EiritsuInstantsAtAFineZoomReadMarkAsZero) {
    auto lane = EiritsuLane({EiritsuFrame({6, 10}), EiritsuFrame({1, 6, 9, 17})});
    WavePrintInput input;
    input.zoom = 100;
    input.marks = PrintMarks::Eiritsu;
    input.lanes = {{lane.get(), 1, "", ""}};
    RecordingSurface surface;
    PrintWaves(surface, input);
    EXPECT_EQ(LinesOf(surface, platform::kPrintBlack).size(), 64u);
    std::string read;
    for (const DrawnText& t : surface.texts)
        if (t.colour == kGrey && t.text.size() == 1)
            read += t.text;
    ASSERT_EQ(read.size(), 64u);
    EXPECT_EQ(read.substr(0, 32), "00000010001000000000000000000000");
    EXPECT_EQ(read.substr(32), "01000010010000000100000000000000");
}

} // namespace
} // namespace quvan::tools
