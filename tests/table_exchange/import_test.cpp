// An imported signal as the board would capture it, learned into the table
// as a signal from a remote is; and a row taken back out as durations.
#include "table/exchange/board_capture.h"
#include "table/exchange/flipper_ir.h"
#include "table/exchange/signal_export.h"
#include "table/exchange/signal_import.h"
#include "table/exchange/signal_learner.h"
#include "table/learning_table.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>

namespace quvan::exchange {
namespace {

using protocols::Pulse;
using protocols::PulseList;

PulseList Capture(const ImportedSignal& s) {
    auto lane = std::make_unique<WaveLane>();
    return BoardCapture(s, HoldRules{}, *lane);
}

ImportedSignal Raw(Durations d) {
    ImportedSignal s;
    s.carrierHz = 38000;
    s.once = std::move(d);
    return s;
}

// Checks pulses [from, from + expected.size()) and returns the next index.
void ExpectPulses(const PulseList& p, std::size_t from, const PulseList& expected) {
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("pulse " + std::to_string(from + i));
        ASSERT_LT(from + i, p.size());
        EXPECT_EQ(p[from + i], expected[i]);
    }
}

TEST(BoardCapture, RecordingWithoutGapRepeatsEvery108ms) {
    // 4 ms long, so 104 ms of silence follow; held 800 ms (the 500 ms
    // learning time and 300 more): frames start at 0, 108, ... 756 ms.
    const PulseList p = Capture(Raw({1000, 500, 1000, 500, 1000}));
    ASSERT_EQ(p.size(), 8u * 3u);
    for (std::size_t f = 0; f < 7; ++f)
        ExpectPulses(p, 3 * f, {{1000, 1500}, {1000, 1500}, {1000, 105000}});
    EXPECT_EQ(p.back(), (Pulse{1000, 501000}));
}

TEST(BoardCapture, RecordingThatEndsWithARepeatedFrameRepeatsThatFrame) {
    // Frame A twice, 20 ms apart: the held button sends A every 24.5 ms.
    // After the recording (49 ms with its gap) 31 more frames start before
    // 800 ms: 33 frames of 3 pulses.
    const PulseList p = Capture(Raw({2000, 1000, 500, 500, 500, 20000, 2000, 1000, 500, 500, 500}));
    ASSERT_EQ(p.size(), 99u);
    for (std::size_t f = 0; f < 32; ++f)
        ExpectPulses(p, 3 * f, {{2000, 3000}, {500, 1000}, {500, 20500}});
    EXPECT_EQ(p.back(), (Pulse{500, 500500}));

    // A lead-in, then the frame R twice 90 ms apart: R goes on repeating.
    const PulseList q =
        Capture(Raw({9000, 4500, 560, 40000, 3000, 2000, 560, 90000, 3000, 2000, 560}));
    // L and R R take 245.18 ms; R starts again every 95.56 ms, 6 times before 800 ms.
    ASSERT_EQ(q.size(), 2u + 8u * 2u);
    ExpectPulses(q, 0, {{9000, 13500}, {560, 40560}});
    for (std::size_t f = 0; f < 7; ++f)
        ExpectPulses(q, 2 + 2 * f, {{3000, 5000}, {560, 90560}});
    EXPECT_EQ(q.back(), (Pulse{560, 500560}));
}

TEST(BoardCapture, GivenRepeatSequenceFollowsTheFirstOne) {
    ImportedSignal s = Raw({9000, 4500, 560, 40000});
    s.repeat = {9000, 2250, 560, 96000};
    s.repeatGiven = true;
    // 54.06 ms, then a repeat every 107.81 ms: 7 of them start before 800 ms.
    const PulseList p = Capture(s);
    ASSERT_EQ(p.size(), 16u);
    ExpectPulses(p, 0, {{9000, 13500}, {560, 40560}});
    for (std::size_t f = 0; f < 6; ++f)
        ExpectPulses(p, 2 + 2 * f, {{9000, 11250}, {560, 96560}});
    EXPECT_EQ(p.back(), (Pulse{560, 500560}));
}

ImportedSignal Parsed(std::string_view protocol, std::string_view address, std::string_view command,
                      std::string_view name = "KEY") {
    const std::string text = "Filetype: IR signals file\nVersion: 1\nname: " + std::string(name) +
                             "\ntype: parsed\nprotocol: " + std::string(protocol) +
                             "\naddress: " + std::string(address) +
                             "\ncommand: " + std::string(command) + "\n";
    SignalFile f = ReadFlipperIr(text);
    EXPECT_EQ(f.accepted.size(), 1u);
    return f.accepted.at(0);
}

TEST(SignalLearner, NecCodeLearnedAsFromTheRemote) {
    // NEC address 0x20, command 0x02: bytes 20 DF 02 FD, 16 ones and 16
    // zeros, so the frame lasts 13500 + 16 * 2250 + 16 * 1120 + 560 = 67980
    // µs and its stop pulse's period reaches to 108 ms: 40580. Repeat codes
    // follow every 108 ms: 9000/11250 and 560/(108000 - 11810 + 560).
    LearningTable table(kStdTableRows);
    SignalLearner learner(table, LearningOptions{});
    ASSERT_EQ(learner.learn(Parsed("NEC", "20 00 00 00", "02 00 00 00", "POWER"), 7), std::nullopt);
    EXPECT_EQ(table.cell(7, ColCarry), "38.0kHz");
    EXPECT_EQ(table.cell(7, ColFrames), "3");
    EXPECT_EQ(table.cell(7, ColComments), "POWER");
    EXPECT_EQ(table.cell(7, ColResult), "Tm:NEC-32R    d:20DF 02FD");
    const LearnedSignal& r = table.record(7);
    EXPECT_EQ(r.Carry, 380);
    EXPECT_EQ(r.DataBits, 36);
    EXPECT_EQ(r.RepeatBit, 34);
    const std::array<std::int32_t, 6> high{9000, 560, 560, 560, 9000, 560};
    const std::array<std::int32_t, 6> width{13500, 1120, 2250, 40580, 11250, 96750};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(r.PatternHigh[i], high[i]) << i;
        EXPECT_EQ(r.PatternWidth[i], width[i]) << i;
    }
    EXPECT_EQ(PatternCodeText(r), "0"
                                  "11111211" // 20
                                  "22222122" // DF
                                  "12111111" // 02
                                  "21222222" // FD
                                  "345");
}

