// The diagnosis against captures changed on purpose: what it says must be
// what the recognition did, and what it suggests must work when a capture is
// learnt that way.

#include "cli/decode_pipeline.h"
#include "decode/capture_diagnosis.h"
#include "tests/decode/support/capture_builder.h"

#include <gtest/gtest.h>

namespace quvan::test {
namespace {

const std::vector<int> kNecBytes{0x20, 0xDF, 0x10, 0xEF};

// NEC frames (560 µs marks, 108 ms apart) with their timings given.
Signal Nec(int leaderMark, int leaderSpace, int zeroSpace, int oneSpace, int frames = 3) {
    return Repeat(PulseDistance(leaderMark, leaderSpace, 560, zeroSpace, oneSpace,
                                BitsLsbFirst(kNecBytes), 108000),
                  frames);
}

LearningOptions Ranges(int h, int w) {
    LearningOptions o;
    o.HrangeText = std::to_string(h);
    o.WrangeText = std::to_string(w);
    return o;
}

// The Result cell the tool gives these lines, learnt from the start.
std::string ResultOf(const std::vector<std::string>& lines, const LearningOptions& options) {
    DecodePipeline pipeline(options);
    std::string out, last;
    for (const std::string& line : lines)
        if (pipeline.handleLine(line, out))
            last = out;
    return last.substr(last.rfind('\t') + 1);
}

struct Diagnosed {
    explicit Diagnosed(const std::vector<std::string>& lines, LearningOptions o = {})
        : session(std::move(o)) {
        session.feed(lines);
        diagnosis = DiagnoseCapture(lane(), session.decoder.record(0), {});
    }
    const WaveLane& lane() const { return session.state->Lanes[0]; }
    Session session;
    CaptureDiagnosis diagnosis;
};

// Every window of the NEC timing, moved just outside: the nearest set is
// NEC, with that one window named and the distance to its end; 20 µs back
// and the capture is recognised. One value per pattern keeps the pattern
// centre on that value (the tolerances are symmetric about it).
TEST(Diagnosis, AWindowMissedByALittleIsNamedWithItsDistance) {
    struct Case {
        const char* what;
        Signal outside, inside;
        WindowKind kind;
        int pattern;
        std::int32_t value, by;
    };
    const Case cases[] = {
        {"leader mark low", Nec(8050, 4500, 565, 1690), Nec(8110, 4500, 565, 1690),
         WindowKind::LeaderHigh, 0, 8050, -50},
        {"leader mark high", Nec(10810, 4500, 565, 1690), Nec(10790, 4500, 565, 1690),
         WindowKind::LeaderHigh, 0, 10810, 10},
        {"leader period high", Nec(9000, 7210, 565, 1690), Nec(9000, 7190, 565, 1690),
         WindowKind::LeaderWidth, 0, 16210, 10},
        {"zero period high", Nec(9000, 4500, 800, 1690), Nec(9000, 4500, 780, 1690),
         WindowKind::ShortWidth, 1, 1360, 10},
        {"one period low", Nec(9000, 4500, 565, 1230), Nec(9000, 4500, 565, 1250),
         WindowKind::LongWidth, 2, 1790, -10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Diagnosed d(BoardLines(c.outside, "38.0"));
        ASSERT_FALSE(d.diagnosis.Recognised);
        ASSERT_FALSE(d.diagnosis.Nearest.empty());
        const NearMiss& nearest = d.diagnosis.Nearest.front();
        EXPECT_EQ(nearest.Set, 3);
        ASSERT_EQ(nearest.Misses.size(), 1u);
        EXPECT_EQ(nearest.Misses[0].Kind, c.kind);
        EXPECT_EQ(nearest.Misses[0].Pattern, c.pattern);
        EXPECT_EQ(nearest.Misses[0].Value, c.value);
        EXPECT_EQ(nearest.Misses[0].outsideBy(), c.by);
        EXPECT_EQ(d.diagnosis.Lines.at(2),
                  "Nearest format: NEC (set 3) — " + DescribeMiss(nearest.Misses[0]) + ".");
        EXPECT_EQ(ResultOf(BoardLines(c.inside, "38.0"), {}), "Tm:NEC-32A    d:20DF 10EF");
    }
}

// Jittered captures learnt with tolerances too tight to keep each symbol
// one pattern. Where the diagnosis names tolerances, learning the capture
// with them gives exactly the result it announced.
TEST(Diagnosis, TolerancesItSuggestsGetTheCaptureRecognised) {
    int suggested = 0;
    for (unsigned seed = 1; seed <= 6; ++seed) {
        for (int tight : {1, 2}) {
            SCOPED_TRACE(testing::Message() << "seed " << seed << ", ranges " << tight);
            const std::vector<std::string> lines =
                BoardLines(Jittered(Nec(9000, 4500, 565, 1690), 6, 30, seed), "38.0");
            const Diagnosed d(lines, Ranges(tight, tight));
            if (d.diagnosis.Recognised)
                continue;
            ASSERT_TRUE(d.diagnosis.RangesSearched);
            ASSERT_TRUE(d.diagnosis.Ranges.has_value());
            const RangeSuggestion& r = *d.diagnosis.Ranges;
            EXPECT_NE(r.ResultText.find("d:20DF 10EF"), std::string::npos) << r.ResultText;
            EXPECT_EQ(ResultOf(lines, Ranges(r.HRange, r.WRange)), r.ResultText);
            EXPECT_NE(ResultOf(lines, Ranges(tight, tight)), r.ResultText);
            ++suggested;
        }
    }
    EXPECT_GE(suggested, 6); // the tight tolerances do break most of them
}

// When the diagnosis says no tolerance helps, the tool agrees at both ends
// of the range and in between.
TEST(Diagnosis, WhenNoToleranceHelpsNoneDoes) {
    const std::vector<std::string> lines = BoardLines(Nec(8050, 4500, 565, 1690), "38.0");
    const Diagnosed d(lines);
    ASSERT_TRUE(d.diagnosis.RangesSearched);
    EXPECT_FALSE(d.diagnosis.Ranges.has_value());
    for (auto [h, w] : {std::pair{5, 5}, {50, 50}, {5, 50}, {50, 5}, {30, 25}})
        EXPECT_EQ(ResultOf(lines, Ranges(h, w)).substr(0, 13), "Tm:Unknown   ") << h << "/" << w;
}

TEST(Diagnosis, BiphaseCodesAreToldWithAddressCommandAndToggle) {
    struct Case {
        Signal signal;
        const char* protocol;
        int address, command, toggle;
        const char* philips; // worked out from the cells, first cell lowest
    };
    const Case cases[] = {
        // 1 1 1 00101 001100: A7, then 0 0 1 1 0 0 (and two cells of gap): 0C.
        {Repeat(Rc5Frame(true, 5, 12), 3), "RC5", 5, 12, 1, "Philips d:A7 0C"},
        // Command 70 = 64 + 6: the field bit is 0. 1 0 0 00101 000110: A1 18.
        {Repeat(Rc5Frame(false, 5, 70), 3), "RC5X", 5, 70, 0, "Philips d:A1 18"},
        // Cells 1 000 0 1 (the toggle's two halves) 00010010 00110100: 21 12 0B.
        // The sampler moves one pair a cell: a later frame's first cell still
        // finds it on the leader, a space, so the next word reads 20 12 0B
        // (and the third, equal to it, is dropped).
        {Repeat(Rc6Frame(false, 0x12, 0x34), 3), "RC6", 0x12, 0x34, 0,
         "Philips d:21 12 0B 20 12 0B"},
    };
    for (const Case& c : cases) {
        for (bool rough : {false, true}) {
            SCOPED_TRACE(std::string(c.protocol) + (rough ? " jittered" : ""));
            const Signal s = rough ? Jittered(c.signal, 5, 60, 7) : c.signal;
            const Diagnosed d(BoardLines(s, "36.0"));
            ASSERT_TRUE(d.diagnosis.Biphase.has_value());
            const BiphaseCode& code = *d.diagnosis.Biphase;
            EXPECT_EQ(code.Protocol, c.protocol);
            EXPECT_EQ(code.Address, c.address);
            EXPECT_EQ(code.Command, c.command);
            EXPECT_EQ(code.Toggle, c.toggle);
            EXPECT_EQ(code.Frames, 3);
            ASSERT_TRUE(d.diagnosis.Philips.has_value());
            EXPECT_EQ(d.diagnosis.Philips->Text, c.philips);
            // The Philips option with the offered settings reads the same.
            LearningOptions philips;
            philips.Philips = true;
            philips.TsText = std::to_string(d.diagnosis.Philips->Params.Start);
            philips.TwText = std::to_string(d.diagnosis.Philips->Params.Cell);
            philips.BtText = std::to_string(d.diagnosis.Philips->Params.CellsPerFrame);
            EXPECT_EQ(ResultOf(BoardLines(s, "36.0"), philips), c.philips);
        }
    }
    // A pulse-distance code is no bi-phase code.
    EXPECT_FALSE(IdentifyBiphase(Diagnosed(BoardLines(Nec(9000, 4500, 565, 1690), "38.0")).lane()));
}

// Explaining reads the capture and learns copies of it: the cells and the
// stored record are those of a run without it.
TEST(Diagnosis, ExplainingLeavesCellsAndRecordsAsTheyWere) {
    std::string log;
    for (const Signal& s :
         {Repeat(Rc5Frame(true, 5, 12), 3), Nec(8050, 4500, 565, 1690), Nec(9000, 4500, 565, 1690)})
        for (const std::string& line : BoardLines(s, "38.0"))
            log += line + "\n";
    DecodePipeline plain(LearningOptions{});
    DecodePipeline explained(LearningOptions{});
    explained.setExplain(true);
    std::string plainOut, explainedOut;
    std::vector<std::string> errors;
    DecodeLog(plain, log, plainOut, errors);
    DecodeLog(explained, log, explainedOut, errors);
    std::string cellsOnly;
    for (std::size_t at = 0; at < explainedOut.size();) {
        const std::size_t end = explainedOut.find('\n', at) + 1;
        if (explainedOut.compare(at, 2, "  ") != 0)
            cellsOnly += explainedOut.substr(at, end - at);
        at = end;
    }
    EXPECT_EQ(cellsOnly, plainOut);
    EXPECT_GT(explainedOut.size(), plainOut.size() + 1000);
    ASSERT_EQ(plain.storedRows(), explained.storedRows());
    for (int row : plain.storedRows())
        EXPECT_EQ(plain.recordLine(row), explained.recordLine(row));
}

// What each pulse of an NEC capture with repeat codes means, and the Logic
// column written from the same reading.
TEST(PulseMeanings, NecFrameRepeatCodesAndTheLogicColumn) {
    Session s;
    s.feed(BoardLines(Concat({NecFrame(kNecBytes), Repeat(NecRepeatCode(), 2)}), "38.0"));
    ASSERT_EQ(s.table.cell(1, ColResult), "Tm:NEC-32R    d:20DF 10EF");
    const PulseMeanings& m = s.effects.meanings;
    EXPECT_EQ(s.effects.meaningsLane, 0);
    ASSERT_EQ(m.Roles.size(), 38u); // leader, 32 bits, stop; twice a repeat leader and stop
    EXPECT_EQ(m.Roles[0], PulseRole::Leader);
    const std::vector<bool> bits = BitsLsbFirst(kNecBytes);
    for (int i = 0; i < 32; ++i)
        EXPECT_EQ(m.Roles[1 + i], bits[i] ? PulseRole::One : PulseRole::Zero) << i;
    EXPECT_EQ(m.Roles[33], PulseRole::Trailer);
    EXPECT_EQ(m.Roles[34], PulseRole::Repeat);
    EXPECT_EQ(m.Roles[35], PulseRole::Trailer);
    EXPECT_EQ(m.Roles[36], PulseRole::Repeat);
    ASSERT_EQ(m.Bytes.size(), 4u);
    for (int b = 0; b < 4; ++b) {
        EXPECT_EQ(m.Bytes[b].FirstPair, 1 + 8 * b);
        EXPECT_EQ(m.Bytes[b].LastPair, 8 + 8 * b);
        EXPECT_EQ(m.Bytes[b].Value, kNecBytes[b]);
        EXPECT_EQ(m.Bytes[b].Bits, 8);
    }
    // NEC-32R reads 34 pairs: the Logic cells are its 32 bits, no more.
    EXPECT_EQ(m.ResultPairs, 34);
    int cells = 0;
    for (const auto& [at, text] : s.effects.waveCells) {
        if (at.first != 4)
            continue;
        ++cells;
        EXPECT_EQ(text, m.Roles[at.second - 1] == PulseRole::One ? "   1" : "   0");
    }
    EXPECT_EQ(cells, 32);
    const DecodeRecord* record = s.decoder.record(0);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->Meanings.Roles, m.Roles);
}

// A Sony frame's last bit lies in the pulse whose period holds the gap; a
// group of seven bits and one of five.
TEST(PulseMeanings, SonyGroupsOfSevenAndFive) {
    Session s;
    s.feed(BoardLines(Repeat(SonyFrame(0x895, 12), 5), "40.0"));
    ASSERT_EQ(s.table.cell(1, ColResult), "Tm:SONY12     d:1115");
    const PulseMeanings& m = s.effects.meanings;
    ASSERT_GE(m.Bytes.size(), 2u);
    EXPECT_EQ(m.Bytes[0].Value, 0x15);
    EXPECT_EQ(m.Bytes[0].Bits, 7);
    EXPECT_EQ(m.Bytes[1].Value, 0x11);
    EXPECT_EQ(m.Bytes[1].Bits, 5);
    EXPECT_EQ(m.Bytes[1].LastPair, 12);
    EXPECT_EQ(m.Roles[12], PulseRole::One);    // mark 1200 µs, period with the gap
    EXPECT_EQ(m.Roles[13], PulseRole::Leader); // the next frame
}

// A new capture in the lane makes the old record stale.
TEST(CaptureDecoder, RecordBelongsToTheCaptureInTheLane) {
    Session s;
    s.feed(BoardLines(NecFrame(kNecBytes), "38.0"));
    ASSERT_NE(s.decoder.record(0), nullptr);
    s.startLearning();
    s.feed({"[000]:09000 013500"});
    EXPECT_EQ(s.decoder.record(0), nullptr);
}

TEST(CheckTimingSet, ComparesEveryWindowAfterAMiss) {
    const std::int32_t H[4] = {8050, 560, 560, 560};
    const std::int32_t W[4] = {13500, 1120, 2750, 40000};
    const TimingFit fit = CheckTimingSet(3, MakeTimingWindows(3), H, W, false);
    EXPECT_FALSE(fit.Fits);
    EXPECT_EQ(fit.CheckCount, 6);
    int misses = 0;
    for (const WindowCheck& c : fit)
        misses += c.inside() ? 0 : 1;
    EXPECT_EQ(misses, 2); // the leader's mark and the long period
    EXPECT_FALSE(CheckTimingSet(29, MakeTimingWindows(29), H, W, false).Tried);
}

} // namespace
} // namespace quvan::test
