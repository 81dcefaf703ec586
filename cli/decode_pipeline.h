#pragma once
// The learning run of the tool without its window: board lines in, the
// table row cells of each analysis line out. Used by quvan-decode, its tests,
// benchmark and fuzz target.

#include "capture/learning_context.h"
#include "decode/capture_decoder.h"
#include "table/learning_table.h"

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace quvan {

// The cells of an output line for a capture that was not learned: one with
// more pulse shapes than a record holds, and one that is no usable capture.
inline constexpr std::string_view kCannotLearnCells = "-\t-\t学習出来ません。";
inline constexpr std::string_view kErrorCells = "-\t-\tERROR";

class DecodePipeline {
  public:
    // Learning is switched on with "Cursor Auto" ticked as the pipeline starts.
    explicit DecodePipeline(const LearningOptions& options);
    ~DecodePipeline();

    // Starts over as if newly made, keeping the storage; the options must be
    // of the same edition (the table size depends on it).
    void reset(const LearningOptions& options);

    // Handles one received line (without its line break). Returns true and
    // sets out to "Carry<TAB>Frames<TAB>Result" for an analysis line.
    bool handleLine(std::string_view line, std::string& out);

    // Called after each analysis line with the table row the capture lands in
    // (or would, had it been stored) and the lane that holds it.
    std::function<void(int row, const WaveLane& lane)> onCapture;

    // Messages the window would have shown in its error display.
    std::vector<std::string> takeErrors();

    // With explain on, DecodeLog follows each capture's cells with the
    // diagnosis of that capture.
    void setExplain(bool explain) { explain_ = explain; }
    bool explains() const { return explain_; }
    // The diagnosis of the capture of the last analysis line (empty when
    // there was no capture to analyse).
    std::vector<std::string> explainLast() const;

    const LearningTable& table() const { return table_; }
    const std::set<int>& storedRows() const { return storedRows_; }

    // "row, Carry, DataBits, RepeatBit, High/Width x16, PatternCodeText".
    std::string recordLine(int row) const;

  private:
    class Effects;
    LearningOptions options_;
    std::unique_ptr<CaptureState> state_;
    LearningTable table_;
    std::unique_ptr<Effects> effects_;
    LearningContext ctx_;
    CaptureDecoder decoder_;
    std::set<int> storedRows_;
    bool explain_ = false;
    int lastLane_ = -1;
    // Rows written since the last reset, so a reset clears only those.
    int dirtyFirst_ = 0;
    int dirtyLast_ = -1;
};

// Splits a log into lines (LF or CR LF) and appends one output line per
// analysis line to out; error messages go to errors.
void DecodeLog(DecodePipeline& pipeline, std::string_view log, std::string& out,
               std::vector<std::string>& errors);

// The same on a log that arrives in pieces split anywhere, so that a log of
// any size is decoded in the same memory: only the line being completed is
// kept. A line longer than kMaxLogLine bytes (no board line comes near) is
// handled in pieces of that length.
class LogStreamDecoder {
  public:
    static constexpr std::size_t kMaxLogLine = 64 * 1024;

    explicit LogStreamDecoder(DecodePipeline& pipeline) : pipeline_(pipeline) {}

    void feed(std::string_view bytes, std::string& out, std::vector<std::string>& errors);
    // The end of one log: its last line, when no line break ended it.
    void finish(std::string& out, std::vector<std::string>& errors);

  private:
    void line(std::string_view text, std::string& out, std::vector<std::string>& errors);

    DecodePipeline& pipeline_;
    std::string partial_;
    std::string result_;
};

} // namespace quvan
