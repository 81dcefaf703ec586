#include "decode/capture_diagnosis.h"

#include "capture/analysis_line.h"
#include "capture/wave_line.h"
#include "decode/code_assembly.h"
#include "decode/format_names.h"
#include "table/learning_table.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace quvan {

namespace {

std::string Printf(const char* format, auto... args) {
    char buf[512];
    std::snprintf(buf, sizeof buf, format, args...);
    return buf;
}

const char* WindowName(WindowKind kind) {
    switch (kind) {
    case WindowKind::LeaderHigh:
        return "the leader's mark";
    case WindowKind::LeaderWidth:
        return "the leader's period";
    case WindowKind::ShortHigh:
        return "the short data symbol's mark";
    case WindowKind::ShortWidth:
        return "the short data symbol's period";
    case WindowKind::LongHigh:
        return "the long data symbol's mark";
    case WindowKind::LongWidth:
        return "the long data symbol's period";
    }
    return "";
}

// How far outside its window a value is, in tenths of a percent of the
// window's nearer end (rounded half up).
int TenthsOutside(const WindowCheck& c) {
    const std::int64_t by = std::abs(static_cast<std::int64_t>(c.outsideBy()));
    const std::int64_t edge = c.Value < c.Window.Lo ? c.Window.Lo : c.Window.Hi;
    if (by == 0)
        return 0;
    if (edge <= 0)
        return 10000;
    return static_cast<int>(std::min<std::int64_t>((by * 1000 + edge / 2) / edge, 100000));
}

std::string Percent(int tenths) {
    return Printf("%d.%d%%", tenths / 10, tenths % 10);
}

std::string SetName(int set) {
    return Printf("%s (set %d)", SetFormats(set).c_str(), set);
}

std::string FormatOfResult(const std::string& text) {
    // "Tm:%-10s d:..." : the name is up to the first blank after "Tm:".
    if (text.rfind("Tm:", 0) != 0)
        return text;
    const std::size_t end = text.find(' ', 3);
    return text.substr(3, end == std::string::npos ? std::string::npos : end - 3);
}

std::string DescribeFrameCheck(const FrameCheck& c) {
    switch (c.Kind) {
    case FrameCheck::Test::PatternIs:
        return Printf("pair %d is pattern %d (not %d)", c.Pair, c.Found, c.Expected);
    case FrameCheck::Test::PatternAbove:
        return Printf("pair %d is pattern %d (not above %d)", c.Pair, c.Found, c.Expected);
    case FrameCheck::Test::LastIndexIs:
        return Printf("the capture ends at pair %d (not %d)", c.Found, c.Expected);
    case FrameCheck::Test::DataBitsAtLeast:
        return Printf("the repeat analysis kept %d pairs (it needs %d or more)", c.Found,
                      c.Expected);
    }
    return "";
}

std::string DescribeRefusal(const SetTrial& t) {
    std::string text = "Timing fits " + SetName(t.Set) + ", but its frame rule matched none of ";
    text += "its frame layouts: ";
    int shown = 0;
    for (const FrameCheck& c : t.FrameChecks) {
        if (c.Passed)
            continue;
        if (shown == 3) {
            text += Printf(", ... (%zu tests)", t.FrameChecks.size());
            break;
        }
        text += (shown > 0 ? ", " : "") + DescribeFrameCheck(c);
        ++shown;
    }
    return text + ".";
}

std::string ModeName(DecoderMode mode) {
    switch (mode) {
    case DecoderMode::Patterns:
        return "format recognition";
    case DecoderMode::PatternCode:
        return "the PCode option (the plain pattern code)";
    case DecoderMode::MultiHeader:
        return "the MultiHeader option (the plain pattern code)";
    case DecoderMode::Eiritsu:
        return "the Eiritsu option (time sampling)";
    case DecoderMode::Philips:
        return "the Philips option (time sampling)";
    case DecoderMode::Serial:
        return "the Serial option (time sampling)";
    }
    return "";
}

std::vector<std::string> PatternTable(const WaveLane& lane) {
    std::vector<std::string> lines;
    lines.push_back(
        Printf("Pulse patterns (H range %d%%, W range %d%%):", lane.HRange, lane.WRange));
    lines.push_back("    Pno   Mark µs  Period µs  Pulses");
    std::array<int, kPatternWindows + 1> count{};
    for (int i = 0; i <= lane.LastIndex && i < kLanePairs; ++i) {
        const std::int32_t p = lane.PatternOf[static_cast<std::size_t>(i)];
        if (p >= 0 && p <= kPatternWindows)
            count[static_cast<std::size_t>(p)] += 1;
    }
    const int n = std::min(lane.PatternCount, kPatternWindows);
    for (int p = 0; p < n; ++p) {
        const auto i = static_cast<std::size_t>(p);
        lines.push_back(
            Printf("  %5d %9d %10d %7d", p, lane.CenterHigh[i], lane.CenterWidth[i], count[i]));
    }
    if (count[kPatternWindows] > 0)
        lines.push_back(Printf("  no room %17s %7d", "", count[kPatternWindows]));
    return lines;
}

std::string TrialsLine(const DecodeRecord& r) {
    const std::vector<SetTrial>& trials = r.Search.Trials;
    if (trials.empty())
        return "";
    std::string line =
        Printf("Timing sets tried in order: %d to %d", trials.front().Set, trials.back().Set);
    std::vector<int> fitted;
    for (const SetTrial& t : trials) {
        if (t.Fit.Fits)
            fitted.push_back(t.Set);
    }
    if (fitted.empty()) {
        line += "; none fitted the patterns";
    } else {
        line += fitted.size() == 1 ? "; the timing fitted set " : "; the timing fitted sets ";
        for (std::size_t i = 0; i < fitted.size(); ++i)
            line += (i == 0                   ? ""
                     : i + 1 == fitted.size() ? " and "
                                              : ", ") +
                    std::to_string(fitted[i]);
    }
    const bool skipped29 =
        std::any_of(trials.begin(), trials.end(), [](const SetTrial& t) { return !t.Fit.Tried; });
    if (skipped29)
        line += " (set 29 is tried only in the Pro edition)";
    return line + ".";
}

std::string Times(int n) {
    return n == 1 ? "once" : n == 2 ? "twice" : std::to_string(n) + " times";
}

// Patterns whose marks and periods both lie within a tenth of each other:
// the tolerances kept apart what is probably one pulse shape.
std::vector<std::string> AlikePatterns(const WaveLane& lane) {
    std::vector<std::string> lines;
    const int n = std::min(lane.PatternCount, kPatternWindows);
    auto close = [](std::int32_t a, std::int32_t b) {
        return std::abs(std::int64_t{a} - b) * 10 < std::max(a, b);
    };
    for (int a = 0; a < n && lines.size() < 2; ++a) {
        for (int b = a + 1; b < n && lines.size() < 2; ++b) {
            const auto i = static_cast<std::size_t>(a);
            const auto j = static_cast<std::size_t>(b);
            if (close(lane.CenterHigh[i], lane.CenterHigh[j]) &&
                close(lane.CenterWidth[i], lane.CenterWidth[j]))
                lines.push_back(Printf("Patterns %d and %d are alike (marks %d and %d µs, periods "
                                       "%d and %d µs), but H range %d%% and W range %d%% kept "
                                       "them apart.",
                                       a, b, lane.CenterHigh[i], lane.CenterHigh[j],
                                       lane.CenterWidth[i], lane.CenterWidth[j], lane.HRange,
                                       lane.WRange));
        }
    }
    return lines;
}

std::string RepeatLine(const WaveLane& lane, const CaptureResult* result) {
    const RepeatFinding& f = lane.Repeat;
    const int kept = result != nullptr ? result->DataBits : 0;
    const int frames = result != nullptr ? result->Frames : 0;
    switch (f.Close) {
    case CaptureClose::FrameRepeats:
        return Printf("Repeat analysis: a frame of %d pairs from pair %d repeats %d times; the "
                      "capture closed at pair %d, keeping %d pairs (Frames %d).",
                      f.Length, f.Start, f.Repeats, f.LastIndex, kept, frames);
    case CaptureClose::GapPassed:
        return Printf("Repeat analysis: no frame repeats three times; the last period (%d µs) "
                      "passed the learning time (%d ms), so the whole capture of %d pairs was "
                      "kept.",
                      lane.Pairs[static_cast<std::size_t>(f.LastIndex)].Width,
                      lane.LearnTime / 1000, f.LastIndex + 1);
    case CaptureClose::CarrierBurst:
        return Printf("Repeat analysis: one pulse shape repeats with periods under 20 ms (a "
                      "carrier burst); the whole capture of %d pairs was kept.",
                      f.LastIndex + 1);
    case CaptureClose::RepeatedPulse:
        return Printf("Repeat analysis: one pulse shape repeats %d times from pair %d; %d pairs "
                      "were kept.",
                      f.Repeats, f.Start, kept);
    case CaptureClose::AnalysisLine:
        if (f.Repeats > 0)
            return Printf("Repeat analysis: a frame of %d pairs from pair %d is repeated only %s "
                          "before the board's analysis line ended the capture; the whole capture "
                          "of %d pairs was kept.",
                          f.Length, f.Start, Times(f.Repeats).c_str(), f.LastIndex + 1);
        return Printf("Repeat analysis: no frame repeats before the board's analysis line ended "
                      "the capture; the whole capture of %d pairs was kept.",
                      f.LastIndex + 1);
    case CaptureClose::Open:
        break;
    }
    return "The capture is still open: the repeat analysis has not closed it yet.";
}

std::vector<NearMiss> NearestSets(const DecodeRecord& r) {
    std::vector<NearMiss> misses;
    for (const SetTrial& t : r.Search.Trials) {
        if (!t.Fit.Tried || t.Fit.Fits || !HasTimings(t.Set))
            continue;
        NearMiss m;
        m.Set = t.Set;
        for (const WindowCheck& c : t.Fit) {
            if (!c.inside()) {
                m.Misses.push_back(c);
                m.Tenths += TenthsOutside(c);
            }
        }
        misses.push_back(std::move(m));
    }
    std::stable_sort(misses.begin(), misses.end(),
                     [](const NearMiss& a, const NearMiss& b) { return a.Tenths < b.Tenths; });
    if (misses.size() > 3)
        misses.resize(3);
    return misses;
}

std::string DescribeNearMiss(const NearMiss& m) {
    std::string text = SetName(m.Set) + " — ";
    for (std::size_t i = 0; i < m.Misses.size(); ++i)
        text += (i > 0 ? "; " : "") + DescribeMiss(m.Misses[i]);
    return text;
}

// The tolerances to try, nearest to the capture's own first: the period
// tolerance alone, then the mark tolerance alone, then both.
std::vector<std::pair<std::int32_t, std::int32_t>> RangeCandidates(std::int32_t h, std::int32_t w) {
    std::vector<std::int32_t> values;
    for (std::int32_t v = kRangeStep; v <= kRangeMax; v += kRangeStep)
        values.push_back(v);
    auto byDistance = [](std::int32_t from) {
        return [from](std::int32_t a, std::int32_t b) {
            const std::int32_t da = std::abs(a - from);
            const std::int32_t db = std::abs(b - from);
            return da != db ? da < db : a < b;
        };
    };
    std::vector<std::pair<std::int32_t, std::int32_t>> out;
    std::vector<std::int32_t> ws = values;
    std::stable_sort(ws.begin(), ws.end(), byDistance(w));
    for (std::int32_t v : ws)
        if (v != w)
            out.emplace_back(h, v);
    std::vector<std::int32_t> hs = values;
    std::stable_sort(hs.begin(), hs.end(), byDistance(h));
    for (std::int32_t v : hs)
        if (v != h)
            out.emplace_back(v, w);
    std::vector<std::pair<std::int32_t, std::int32_t>> both;
    for (std::int32_t a : values)
        for (std::int32_t b : values)
            if (a != h && b != w)
                both.emplace_back(a, b);
    std::stable_sort(both.begin(), both.end(), [h, w](auto x, auto y) {
        const std::int32_t dx = std::abs(x.first - h) + std::abs(x.second - w);
        const std::int32_t dy = std::abs(y.first - h) + std::abs(y.second - w);
        return dx < dy;
    });
    out.insert(out.end(), both.begin(), both.end());
    return out;
}

std::string SuggestionLine(const WaveLane& lane, const RangeSuggestion& s) {
    std::string change;
    if (s.HRange != lane.HRange && s.WRange != lane.WRange)
        change = Printf("H range %d and W range %d (now %d and %d)", s.HRange, s.WRange,
                        lane.HRange, lane.WRange);
    else if (s.WRange != lane.WRange)
        change = Printf("W range %d (now %d)", s.WRange, lane.WRange);
    else
        change = Printf("H range %d (now %d)", s.HRange, lane.HRange);
    return "Learnt again with " + change + ", these pulses are recognised: " + s.ResultText + ".";
}

std::vector<std::string> BiphaseLines(const BiphaseCode& code,
                                      const std::optional<PhilipsReading>& philips) {
    std::vector<std::string> lines;
    std::string what = "Bi-phase (Manchester) code: " + code.Protocol;
    if (code.Protocol == "RC6")
        what += Printf(" mode %d", code.Mode);
    if (code.Address >= 0)
        what += Printf(", address %d (0x%02X), command %d (0x%02X)", code.Address, code.Address,
                       code.Command, code.Command);
    else
        what += Printf(", %d information bits 0x%X", code.InfoBits, code.Command);
    what +=
        Printf(", toggle %d; %d frame%s.", code.Toggle, code.Frames, code.Frames == 1 ? "" : "s");
    lines.push_back(what);
    std::string how = "The format table has no bi-phase formats, so the Result stays as it is";
    if (philips)
        how += Printf("; the Philips option with Ts %d, Tw %d and Bits %d decodes it by time "
                      "sampling: %s.",
                      philips->Params.Start, philips->Params.Cell, philips->Params.CellsPerFrame,
                      philips->Text.c_str());
    else
        how += "; its cells are too uneven for the Philips option's fixed sampling.";
    lines.push_back(how);
    return lines;
}

const char* kNoRecogniserHint =
    "The signal is probably not pulse-distance coded; try the Philips or Serial option.";

} // namespace

