#include "capture/analysis_line.h"

#include "capture/learning_control.h"
#include "capture/repeat_analysis.h"
#include "capture/text_number.h"
#include "platform/user_text.h"
#include "table/learning_table.h"

#include <algorithm>
#include <vector>

namespace quvan {

using user_text::Tr;

std::string CarrierText(std::string_view line) {
    const std::size_t found = line.find("kHz");
    const long p = found == std::string_view::npos ? 0 : static_cast<long>(found) + 1;
    long n = p - 12;
    if (n < 0)
        n = 4;
    return std::string(SafeMid(line, 11, static_cast<std::size_t>(n)));
}

void StoreCapture(LearningContext& ctx, int row, const std::string& carrierText) {
    const CaptureState& s = ctx.state;
    const WaveLane& lane = s.Lanes[s.CurrentLane];
    ctx.table.setCell(row, ColCarry, carrierText + "kHz");
    ctx.table.setCell(row, ColFrames, s.Result.Frames >= 3 ? "3" : "1");
    ctx.effects.setCurrentColumn(3);
    LearnedSignal& rec = ctx.table.record(row);
    rec.Carry = s.Result.Carry;
    rec.DataBits = s.Result.DataBits;
    rec.RepeatBit = s.Result.RepeatBit;
    for (int i = 0; i < kPatternWindows; ++i) {
        rec.PatternHigh[i] = lane.CenterHigh[i];
        rec.PatternWidth[i] = lane.CenterWidth[i];
    }
    const int count = std::min(std::max(s.Result.DataBits, 0), kMaxPatternCodes);
    for (int i = 0; i < count; ++i)
        rec.PatternCode[i] = static_cast<std::uint8_t>(lane.PatternOf[i]);
}

void CloseCapture(LearningContext& ctx) {
    CaptureState& s = ctx.state;
    if (s.Result.DataBits != 0 || s.CurrentLane < 0 || s.CurrentLane >= kLaneSlots)
        return;
    RepeatAnalysis(ctx);
    if (s.Result.DataBits == 0) {
        WaveLane& lane = s.Lanes[s.CurrentLane];
        s.Result.DataBits = lane.LastIndex + 1;
        lane.Repeat.Close = CaptureClose::AnalysisLine;
        lane.Repeat.LastIndex = lane.LastIndex;
    }
}

AnalysisLineResult HandleAnalysisLine(LearningContext& ctx, CaptureDecoding& decoding,
                                      std::string_view line) {
    CaptureState& s = ctx.state;
    AnalysisLineResult result;
    ctx.effects.setProgressVisible(false);
    const int laneNo = s.CurrentLane;
    if (laneNo < 0 || laneNo >= ctx.options.WaveLanes || laneNo >= kLaneSlots) {
        ctx.effects.reportError(Tr("Learning", "Ave.: 解析する波形がありません"));
        return result;
    }
    WaveLane& lane = s.Lanes[laneNo];
    if (lane.PatternCount > kPatternWindows) {
        bool dispOff = false;
        ctx.effects.showMessage(1, Tr("Learning", "Error"), Tr("Learning", "学習出来ません。"),
                                dispOff);
        result.Outcome = AnalysisOutcome::TooManyPatterns;
        return result;
    }
    result.CarrierText = CarrierText(line);
    const std::optional<std::int32_t> carry = ParseTenths(result.CarrierText);
    // No carrier is zero or negative; stored, such a value would make a row
    // that looks learned but counts as empty, or a carrier the board cannot
    // send.
    if (!carry || *carry <= 0) {
        ctx.effects.reportError(user_text::Fill(
            Tr("Learning", "'%1' は有効なキャリア周波数ではありません"), {result.CarrierText}));
        result.Outcome = AnalysisOutcome::BadCarrier;
        return result;
    }
    s.Result.Carry = *carry;
    CloseCapture(ctx);
    const int row = ctx.effects.currentRow();
    s.LaneRow[laneNo] = row;
    result.Row = row;
    decoding.DecodeCapture();
    decoding.SamplingOverlay(laneNo);
    if (ctx.options.CodeCheck) {
        RestartLearning(ctx);
        result.Outcome = AnalysisOutcome::Checked;
        return result;
    }
    if (!ctx.table.validRow(row))
        return result;
    StoreCapture(ctx, row, result.CarrierText);
    ctx.effects.setProgressVisible(false);
    ctx.effects.setTableModified();
    // The report is taken before learning restarts, which zeroes the frame
    // count it shows.
    std::vector<std::string> report;
    if (ctx.options.MonitorMode)
        report = AnalysisReport(ctx, row, laneNo);
    if (ctx.options.CursorAuto)
        RestartLearning(ctx);
    for (const std::string& text : report)
        ctx.effects.appendLog(text);
    result.Outcome = AnalysisOutcome::Stored;
    return result;
}

} // namespace quvan
