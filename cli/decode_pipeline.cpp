#include "cli/decode_pipeline.h"

#include "capture/analysis_line.h"
#include "capture/learning_control.h"
#include "capture/wave_line.h"
#include "decode/capture_diagnosis.h"

#include <algorithm>

namespace quvan {

class DecodePipeline::Effects : public LearningEffects {
  public:
    int currentRow() const override { return row_; }
    void setCurrentRow(int row) override { row_ = row; }
    void reportError(const std::string& text) override { errors.push_back(text); }
    bool showsWaveData() const override { return false; }

    std::vector<std::string> errors;

  private:
    int row_ = 1;
};

DecodePipeline::DecodePipeline(const LearningOptions& options)
    : options_(options), state_(std::make_unique<CaptureState>()),
      table_(options.ProEdition ? kProTableRows : kStdTableRows),
      effects_(std::make_unique<Effects>()), ctx_{*state_, options_, table_, *effects_},
      decoder_(ctx_) {
    options_.CursorAuto = true;
    options_.PortOpen = true;
    table_.onRowsChanged = [this](int first, int last) {
        dirtyFirst_ = dirtyLast_ < dirtyFirst_ ? first : std::min(dirtyFirst_, first);
        dirtyLast_ = std::max(dirtyLast_, last);
    };
    StartLearning(ctx_, false);
}

DecodePipeline::~DecodePipeline() = default;

void DecodePipeline::reset(const LearningOptions& options) {
    options_ = options;
    options_.CursorAuto = true;
    options_.PortOpen = true;
    *state_ = CaptureState{};
    // Every write of a learned row also sets one of its cells.
    for (int row = std::max(dirtyFirst_, 1); row <= dirtyLast_; ++row)
        table_.clearRow(row);
    dirtyFirst_ = 0;
    dirtyLast_ = -1;
    effects_->setCurrentRow(1);
    effects_->errors.clear();
    storedRows_.clear();
    lastLane_ = -1;
    StartLearning(ctx_, false);
}

bool DecodePipeline::handleLine(std::string_view line, std::string& out) {
    if (line.starts_with("[")) {
        HandleWaveLine(ctx_, line);
        return false;
    }
    if (!line.starts_with("Ave."))
        return false;
    const int lane = state_->CurrentLane;
    const int row = effects_->currentRow();
    lastLane_ = lane;
    const AnalysisLineResult r = HandleAnalysisLine(ctx_, decoder_, line);
    if (onCapture && lane >= 0 && lane < options_.WaveLanes && lane < kLaneSlots)
        onCapture(row, state_->Lanes[static_cast<std::size_t>(lane)]);
    switch (r.Outcome) {
    case AnalysisOutcome::Stored:
    case AnalysisOutcome::Checked:
        storedRows_.insert(r.Row);
        out = table_.cell(r.Row, ColCarry) + "\t" + table_.cell(r.Row, ColFrames) + "\t" +
              table_.cell(r.Row, ColResult);
        break;
    case AnalysisOutcome::TooManyPatterns:
        out = kCannotLearnCells;
        break;
    case AnalysisOutcome::NoCapture:
        lastLane_ = -1;
        out = kErrorCells;
        break;
    case AnalysisOutcome::BadCarrier:
        out = kErrorCells;
        break;
    }
    return true;
}

std::vector<std::string> DecodePipeline::explainLast() const {
    if (lastLane_ < 0 || lastLane_ >= kLaneSlots)
        return {};
    DiagnosisOptions o;
    o.ProEdition = options_.ProEdition;
    return DiagnoseCapture(state_->Lanes[static_cast<std::size_t>(lastLane_)],
                           decoder_.record(lastLane_), o)
        .Lines;
}

std::vector<std::string> DecodePipeline::takeErrors() {
    std::vector<std::string> errors;
    errors.swap(effects_->errors);
    return errors;
}

std::string DecodePipeline::recordLine(int row) const {
    const LearnedSignal& rec = table_.record(row);
    std::string line = std::to_string(row) + "\t" + std::to_string(rec.Carry) + "\t" +
                       std::to_string(rec.DataBits) + "\t" + std::to_string(rec.RepeatBit) + "\t";
    for (int i = 0; i < kPatternSlots; ++i) {
        if (i > 0)
            line += ",";
        line += std::to_string(rec.PatternHigh[i]) + "/" + std::to_string(rec.PatternWidth[i]);
    }
    line += "\t" + PatternCodeText(rec);
    return line;
}

void DecodeLog(DecodePipeline& pipeline, std::string_view log, std::string& out,
               std::vector<std::string>& errors) {
    LogStreamDecoder decoder(pipeline);
    decoder.feed(log, out, errors);
    decoder.finish(out, errors);
}

void LogStreamDecoder::feed(std::string_view bytes, std::string& out,
                            std::vector<std::string>& errors) {
    while (!bytes.empty()) {
        const std::size_t nl = bytes.find('\n');
        const std::size_t room = kMaxLogLine - partial_.size();
        if (nl == std::string_view::npos && bytes.size() < room) {
            partial_.append(bytes);
            return;
        }
        const std::size_t take = std::min(nl == std::string_view::npos ? bytes.size() : nl, room);
        std::string_view text = bytes.substr(0, take);
        if (!partial_.empty()) {
            partial_.append(text);
            text = partial_;
        }
        line(text, out, errors);
        partial_.clear();
        bytes.remove_prefix(take == nl ? take + 1 : take);
    }
}

void LogStreamDecoder::finish(std::string& out, std::vector<std::string>& errors) {
    if (!partial_.empty())
        line(partial_, out, errors);
    partial_.clear();
}

void LogStreamDecoder::line(std::string_view text, std::string& out,
                            std::vector<std::string>& errors) {
    if (!text.empty() && text.back() == '\r')
        text.remove_suffix(1);
    if (pipeline_.handleLine(text, result_)) {
        out += result_;
        out += '\n';
        if (pipeline_.explains()) {
            for (const std::string& explained : pipeline_.explainLast())
                out += "  " + explained + "\n";
        }
        for (std::string& e : pipeline_.takeErrors())
            errors.push_back(std::move(e));
    }
}

} // namespace quvan
