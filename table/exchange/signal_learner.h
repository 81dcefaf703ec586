#pragma once
// Learning an imported signal exactly as a signal from a remote is learned:
// the board's wave lines and analysis line for its capture go through the
// tool's own capture, pattern sorting, repeat analysis and decoders into a
// table row, so the row cannot be told from one learned at the board.

#include "capture/learning_context.h"
#include "table/exchange/board_capture.h"
#include "table/exchange/signal_file.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace quvan {
class CaptureDecoder;
}

namespace quvan::exchange {

// The silence that ends a signal in a pulse/space recording: the learning
// time of the options (the "Time(ms)" box), at least 1 ms.
std::int32_t SignalGapUs(const LearningOptions& options);

class SignalLearner {
  public:
    // options: the analysis options as the window shows them. The code
    // check, the walk down the table and the end-of-learning messages belong
    // to learning at the board and are left out.
    SignalLearner(LearningTable& table, const LearningOptions& options);
    ~SignalLearner();
    SignalLearner(const SignalLearner&) = delete;
    SignalLearner& operator=(const SignalLearner&) = delete;

    // Learns the signal into `row`; the signal's name goes into the Comments
    // cell when the decoders left it empty. On a refusal the row keeps what
    // it held and the reason is returned.
    std::optional<std::string> learn(const ImportedSignal& signal, int row);

    const HoldRules& holdRules() const { return rules_; }

  private:
    class Effects;
    LearningTable& table_;
    LearningOptions options_;
    HoldRules rules_;
    std::unique_ptr<CaptureState> state_;
    std::unique_ptr<WaveLane> scratch_;
    std::unique_ptr<Effects> effects_;
    LearningContext ctx_;
    std::unique_ptr<CaptureDecoder> decoder_;
};

// The text learning refuses a capture of more than 16 pulse shapes with.
inline constexpr std::string_view kTooManyPatternsReason =
    "more than 16 distinct pulse shapes: learning refuses such a capture "
    "(\xE5\xAD\xA6\xE7\xBF\x92\xE5\x87\xBA\xE6\x9D\xA5\xE3\x81\xBE\xE3\x81\x9B\xE3\x82\x93\xE3\x80"
    "\x82)";

} // namespace quvan::exchange