std::string DescribeMiss(const WindowCheck& c) {
    const std::int32_t by = c.outsideBy();
    return Printf("%s %d µs (pattern %d) is %d µs (%s) %s the window %d..%d", WindowName(c.Kind),
                  c.Value, c.Pattern, std::abs(by), Percent(TenthsOutside(c)).c_str(),
                  by < 0 ? "below" : "above", c.Window.Lo, c.Window.Hi);
}

namespace {

// Learns pulses again as the window would, with nobody watching. Learning
// never writes the table; the context only needs one to exist.
class Relearner {
  public:
    std::optional<std::string> recognise(const WaveLane& lane, std::int32_t hRange,
                                         std::int32_t wRange, bool proEdition, bool fullCode) {
        struct Quiet final : LearningEffects {
            bool showsWaveData() const override { return false; }
            int currentRow() const override { return 1; }
            void setCurrentRow(int) override {}
        } quiet;
        LearningOptions o;
        o.ProEdition = proEdition;
        o.WaveLanes = 1;
        o.HrangeText = std::to_string(hRange);
        o.WrangeText = std::to_string(wRange);
        o.LtimeText = std::to_string(lane.LearnTime / 1000);
        *state_ = CaptureState{};
        state_->CurrentLane = 0;
        LearningContext ctx{*state_, o, table_, quiet};
        for (int i = 0; i <= lane.LastIndex && i <= kMaxPairIndex; ++i) {
            const PulsePair& p = lane.Pairs[static_cast<std::size_t>(i)];
            HandleWavePair(ctx, {i, p.High, p.Width});
        }
        const WaveLane& again = state_->Lanes[0];
        if (again.PatternCount > kPatternWindows)
            return std::nullopt;
        CloseCapture(ctx);
        const FormatSearch found = SearchFormat(again, state_->Result.DataBits, proEdition, false);
        if (found.Set >= kUnknownSet)
            return std::nullopt;
        return PatternResultText(found.Set, found.Rec,
                                 AssembleCode(found.Set, found.Rec, again, fullCode), proEdition);
    }

