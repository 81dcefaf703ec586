#include "table/exchange/signal_learner.h"

#include "capture/analysis_line.h"
#include "capture/text_number.h"
#include "capture/wave_line.h"
#include "decode/capture_decoder.h"
#include "table/learning_table.h"

#include <algorithm>
#include <cstdio>

namespace quvan::exchange {

namespace {

// What the board's report of one pulse carries: a mark of five digits, a
// period of six digits up to index 999 and seven beyond; values too wide for
// a field show all nines.
WaveLineFields ReportedPair(std::size_t index, const protocols::Pulse& p) {
    return {static_cast<std::int32_t>(index), std::clamp(p.high, 0, 99999),
            std::clamp(p.width, 0, index <= 999 ? 999999 : 9999999)};
}

} // namespace

class SignalLearner::Effects final : public LearningEffects {
  public:
    int currentRow() const override { return row; }
    void setCurrentRow(int r) override { row = r; }
    bool showsWaveData() const override { return false; }
    int row = 1;
};

SignalLearner::SignalLearner(LearningTable& table, const LearningOptions& options)
    : table_(table), options_(options), state_(std::make_unique<CaptureState>()),
      scratch_(std::make_unique<WaveLane>()),
      effects_(std::make_unique<Effects>()), ctx_{*state_, options_, table_, *effects_},
      decoder_(std::make_unique<CaptureDecoder>(ctx_)) {
    options_.CodeCheck = false;
    options_.CursorAuto = false;
    options_.LearningMsg = false;
    options_.MonitorMode = false;
    options_.PortOpen = true;
    options_.WaveLanes = std::max(options_.WaveLanes, 1);
    // The same readings of the edit boxes as at the start of a capture.
    rules_.hRange = DecimalOr(options_.HrangeText, 10);
    rules_.wRange = DecimalOr(options_.WrangeText, 10);
    rules_.learnEndMs = DecimalOr(options_.LtimeText, 500);
}

SignalLearner::~SignalLearner() = default;

std::optional<std::string> SignalLearner::learn(const ImportedSignal& signal, int row) {
    if (!table_.validRow(row))
        return "row " + std::to_string(row) + " is not in the table";
    const protocols::PulseList pulses = BoardCapture(signal, rules_, *scratch_);
    if (pulses.empty())
        return std::string("the signal has no pulses");

    // Learning switched on for this row: the capture opens in lane 0.
    CaptureState& s = *state_;
    s.Result = CaptureResult{};
    s.CurrentLane = 0;
    effects_->row = row;
    for (std::size_t i = 0; i < pulses.size() && s.Result.DataBits == 0; ++i)
        HandleWavePair(ctx_, ReportedPair(i, pulses[i]));
    char line[48];
    const std::int32_t tenths = CarrierTenths(signal.carrierHz);
    const int n =
        std::snprintf(line, sizeof line, "Ave.Freq = %02d.%dkHz", tenths / 10, tenths % 10);
    const AnalysisLineResult result =
        HandleAnalysisLine(ctx_, *decoder_, std::string_view(line, static_cast<std::size_t>(n)));
    switch (result.Outcome) {
    case AnalysisOutcome::Stored:
        break;
    case AnalysisOutcome::TooManyPatterns:
        return std::string(kTooManyPatternsReason);
    default:
        return "the capture could not be learned (" + result.CarrierText + ")";
    }
    if (!signal.name.empty() && TrimControl(table_.cell(row, ColComments)).empty())
        table_.setCell(row, ColComments, signal.name);
    return std::nullopt;
}

std::int32_t SignalGapUs(const LearningOptions& options) {
    return 1000 * std::max(1, DecimalOr(options.LtimeText, 500));
}

} // namespace quvan::exchange