// 17 pulse shapes: marks of 300, 600, 1200 and 2400 µs, each with spaces of
// 300, 900, 2700 ... µs; no two within 20 % of each other's mark and 15 % of
// each other's period.
Durations SeventeenShapes() {
    Durations d;
    for (int i = 0; i < 17; ++i) {
        int space = 300;
        for (int k = 0; k < i / 4; ++k)
            space *= 3;
        d.push_back(300 << (i % 4));
        d.push_back(space);
    }
    return d;
}

TEST(SignalLearner, SeventeenPulseShapesAreRefusedAndTheRowKept) {
    const Durations d = SeventeenShapes();
    LearningTable table(kStdTableRows);
    table.setCell(4, ColComments, "before");
    SignalLearner learner(table, LearningOptions{});
    EXPECT_EQ(learner.learn(Raw(d), 4), std::string(kTooManyPatternsReason));
    EXPECT_EQ(table.cell(4, ColComments), "before");
    EXPECT_TRUE(table.isBlank(4));
    EXPECT_EQ(table.record(4).Carry, 0);
}

TEST(ImportSignals, ConsecutiveBlankRowsFromTheStartRowNamesAndRefusals) {
    LearningTable table(kStdTableRows);
    table.setCell(3, ColCarry, "38.0kHz"); // taken
    table.setCell(4, ColComments, "kept"); // blank: its Carry cell is empty
    SignalFile file;
    file.accepted = {Parsed("SIRC", "01 00 00 00", "15 00 00 00", "Power"),
                     Parsed("SIRC", "01 00 00 00", "12 00 00 00", "Vol_up")};
    file.accepted[1].line = 9;
    ImportedSignal bad = Raw(SeventeenShapes());
    bad.name = "Noise";
    bad.line = 5;
    file.accepted.insert(file.accepted.begin() + 1, bad);
    file.refused.push_back({12, "Broken", "a reason"});

    const ImportReport report = ImportSignals(table, file, LearningOptions{}, 2);
    ASSERT_EQ(report.added.size(), 2u);
    EXPECT_EQ(report.added[0].row, 2);
    EXPECT_EQ(report.added[1].row, 4);
    EXPECT_EQ(table.cell(2, ColComments), "Power");
    EXPECT_EQ(table.cell(2, ColResult), "Tm:SONY12     d:0115");
    EXPECT_EQ(table.cell(4, ColComments), "kept");
    EXPECT_EQ(table.cell(4, ColResult), "Tm:SONY12     d:0112");
    EXPECT_EQ(ImportSummary(report), "2 signals added (rows 2 to 4), 2 refused.\n"
                                     "line 5: Noise: " +
                                         std::string(kTooManyPatternsReason) +
                                         "\nline 12: Broken: a reason");

    // From the last row on there is room for one signal only.
    LearningTable small(kStdTableRows);
    const ImportReport full = ImportSignals(small, file, LearningOptions{}, kStdTableRows);
    EXPECT_EQ(full.added.size(), 1u);
    ASSERT_EQ(full.refused.size(), 3u);
    EXPECT_EQ(full.refused[1].name, "Vol_up");
    EXPECT_EQ(full.refused[1].reason, "no blank row is left in the table");
}

