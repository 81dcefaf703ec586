#include "capture/wave_line.h"

#include "capture/repeat_analysis.h"
#include "capture/text_number.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace quvan {

namespace {

std::int32_t FieldAt(std::string_view line, std::size_t pos, std::size_t count) {
    return DecimalOr(SafeMid(line, pos, count), 0);
}

// The tolerance boxes accept any text, so a product may leave 32 bits; the
// window is clamped instead of wrapping round.
std::int32_t Scaled(std::int32_t value, std::int64_t percent) {
    std::int64_t v = std::int64_t{value} * percent / 100;
    v = std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(v);
}

std::int32_t Centre(std::int32_t lo, std::int32_t hi) {
    return static_cast<std::int32_t>((std::int64_t{lo} + hi) / 2);
}

std::int32_t RoundTo10(std::int32_t v) {
    return static_cast<std::int32_t>((std::int64_t{v} + 5) / 10 * 10);
}

// value right-aligned in `width` places and one blank, like "%7d ".
std::string Padded(std::int32_t value, int width) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    const int n = static_cast<int>(end - digits);
    std::string text(static_cast<std::size_t>(std::max(width - n, 0)), ' ');
    text.append(digits, end);
    text += ' ';
    return text;
}

void StartCapture(LearningContext& ctx) {
    CaptureState& s = ctx.state;
    const LearningOptions& o = ctx.options;
    if (o.CursorAuto)
        s.CurrentLane += 1;
    if (s.CurrentLane >= o.WaveLanes || s.CurrentLane < 0)
        s.CurrentLane = 0;
    ClearLaneData(ctx, s.CurrentLane);
    s.HRange = DecimalOr(o.HrangeText, 10);
    s.WRange = DecimalOr(o.WrangeText, 10);
    s.LearnTime = Scaled(DecimalOr(o.LtimeText, 500), 100 * 1000); // ms in the box
    WaveLane& lane = s.Lanes[s.CurrentLane];
    lane.Serial += 1;
    lane.HRange = s.HRange;
    lane.WRange = s.WRange;
    lane.LearnTime = s.LearnTime;
    lane.Repeat = RepeatFinding{};
    lane.CenterHigh.fill(0);
    lane.CenterWidth.fill(0);
    s.Bounds = PatternBounds{};
    s.CaptureTotal = 0;
    lane.PatternCount = 0;
    ctx.effects.setProgress(0);
    ctx.effects.setProgressVisible(true);
}

} // namespace

WaveLineFields ParseWaveLine(std::string_view line) {
    WaveLineFields f;
    if (line.size() >= 6 && line[5] == ':') {
        f.Index = FieldAt(line, 1, 3);
        f.High = FieldAt(line, 6, 5);
        f.Width = FieldAt(line, 12, 6);
    } else {
        f.Index = FieldAt(line, 1, 4);
        f.High = FieldAt(line, 7, 5);
        f.Width = FieldAt(line, 13, 7);
    }
    return f;
}

