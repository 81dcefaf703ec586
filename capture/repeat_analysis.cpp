#include "capture/repeat_analysis.h"

#include "capture/repeat_scan.h"
#include "platform/user_text.h"

namespace quvan {

using user_text::Tr;

void RepeatAnalysis(LearningContext& ctx) {
    CaptureState& s = ctx.state;
    const int laneNo = s.CurrentLane;
    if (laneNo < 0 || laneNo >= kLaneSlots)
        return;
    WaveLane& lane = s.Lanes[laneNo];
    const int N = lane.LastIndex;
    const RepeatScan r = s.RepeatSearch.Scan(lane.PatternOf.data(), N);
    const bool lastGapShort = lane.Pairs[N].Width < s.LearnTime;
    // Kept even without a result: the analysis line may close the capture
    // later, and the diagnosis tells what the last look found.
    lane.Repeat = RepeatFinding{CaptureClose::Open, r.e, r.L, r.c, N};
    CaptureResult found = s.Result;
    CaptureClose why = CaptureClose::FrameRepeats;
    if (r.c <= 2) {
        if (lastGapShort)
            return;
        why = CaptureClose::GapPassed;
        found.DataBits = N + 1;
        found.RepeatBit = 0;
        found.Frames = 1;
    } else if (r.L > 1) {
        found.DataBits = r.e + r.L;
        found.RepeatBit = r.e;
        found.Frames = r.c;
    } else {
        if (lastGapShort)
            return;
        // A run of one pulse shape with short periods is a carrier burst, not
        // a frame: keep it whole.
        const std::int32_t p = lane.PatternOf[r.e];
        const std::int32_t period = p >= 0 && p < kPatternWindows ? lane.CenterWidth[p] : 0;
        if (period < 20000) {
            why = CaptureClose::CarrierBurst;
            found.DataBits = N + 1;
            found.RepeatBit = 0;
            found.Frames = 1;
        } else {
            why = CaptureClose::RepeatedPulse;
            found.DataBits = r.e + 1;
            found.RepeatBit = r.e;
            found.Frames = r.c;
        }
    }
    s.Result = found;
    lane.Repeat.Close = why;
    FinishLearning(ctx);
}

void FinishLearning(LearningContext& ctx) {
    CaptureState& s = ctx.state;
    ctx.effects.setLearningIndicator(false);
    if (!ctx.options.LearningMsg) {
        ctx.effects.playSound(Sound::Chimes);
        return;
    }
    const bool unreliable = s.CaptureTotal < s.LearnTime && s.Result.Frames < 3;
    const std::string caption = unreliable ? Tr("Learning", "警告") : Tr("Learning", "確認");
    const std::string text =
        unreliable
            ? Tr("Learning", "学習の信頼性が低いです。リモコンのボタンを１秒以上押して下さい。")
            : Tr("Learning", "学習完了しました。\nリモコンのボタンを離して下さい。");
    ctx.effects.sendCommand("T");
    bool dispOff = false;
    ctx.effects.showMessage(0, caption, text, dispOff);
    ctx.effects.setLearningMsgChecked(!dispOff);
}

} // namespace quvan