std::string Slurp(const std::string& name) {
    std::ifstream in(std::string(QUVAN_TEST_DATA) + "/ir-remotes/" + name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string ResultOf(const std::string& file, const std::string& name, bool pro = false) {
    SignalFile f = ReadFlipperIr(Slurp(file));
    LearningOptions options;
    options.ProEdition = pro;
    LearningTable table(kProTableRows);
    SignalLearner learner(table, options);
    for (const ImportedSignal& s : f.accepted) {
        if (s.name == name) {
            EXPECT_EQ(learner.learn(s, 1), std::nullopt);
            return table.cell(1, ColResult);
        }
    }
    ADD_FAILURE() << name << " not in " << file;
    return {};
}

TEST(SampleFiles, ParsedCodesDecodeToTheBytesOfTheirProtocols) {
    // NEC 00/45: 00 FF 45 BA with repeat codes. 00FF stays NEC in the
    // standard edition and is a KANON code in Pro.
    EXPECT_EQ(ResultOf("LED_Disco_Light.ir", "POWER"), "Tm:NEC-32R    d:00FF 45BA");
    EXPECT_EQ(ResultOf("LED_Disco_Light.ir", "POWER", true), "Tm:KANON-Rep  d:00FF 45BA");
    // NECext 10E7 / 06F9 sent as they are.
    EXPECT_EQ(ResultOf("Edifier_r1855db.ir", "Vol_up"), "Tm:NEC-32R    d:10E7 06F9");
    // Samsung32 07 / E6: 07 07 E6 19, full frames repeated.
    EXPECT_EQ(ResultOf("Samsung_BN59-01385C.ir", "Power"), "Tm:SAMSUNG-D  d:0707 E619");
    // SIRC command 0x15, address 1: the groups 15 and 01, shown address first.
    EXPECT_EQ(ResultOf("Sony_KD.ir", "Power"), "Tm:SONY12     d:0115");
    // SIRC15 command 0x60, address 0x77.
    EXPECT_EQ(ResultOf("Sony_BDP-S370.ir", "Theater"), "Tm:SONY15     d:7760");
    // SIRC20 command 0x16, address 0x1C5A (device 0x1A, extension 0xE2):
    // groups 16, 5A (device and 3 extension bits), 1C (the other 5).
    EXPECT_EQ(ResultOf("Sony_BDP-S370.ir", "Open/Close"), "Tm:SONY20     d:5A1C 16");
    // Kaseikyo vendor 0x2002, genres B/0, data 0x3D0, id 0: 02 20 B0 00 3D,
    // check B0 ^ 00 ^ 3D = 8D.
    EXPECT_EQ(ResultOf("Panasonic_DPUB820.ir", "Power"), "Tm:KASEIKYO   d:0220 B000 3D8D");
}

TEST(SignalExport, LeadInAndRepeatSectionFromThePatterns) {
    LearningTable table(kStdTableRows);
    SignalLearner learner(table, LearningOptions{});
    ASSERT_EQ(learner.learn(Parsed("NEC", "20 00 00 00", "02 00 00 00", "POWER"), 1), std::nullopt);
    const auto exported = ExportRow(table, 1);
    ASSERT_TRUE(std::holds_alternative<ExportedSignal>(exported));
    const ExportedSignal& s = std::get<ExportedSignal>(exported);
    EXPECT_EQ(s.name, "POWER");
    EXPECT_EQ(s.carrierHz, 38000);
    ASSERT_EQ(s.leadIn.size(), 68u);
    EXPECT_EQ((Durations{s.leadIn.begin(), s.leadIn.begin() + 4}),
              (Durations{9000, 4500, 560, 560}));
    EXPECT_EQ((Durations{s.leadIn.end() - 2, s.leadIn.end()}), (Durations{560, 40020}));
    EXPECT_EQ(s.repeat, (Durations{9000, 2250, 560, 96190}));
    EXPECT_TRUE(PatternsRelearnUnchanged(table.record(1), 20, 15));

    // Faulty records are named, not written.
    LearnedSignal& r = table.record(2);
    r.Carry = 380;
    r.DataBits = 2;
    r.PatternHigh[0] = 560;
    r.PatternWidth[0] = 560;
    EXPECT_EQ(std::get<std::string>(ExportRow(table, 2)),
              "pattern 0 (mark 560, period 560) has no space after its mark");
    r.RepeatBit = 2;
    EXPECT_EQ(std::get<std::string>(ExportRow(table, 2)),
              "its repeat section starts at pulse 2 of 2");
    const ExportSelection sel = CollectRows(table, {1, 2, 3});
    EXPECT_EQ(sel.exported.size(), 1u);
    EXPECT_EQ(sel.skipped,
              (std::vector<std::string>{"row 2: its repeat section starts at pulse 2 of 2"}));
}

TEST(SignalExport, PatternsThatWouldMergeOnImportAreNamed) {
    LearningTable table(kStdTableRows);
    LearnedSignal& r = table.record(1);
    r.Carry = 380;
    r.DataBits = 3;
    // 500/1530 lies within 20 % and 15 % of 580/1560: learned again, the
    // third pulse joins pattern 1.
    r.PatternHigh = {3000, 580, 500};
    r.PatternWidth = {4500, 1560, 1530};
    r.PatternCode[0] = 0;
    r.PatternCode[1] = 1;
    r.PatternCode[2] = 2;
    EXPECT_FALSE(PatternsRelearnUnchanged(r, 20, 15));
    const ExportSelection sel = CollectRows(table, {1});
    EXPECT_EQ(sel.exported.size(), 1u);
    ASSERT_EQ(sel.warnings.size(), 1u);
    EXPECT_EQ(sel.warnings[0].rfind("row 1: two of its pulse shapes", 0), 0u);
    // With tighter tolerances they stay apart.
    EXPECT_TRUE(PatternsRelearnUnchanged(r, 10, 1));
}

} // namespace
} // namespace quvan::exchange
