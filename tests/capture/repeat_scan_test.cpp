// The repeat search carried on from line to line must find exactly what a
// search from scratch on every line finds. The search from scratch is kept
// here as the reference; random pattern sequences (with the lane changed
// under the scanner in every way a caller can) and captures of the
// simulator's remote controls, jittered, held and not repeating, up to 4096
// pairs, are run through both.

#include "capture/analysis_line.h"
#include "capture/repeat_scan.h"
#include "capture/wave_line.h"
#include "protocols/held_signal.h"
#include "protocols/ir_encoder.h"
#include "sim/capture_builder.h"
#include "tests/decode/support/capture_builder.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <map>
#include <optional>
#include <random>
#include <variant>

namespace quvan::test {
namespace {

// The search from scratch: every start in turn, a candidate frame of growing
// length slid along the capture, up to but not including pair N.
RepeatScan ReferenceScan(const std::int32_t* P, int N) {
    RepeatScan r;
    while (r.e < N) {
        int i = r.e;
        while (i + 2 * r.L < N) {
            bool same = true;
            for (int k = 0; k < r.L; ++k) {
                if (P[i + k] != P[i + r.L + k]) {
                    same = false;
                    break;
                }
            }
            if (same) {
                i += r.L;
                r.c += 1;
            } else {
                r.L += 1;
                r.c = 0;
            }
        }
        if (r.c > 0)
            return r;
        r.e += 1;
        r.L = 1;
    }
    return r;
}

std::string Describe(const RepeatScan& r) {
    return "e=" + std::to_string(r.e) + " L=" + std::to_string(r.L) + " c=" + std::to_string(r.c);
}

// Random noise, runs of one pattern and frames repeated a few times, over
// an alphabet of `symbols` patterns.
std::vector<std::int32_t> RandomSequence(std::mt19937& rng, int length, int symbols) {
    std::uniform_int_distribution<int> symbol(0, symbols - 1);
    std::uniform_int_distribution<int> kind(0, 2);
    std::vector<std::int32_t> p;
    while (static_cast<int>(p.size()) < length) {
        switch (kind(rng)) {
        case 0:
            for (int n = std::uniform_int_distribution<int>(1, 30)(rng); n > 0; --n)
                p.push_back(symbol(rng));
            break;
        case 1:
            p.insert(p.end(), std::uniform_int_distribution<int>(2, 8)(rng), symbol(rng));
            break;
        default: {
            std::vector<std::int32_t> frame(std::uniform_int_distribution<std::size_t>(1, 40)(rng));
            for (std::int32_t& x : frame)
                x = symbol(rng);
            for (int n = std::uniform_int_distribution<int>(2, 6)(rng); n > 0; --n)
                p.insert(p.end(), frame.begin(), frame.end());
        }
        }
    }
    p.resize(static_cast<std::size_t>(length));
    return p;
}

void ExpectSame(RepeatScanner& scanner, const std::vector<std::int32_t>& p, int n,
                const std::string& where) {
    const RepeatScan want = ReferenceScan(p.data(), n);
    const RepeatScan got = scanner.Scan(p.data(), n);
    ASSERT_EQ(Describe(got), Describe(want)) << where << ", N=" << n;
}

TEST(RepeatScanner, GrowingSequencesGiveWhatASearchFromScratchGives) {
    std::mt19937 rng(20240611);
    for (int round = 0; round < 60; ++round) {
        const int symbols = 1 + round % 5;
        const auto p = RandomSequence(rng, 300, symbols);
        RepeatScanner scanner;
        for (int n = 0; n <= static_cast<int>(p.size()); ++n)
            ExpectSame(scanner, p, n, "round " + std::to_string(round));
    }
}

// The lane can change under the scanner: a line may go back to an earlier
// index, a test or the diagnosis may rewrite pairs, the next capture may
// begin in the same lane, and the search may be asked twice for one line.
TEST(RepeatScanner, ALaneChangedUnderTheScannerIsSearchedAfresh) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> action(0, 9);
    for (int round = 0; round < 40; ++round) {
        const std::string where = "round " + std::to_string(round);
        auto p = RandomSequence(rng, 250, 2 + round % 3);
        const auto other = RandomSequence(rng, 250, 2 + round % 3);
        RepeatScanner scanner;
        int n = 0;
        for (int step = 0; step < 400; ++step) {
            switch (action(rng)) {
            case 0: // a line that goes back
                n = std::uniform_int_distribution<int>(0, n)(rng);
                break;
            case 1: // a pair already searched rewritten
                if (n > 0)
                    p[std::uniform_int_distribution<std::size_t>(0, n - 1)(rng)] ^= 1;
                break;
            case 2: // the next capture: another sequence from its start
                p = other;
                n = std::uniform_int_distribution<int>(0, 20)(rng);
                break;
            case 3: // a copy starts afresh and still agrees
                scanner = RepeatScanner(scanner);
                break;
            case 4:
                break; // the same line again
            default:
                n = std::min<int>(n + 1, static_cast<int>(p.size()));
            }
            ExpectSame(scanner, p, n, where + " step " + std::to_string(step));
        }
    }
}

// A capture the way the window learns it: wave lines through the real
// classification and repeat analysis, the analysis line at the end.
struct CaptureCase {
    protocols::PulseList pulses;
    std::string learnTimeMs;
};

struct Outcome {
    CaptureClose close = CaptureClose::Open;
    int lastIndex = 0; // the pair the capture closed at
    int checked = 0;   // lines whose search was compared with the reference
};

// Runs the capture and compares the lane's search with the reference on
// every line the repeat analysis ran (every `stride`-th once past `fullUpTo`
// pairs, and always the one that closed the capture).
Outcome LearnAndCompare(const CaptureCase& c, int fullUpTo, int stride, const std::string& where) {
    LearningOptions options;
    options.LtimeText = c.learnTimeMs;
    Session session(options);
    session.startLearning();
    Outcome out;
    auto compare = [&](const WaveLane& lane) {
        const RepeatScan want = ReferenceScan(lane.PatternOf.data(), lane.LastIndex);
        const RepeatScan got{lane.Repeat.Start, lane.Repeat.Length, lane.Repeat.Repeats};
        EXPECT_EQ(Describe(got), Describe(want)) << where << ", pair " << lane.LastIndex;
        ++out.checked;
    };
    for (std::size_t i = 0; i < c.pulses.size(); ++i) {
        // The search writes its finding into the lane; a length of -1 left
        // there means it did not run on this line.
        for (WaveLane& lane : session.state->Lanes)
            lane.Repeat.Length = -1;
        HandleWavePair(session.ctx,
                       {static_cast<std::int32_t>(i), c.pulses[i].high, c.pulses[i].width});
        const WaveLane& lane = session.state->Lanes[session.state->CurrentLane];
        const bool closed = session.state->Result.DataBits > 0;
        if (lane.Repeat.Length >= 1 && (static_cast<int>(i) <= fullUpTo ||
                                        i % static_cast<std::size_t>(stride) == 0 || closed))
            compare(lane);
        if (closed) {
            out.close = lane.Repeat.Close;
            out.lastIndex = lane.LastIndex;
            return out;
        }
    }
    // Still open: the analysis line searches once more, then takes it whole.
    WaveLane& lane = session.state->Lanes[session.state->CurrentLane];
    lane.Repeat.Length = -1;
    session.feed({"Ave.Freq = 38.0kHz"});
    if (lane.Repeat.Length >= 1)
        compare(lane);
    out.close = lane.Repeat.Close;
    out.lastIndex = lane.LastIndex;
    return out;
}

// A random code the format accepts.
std::optional<protocols::EncodedSignal> RandomSignal(std::mt19937& rng,
                                                     const protocols::FormatInfo& f) {
    for (int attempt = 0; attempt < 500; ++attempt) {
        std::vector<std::uint8_t> code(
            std::uniform_int_distribution<std::size_t>(f.min_code_bytes, f.max_code_bytes)(rng));
        for (std::uint8_t& b : code)
            b = static_cast<std::uint8_t>(rng() >> (attempt % 8));
        auto encoded = protocols::encode_ir(f.format, code, rng() % 2 == 0);
        if (auto* signal = std::get_if<protocols::EncodedSignal>(&encoded))
            return *signal;
    }
    return std::nullopt;
}

protocols::PulseList Capture(protocols::Waveform wave, std::mt19937& rng) {
    sim::disturb(wave, {std::uniform_int_distribution<int>(0, 8)(rng),
                        std::uniform_int_distribution<std::int32_t>(0, 80)(rng),
                        static_cast<std::uint32_t>(rng())});
    return protocols::capture_pulses(wave,
                                     std::uniform_int_distribution<std::int32_t>(80, 700)(rng));
}

// Frames of random codes and formats one after the other. Some formats give
// runs that repeat as a frame would (Manchester codes, Sony's short frames),
// so the analysis may still close such a capture early.
protocols::Waveform MixedFrames(std::mt19937& rng, std::size_t pulses) {
    const auto& formats = protocols::all_formats();
    protocols::Waveform wave;
    while (wave.durations().size() < 2 * pulses) {
        const auto& f = formats[rng() % formats.size()];
        if (const auto signal = RandomSignal(rng, f)) {
            if (!wave.empty())
                wave.space(std::uniform_int_distribution<std::int32_t>(20000, 90000)(rng));
            wave.append(signal->first);
        }
    }
    return wave;
}

// Pulses of three shapes in the order of the ternary Thue-Morse word (how
// many 1s stand between successive 0s of the Thue-Morse sequence), which
// holds no square: no run of pairs is ever followed by the same run, so the
// search finds nothing on any line and tries every start. A capture that
// never repeats, and the search's worst case.
protocols::Waveform NeverRepeats(std::mt19937& rng, std::size_t pulses) {
    auto thueMorse = [](unsigned n) { return std::popcount(n) % 2; };
    // Shapes far enough apart for jitter and tolerances not to join them.
    const std::int32_t base = std::uniform_int_distribution<std::int32_t>(400, 700)(rng);
    const std::array<std::pair<std::int32_t, std::int32_t>, 3> shapes{
        {{base, 2 * base}, {base, 4 * base}, {2 * base, 7 * base}}};
    protocols::Waveform wave;
    unsigned n = 0;
    while (wave.durations().size() < 2 * pulses) {
        int ones = 0;
        for (++n; thueMorse(n) == 1; ++n)
            ++ones;
        const auto& [high, width] = shapes[static_cast<std::size_t>(ones)];
        wave.mark(high);
        wave.space(width - high);
    }
    wave.trim_trailing_space();
    return wave;
}

TEST(RepeatSearchWhileLearning, HeldAndMixedRemotesCloseAsASearchFromScratchCloses) {
    std::mt19937 rng(4096);
    const auto& formats = protocols::all_formats();
    const char* learnTimes[] = {"100", "200", "500"};
    std::map<CaptureClose, int> closes;
    for (int round = 0; round < 60; ++round) {
        CaptureCase c;
        c.learnTimeMs = learnTimes[round % 3];
        std::string where = "round " + std::to_string(round);
        if (round % 3 == 0) {
            const auto& f = formats[static_cast<std::size_t>(round / 3) % formats.size()];
            const auto signal = RandomSignal(rng, f);
            ASSERT_TRUE(signal) << f.name;
            const int holdMs = std::uniform_int_distribution<int>(0, 1500)(rng);
            c.pulses = Capture(protocols::held_waveform(*signal, holdMs), rng);
            where += " " + std::string(f.name) + " held " + std::to_string(holdMs) + " ms";
        } else if (round % 3 == 1) {
            c.pulses = Capture(MixedFrames(rng, 250), rng);
            where += " mixed frames";
        } else {
            c.pulses = Capture(NeverRepeats(rng, 60 + rng() % 340), rng);
            where += " never repeats";
        }
        const Outcome o = LearnAndCompare(c, 400, 1, where);
        closes[o.close] += 1;
    }
    // The rounds reach every way a capture closes, so each path was compared.
    EXPECT_GT(closes[CaptureClose::FrameRepeats], 0);
    EXPECT_GT(closes[CaptureClose::GapPassed], 0);
    EXPECT_GT(closes[CaptureClose::AnalysisLine] + closes[CaptureClose::CarrierBurst] +
                  closes[CaptureClose::RepeatedPulse],
              0);
}

TEST(RepeatSearchWhileLearning, LongCapturesThatNeverRepeatCloseAsASearchFromScratchCloses) {
    std::mt19937 rng(31);
    for (int round = 0; round < 3; ++round) {
        CaptureCase c;
        c.learnTimeMs = "100";
        c.pulses = Capture(NeverRepeats(rng, protocols::kMaxCapturePulses + 100), rng);
        ASSERT_EQ(c.pulses.size(), protocols::kMaxCapturePulses);
        // Every line up to 800 pairs, then about every hundredth: each check
        // near 4000 pairs costs the reference a whole search.
        const Outcome o = LearnAndCompare(c, 800, 97, "long round " + std::to_string(round));
        EXPECT_GT(o.checked, 700);
        EXPECT_EQ(o.lastIndex, 4095); // nothing closed it before its last gap
        EXPECT_NE(o.close, CaptureClose::Open);
    }
}

} // namespace
} // namespace quvan::test