  private:
    std::unique_ptr<CaptureState> state_ = std::make_unique<CaptureState>();
    LearningTable table_{kStdTableRows};
};

} // namespace

CaptureDiagnosis DiagnoseCapture(const WaveLane& lane, const DecodeRecord* record,
                                 const DiagnosisOptions& options) {
    CaptureDiagnosis d;
    d.Decoded = record != nullptr;
    d.TooManyPatterns = lane.PatternCount > kPatternWindows;
    const bool patterns = record == nullptr || record->Mode == DecoderMode::Patterns;
    d.Recognised = record != nullptr && patterns && record->Search.Set < kUnknownSet;
    const bool pro = record != nullptr ? record->ProEdition : options.ProEdition;
    const bool fullCode = record != nullptr && record->FullCode;
    std::vector<std::string>& out = d.Lines;

    if (lane.LastIndex == 0 && lane.PatternCount == 0) {
        d.Summary = "No capture in this lane.";
        out.push_back(d.Summary);
        return d;
    }
    if (record != nullptr)
        out.push_back("Result: " + record->ResultText);

    if (!d.Recognised && patterns) {
        d.Biphase = IdentifyBiphase(lane);
        if (d.Biphase)
            d.Philips = PhilipsReadingOf(lane, *d.Biphase);
    }
    // A bi-phase code is never recognised, whatever the tolerances.
    if (!d.Recognised && patterns && !d.Biphase && options.SearchRanges &&
        (record != nullptr || d.TooManyPatterns)) {
        d.RangesSearched = true;
        Relearner relearner;
        // A tolerance that merges patterns it should not can still hit on a
        // format, with frames misread so that they differ: of the
        // tolerances that work, the one whose code has the fewest groups
        // wins, the nearest of those first.
        std::size_t fewest = 0;
        const auto candidates = RangeCandidates(lane.HRange, lane.WRange);
        // A long capture is learnt again fewer times, nearest first, so that
        // the answer comes within a fraction of a second.
        const int budget = std::max(1, kRelearnPairBudget / std::max(1, lane.LastIndex + 1));
        d.RangesOffered = static_cast<int>(candidates.size());
        for (const auto& [h, w] : candidates) {
            if (d.RangesTried == budget)
                break;
            ++d.RangesTried;
            if (auto text = relearner.recognise(lane, h, w, pro, fullCode)) {
                const auto groups = static_cast<std::size_t>(
                    std::count(text->begin() + static_cast<long>(text->find("d:")), text->end(),
                               ' ') +
                    1);
                if (!d.Ranges || groups < fewest) {
                    d.Ranges = RangeSuggestion{h, w, *text};
                    fewest = groups;
                }
                if (fewest <= 1)
                    break;
            }
        }
    }

    std::string summary;
    if (record != nullptr && !patterns) {
        out.push_back("Decoded by " + ModeName(record->Mode) + "; the timing sets were not tried.");
        summary = "Decoded by " + ModeName(record->Mode) + ".";
    } else if (d.TooManyPatterns) {
        out.push_back(Printf("%d different pulse shapes (the board keeps 16): the capture cannot "
                             "be learned.",
                             lane.PatternCount));
        summary = Printf("%d pulse shapes (the board keeps 16): not learned", lane.PatternCount);
        if (!d.Biphase)
            out.push_back(kNoRecogniserHint);
    } else if (record == nullptr) {
        out.push_back("Not decoded yet: the board's analysis line has not come for this capture.");
        summary = "Not decoded yet.";
    } else if (d.Recognised) {
        const int set = record->Search.Set;
        const int format = record->Search.Rec.FormatIndex;
        const std::string named = FormatOfResult(record->ResultText);
        std::string line = Printf("Recognised by timing set %d (%s): its frame rule gives %s", set,
                                  SetFormats(set).c_str(), std::string(FormatName(format)).c_str());
        if (named != FormatName(format))
            line += Printf(", and the custom code %s names the maker: %s",
                           record->ResultText.substr(record->ResultText.find("d:") + 2, 4).c_str(),
                           named.c_str());
        out.push_back(line + ".");
        summary = named + Printf(" (timing set %d)", set);
    } else {
        out.push_back("Not recognised: no timing set both fits the pulse patterns and finds its "
                      "frame layout.");
        for (const SetTrial& t : record->Search.Trials) {
            if (t.FrameRuleTried)
                d.Refused.push_back(&t);
        }
        // A bi-phase code is told below; how far it is from the pulse-distance
        // formats would only distract.
        if (!d.Biphase)
            d.Nearest = NearestSets(*record);
        std::vector<std::string> nearLines;
        for (std::size_t i = 0; i < d.Nearest.size(); ++i)
            nearLines.push_back((i == 0 ? "Nearest format: " : "Next: ") +
                                DescribeNearMiss(d.Nearest[i]) + ".");
        std::vector<std::string> refusedLines;
        for (std::size_t i = 0; i < d.Refused.size() && i < 3; ++i)
            refusedLines.push_back(DescribeRefusal(*d.Refused[i]));
        if (d.Refused.size() > 3)
            refusedLines.push_back(Printf("Timing fits %zu more set%s, whose frame rules match "
                                          "nothing either.",
                                          d.Refused.size() - 3, d.Refused.size() == 4 ? "" : "s"));
        // A window missed by a percent or two says more than a timing that
        // fits a format whose frames look different.
        const bool missFirst = !d.Nearest.empty() && d.Nearest.front().Tenths <= 20;
        if (missFirst || refusedLines.empty()) {
            out.insert(out.end(), nearLines.begin(), nearLines.end());
            out.insert(out.end(), refusedLines.begin(), refusedLines.end());
        } else {
            out.insert(out.end(), refusedLines.begin(), refusedLines.end());
            out.insert(out.end(), nearLines.begin(), nearLines.end());
        }
        if (!d.Nearest.empty() && (missFirst || d.Refused.empty()))
            summary = "Unknown — nearest " + SetName(d.Nearest.front().Set) + ": " +
                      DescribeMiss(d.Nearest.front().Misses.front());
        else if (!d.Refused.empty())
            summary = "Unknown — timing fits " + SetName(d.Refused.front()->Set) +
                      " but not its frame layout";
        else
            summary = "Unknown";
    }

    if (!d.Recognised && patterns) {
        const std::vector<std::string> alike = AlikePatterns(lane);
        out.insert(out.end(), alike.begin(), alike.end());
    }
    if (d.Ranges) {
        out.push_back(SuggestionLine(lane, *d.Ranges));
    } else if (d.RangesSearched && d.RangesTried == d.RangesOffered) {
        out.push_back(Printf("No H or W range from %d to %d gets these pulses recognised.",
                             kRangeStep, kRangeMax));
    } else if (d.RangesSearched) {
        out.push_back(Printf("None of the %d H and W ranges nearest to these (from %d to %d) gets "
                             "these pulses recognised.",
                             d.RangesTried, kRangeStep, kRangeMax));
    }
    if (d.Biphase) {
        const std::vector<std::string> lines = BiphaseLines(*d.Biphase, d.Philips);
        out.insert(out.end(), lines.begin(), lines.end());
        summary = (d.TooManyPatterns ? "Not learned" : "Unknown") + std::string(" — bi-phase ") +
                  d.Biphase->Protocol +
                  (d.Biphase->Address >= 0
                       ? Printf(", address %d, command %d", d.Biphase->Address, d.Biphase->Command)
                       : Printf(", 0x%X", d.Biphase->Command)) +
                  Printf(", toggle %d", d.Biphase->Toggle);
    } else if (!d.Recognised && patterns && !d.TooManyPatterns && !d.Ranges && record != nullptr &&
               d.Refused.empty() && (d.Nearest.empty() || d.Nearest.front().Tenths > 200)) {
        // Nothing is near: the pulses do not look like a pulse-distance code.
        out.push_back(kNoRecogniserHint);
    }
    if (d.Ranges)
        summary += Printf(" (recognised with H %d, W %d)", d.Ranges->HRange, d.Ranges->WRange);

    const std::vector<std::string> table = PatternTable(lane);
    out.insert(out.end(), table.begin(), table.end());
    if (record != nullptr && patterns) {
        const std::string trials = TrialsLine(*record);
        if (!trials.empty())
            out.push_back(trials);
    }
    if (d.TooManyPatterns && lane.Repeat.Close == CaptureClose::Open)
        out.push_back("Repeat analysis: the capture was still open when the analysis line refused "
                      "it.");
    else
        out.push_back(RepeatLine(lane, record != nullptr ? &record->Result : nullptr));
    d.Summary = summary;
    return d;
}

} // namespace quvan