std::int32_t ClassifyPair(WaveLane& lane, PatternBounds& b, std::int32_t hRange,
                          std::int32_t wRange, std::int32_t h, std::int32_t w) {
    const int n = std::min(lane.PatternCount, kPatternWindows);
    int i = 0;
    while (i < n &&
           !(b.MinHigh[i] < h && h < b.MaxHigh[i] && b.MinWidth[i] < w && w < b.MaxWidth[i]))
        ++i;
    if (i >= kPatternWindows) {
        // No seventeenth window exists: the pair is marked and counted so the
        // analysis line can refuse the capture.
        lane.PatternCount += 1;
        return kOverflowPattern;
    }
    const std::int32_t hLo = Scaled(h, std::int64_t{100} - hRange);
    const std::int32_t hHi = Scaled(h, std::int64_t{100} + hRange);
    const std::int32_t wLo = Scaled(w, std::int64_t{100} - wRange);
    const std::int32_t wHi = Scaled(w, std::int64_t{100} + wRange);
    if (b.MinHigh[i] == 0) {
        b.MinHigh[i] = hLo;
        b.MaxHigh[i] = hHi;
        b.MinWidth[i] = wLo;
        b.MaxWidth[i] = wHi;
    } else {
        b.MinHigh[i] = std::min(b.MinHigh[i], hLo);
        b.MaxHigh[i] = std::max(b.MaxHigh[i], hHi);
        b.MinWidth[i] = std::min(b.MinWidth[i], wLo);
        b.MaxWidth[i] = std::max(b.MaxWidth[i], wHi);
    }
    std::int32_t cH = Centre(b.MinHigh[i], b.MaxHigh[i]);
    std::int32_t cW = Centre(b.MinWidth[i], b.MaxWidth[i]);
    if (i < n) {
        cH = Centre(cH, lane.CenterHigh[i]);
        cW = Centre(cW, lane.CenterWidth[i]);
    }
    lane.CenterHigh[i] = RoundTo10(cH);
    lane.CenterWidth[i] = RoundTo10(cW);
    if (i == n)
        lane.PatternCount += 1;
    return i;
}

void HandleWaveLine(LearningContext& ctx, std::string_view line) {
    if (ctx.state.Result.DataBits > 0)
        return;
    HandleWavePair(ctx, ParseWaveLine(line));
}

void HandleWavePair(LearningContext& ctx, const WaveLineFields& f) {
    CaptureState& s = ctx.state;
    if (s.Result.DataBits > 0)
        return;
    if (f.Index < 0 || f.Index > kMaxPairIndex)
        return;
    if (f.Index == 0)
        StartCapture(ctx);
    if (s.CurrentLane < 0 || s.CurrentLane >= ctx.options.WaveLanes || s.CurrentLane >= kLaneSlots)
        return; // a capture must begin with index 0 before pairs can be stored
    const int laneNo = s.CurrentLane;
    WaveLane& lane = s.Lanes[laneNo];
    lane.Pairs[f.Index] = PulsePair{f.High, f.Width};
    lane.LastIndex = f.Index;
    s.CaptureTotal = static_cast<std::int32_t>(std::clamp<std::int64_t>(
        std::int64_t{s.CaptureTotal} + f.Width, std::numeric_limits<std::int32_t>::min(),
        std::numeric_limits<std::int32_t>::max()));
    const std::int32_t p = ClassifyPair(lane, s.Bounds, s.HRange, s.WRange, f.High, f.Width);
    lane.PatternOf[f.Index] = p;
    lane.PatternOf[f.Index + 1] = 0;
    ctx.effects.drawPair(laneNo, f.Index);
    const int col = laneNo * 5 + 1;
    if (ctx.effects.showsWaveData()) {
        ctx.effects.setWaveCell(col, f.Index + 1, Padded(f.High, 7));
        ctx.effects.setWaveCell(col + 1, f.Index + 1, Padded(f.Width, 7));
        ctx.effects.setWaveCell(col + 2, f.Index + 1, Padded(p, 4));
        ctx.effects.setWaveCurrentCell(col, f.Index + 1);
    }
    ctx.effects.setProgress(f.Index + 1);
    if (s.LearnTime < s.CaptureTotal && s.Result.DataBits == 0)
        RepeatAnalysis(ctx);
}

void ClearLaneData(LearningContext& ctx, int lane) {
    const int lanes = ctx.options.WaveLanes;
    const bool all = lane < 0 || lane >= lanes;
    const int first = all ? 0 : lane;
    const int last = all ? lanes - 1 : lane;
    for (int l = first; l <= last && l < kLaneSlots; ++l) {
        ctx.effects.clearWaveColumns(l);
        ctx.state.Lanes[l].LastIndex = 0;
    }
    ctx.effects.setWaveCurrentCell(first * 5 + 1, 1);
    ctx.effects.clearPatternRangePanels();
}

} // namespace quvan
