#include "decode/capture_decoder.h"

#include "decode/code_assembly.h"
#include "decode/format_names.h"
#include "decode/format_search.h"
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

DecodeRecord& CaptureDecoder::StartRecord(int laneNo, DecoderMode mode) {
    const auto i = static_cast<std::size_t>(laneNo);
    DecodeRecord& r = records_[i];
    r = DecodeRecord{};
    r.Serial = ctx_.state.Lanes[i].Serial;
    r.Mode = mode;
    r.ProEdition = ctx_.options.ProEdition;
    r.FullCode = ctx_.options.FullCode;
    r.Result = ctx_.state.Result;
    recorded_[i] = true;
    return r;
}

const DecodeRecord* CaptureDecoder::record(int laneNo) const {
    if (laneNo < 0 || laneNo >= kLaneSlots)
        return nullptr;
    const auto i = static_cast<std::size_t>(laneNo);
    const WaveLane& lane = ctx_.state.Lanes[i];
    if (!recorded_[i] || records_[i].Serial != lane.Serial || lane.LastIndex == 0)
        return nullptr;
    return &records_[i];
}

void CaptureDecoder::DecodeCapture() {
    const int laneNo = ctx_.state.CurrentLane;
    if (!LaneInUse(ctx_, laneNo))
        return;
    const WaveLane& lane = ctx_.state.Lanes[static_cast<std::size_t>(laneNo)];
    const LearningOptions& o = ctx_.options;
    if (o.Eiritsu || o.Philips || o.Serial) {
        if (lane.LastIndex == 0)
            return;
        DecodeRecord& r = StartRecord(laneNo, o.Eiritsu   ? DecoderMode::Eiritsu
                                              : o.Philips ? DecoderMode::Philips
                                                          : DecoderMode::Serial);
        if (o.Eiritsu) {
            r.ResultText = EiritsuDecoder(lane);
        } else if (o.Philips) {
            r.ResultText = PhilipsDecoder(lane, PhilipsParams(o));
        } else {
            SerialResult s = SerialDecoder(lane, SerialParams(o), SerialSymbolBits(o));
            if (s.SerialId)
                ctx_.state.SerialId = *s.SerialId;
            r.ResultText = s.Text;
        }
        ShowResult(ctx_, laneNo, r.ResultText);
        return;
    }
    if (o.MultiHeader) {
        if (lane.LastIndex == 0)
            return;
        DecodeRecord& r = StartRecord(laneNo, DecoderMode::MultiHeader);
        r.ResultText = PatternCodeResult(lane, ctx_.state.Result.DataBits);
        const int row = ctx_.effects.currentRow();
        if (ctx_.table.validRow(row))
            ctx_.table.setCell(row, ColResult, r.ResultText);
        return;
    }
    if (!o.PCode) {
        StartRecord(laneNo, DecoderMode::Patterns);
        FormatSearch search = SearchFormat(lane, ctx_.state.Result.DataBits, o.ProEdition, true);
        const int set = search.Set;
        const Recognition rec = search.Rec;
        records_[static_cast<std::size_t>(laneNo)].Search = std::move(search);
        ShowRecognised(set, rec);
        return;
    }
    DecodeRecord& r = StartRecord(laneNo, DecoderMode::PatternCode);
    r.ResultText = PatternCodeResult(lane, ctx_.state.Result.DataBits);
    if (o.CodeCheck) {
        ShowResult(ctx_, laneNo, r.ResultText);
    } else {
        const int row = ctx_.effects.currentRow();
        if (ctx_.table.validRow(row))
            ctx_.table.setCell(row, ColResult, r.ResultText);
    }
}

void CaptureDecoder::ShowRecognised(int set, const Recognition& rec) {
    const int laneNo = ctx_.state.CurrentLane;
    const WaveLane& lane = ctx_.state.Lanes[static_cast<std::size_t>(laneNo)];
    DecodeRecord& record = records_[static_cast<std::size_t>(laneNo)];
    CaptureResult& result = ctx_.state.Result;
    if (rec.OverridesFrame) {
        result.RepeatBit = rec.RepeatBit;
        result.DataBits = rec.DataBits;
        record.Result = result;
    }
    const AssembledCode code = AssembleCode(set, rec, lane, ctx_.options.FullCode);
    if (ctx_.effects.showsWaveData()) {
        // The Logic column and the drawing over the lane come from one reading.
        record.Meanings = MeaningsOfPulses(set, rec, lane, ctx_.options.FullCode);
        const PulseMeanings& m = record.Meanings;
        for (int j = 0; j < m.ResultPairs; ++j) {
            if (m.isBit(static_cast<std::size_t>(j)))
                ctx_.effects.setWaveCell(
                    laneNo * 5 + 4, j + 1,
                    LogicText(m.Roles[static_cast<std::size_t>(j)] == PulseRole::One));
        }
    }
    for (const std::string& line : code.LogLines)
        ctx_.effects.appendLog(line);
    record.ResultText = PatternResultText(set, rec, code, ctx_.options.ProEdition);
    ShowResult(ctx_, laneNo, record.ResultText);
    if (!record.Meanings.empty())
        ctx_.effects.drawPulseMeanings(laneNo, record.Meanings);
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
