#include "decode/capture_decoder.h"

#include "decode/code_assembly.h"
#include "decode/format_names.h"
#include "decode/recognition.h"
#include "decode/sampling_decoders.h"
#include "decode/show_result.h"
#include "table/learning_table.h"

namespace quvan {

namespace {

bool LaneInUse(const LearningContext& ctx, int lane) {
    return lane >= 0 && lane < kLaneSlots && lane < ctx.options.WaveLanes;
}

} // namespace

void CaptureDecoder::DecodeCapture() {
    const int laneNo = ctx_.state.CurrentLane;
    if (!LaneInUse(ctx_, laneNo))
        return;
    const WaveLane& lane = ctx_.state.Lanes[static_cast<std::size_t>(laneNo)];
    const LearningOptions& o = ctx_.options;
    if (o.Eiritsu || o.Philips || o.Serial) {
        if (lane.LastIndex == 0)
            return;
        if (o.Eiritsu) {
            ShowResult(ctx_, laneNo, EiritsuDecoder(lane));
        } else if (o.Philips) {
            ShowResult(ctx_, laneNo, PhilipsDecoder(lane, PhilipsParams(o)));
        } else {
            SerialResult r = SerialDecoder(lane, SerialParams(o), SerialSymbolBits(o));
            if (r.SerialId)
                ctx_.state.SerialId = *r.SerialId;
            ShowResult(ctx_, laneNo, r.Text);
        }
        return;
    }
    if (o.MultiHeader) {
        if (lane.LastIndex == 0)
            return;
        const int row = ctx_.effects.currentRow();
        if (ctx_.table.validRow(row))
            ctx_.table.setCell(row, ColResult, PatternCodeResult(lane, ctx_.state.Result.DataBits));
        return;
    }
    if (!o.PCode) {
        for (int set = 0; set < kTimingSetCount; ++set) {
            const TimingWindows w = MakeTimingWindows(set);
            if (FitsTimingSet(set, w, lane.CenterHigh.data(), lane.CenterWidth.data(),
                              o.ProEdition) &&
                DecodePatterns(set))
                return;
        }
        DecodePatterns(kUnknownSet);
        return;
    }
    const std::string text = PatternCodeResult(lane, ctx_.state.Result.DataBits);
    if (o.CodeCheck) {
        ShowResult(ctx_, laneNo, text);
    } else {
        const int row = ctx_.effects.currentRow();
        if (ctx_.table.validRow(row))
            ctx_.table.setCell(row, ColResult, text);
    }
}

bool CaptureDecoder::DecodePatterns(int set) {
    const int laneNo = ctx_.state.CurrentLane;
    if (!LaneInUse(ctx_, laneNo))
        return false;
    const WaveLane& lane = ctx_.state.Lanes[static_cast<std::size_t>(laneNo)];
    CaptureResult& result = ctx_.state.Result;
    const Recognition rec = RecognisePatterns(set, lane, result.DataBits);
    if (rec.FormatIndex == kUnknownFormat && set < kUnknownSet)
        return false;
    if (rec.OverridesFrame) {
        result.RepeatBit = rec.RepeatBit;
        result.DataBits = rec.DataBits;
    }
    const AssembledCode code = AssembleCode(set, rec, lane, ctx_.options.FullCode);
    if (ctx_.effects.showsWaveData()) {
        for (const LogicBit& bit : code.Logic)
            ctx_.effects.setWaveCell(laneNo * 5 + 4, bit.Pair + 1, LogicText(bit.One));
    }
    for (const std::string& line : code.LogLines)
        ctx_.effects.appendLog(line);
    int format = rec.FormatIndex;
    if (set == 3) {
        // Too short or not hexadecimal: no maker to look up, the NEC name stays.
        if (const auto custom = CustomCodeOf(code.Code))
            format = CustomCodeMap(*custom, format, ctx_.options.ProEdition);
    }
    ShowResult(ctx_, laneNo, ResultText(format, code.Code));
    return true;
}

void CaptureDecoder::SamplingOverlay(int laneNo) {
    if (!LaneInUse(ctx_, laneNo))
        return;
    const LearningOptions& o = ctx_.options;
    if (!o.Eiritsu && !o.Philips && !o.Serial)
        return;
    const WaveLane& lane = ctx_.state.Lanes[static_cast<std::size_t>(laneNo)];
    const int row = ctx_.state.LaneRow[static_cast<std::size_t>(laneNo)];
    if (ctx_.table.validRow(row) &&
        ctx_.table.cell(row, ColResult).find("Tm:") != std::string::npos)
        return;
    SamplingKind kind = SamplingKind::Eiritsu;
    SamplingParams params = kEiritsuParams;
    if (!o.Eiritsu) {
        kind = o.Philips ? SamplingKind::Philips : SamplingKind::Serial;
        params = o.Philips ? PhilipsParams(o) : SerialParams(o);
    }
    const std::vector<OverlayCell> cells =
        SamplingOverlayCells(lane, kind, params, o.WaveZoom, o.WaveImageWidth);
    if (!cells.empty())
        ctx_.effects.drawSamplingOverlay(laneNo, cells);
}

} // namespace quvan
