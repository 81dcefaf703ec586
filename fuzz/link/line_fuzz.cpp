// Arbitrary bytes through framing, display text and routing.
// The first byte picks the receive-delimiter mode and the dialog state, the
// rest is the byte stream as it would come off the line.

#include "link/line_assembler.h"
#include "link/line_dispatcher.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

using namespace quvan::link;

class CountingHandlers final : public LineHandlers {
  public:
    DispatchState state;
    int lines = 0;
    std::size_t logged = 0;
    DispatchState dispatchState() const override { return state; }
    void HandleLoaderLine(const std::string& l) override { lines += !l.empty(); }
    void HandleWaveLine(const std::string& l) override { lines += !l.empty(); }
    void HandleAnalysisLine(const std::string& l) override { lines += !l.empty(); }
    void HandleReadBackLine(const std::string& l) override { lines += !l.empty(); }
    void HandleDswReply(const std::string& l) override { lines += !l.empty(); }
    void SetLearningIndicator(bool) override {}
    void RecordBoardVersion(const std::string&) override {}
    void SetIrAck(bool) override {}
    int logLineCount() const override { return static_cast<int>(logged); }
    void clearLog() override { logged = 0; }
    void appendLog(const std::string&) override { ++logged; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::uint8_t control = data[0];
    CountingHandlers handlers;
    handlers.state.startupDone = (control & 0x08) != 0;
    handlers.state.portSearchActive = (control & 0x10) != 0;
    handlers.state.firmwareDialogVisible = (control & 0x20) != 0;
    handlers.state.readBackRunning = (control & 0x40) != 0;
    handlers.state.registerDialogVisible = (control & 0x80) != 0;
    bool responded = false;
    LineDispatcher dispatcher(handlers, [&] { responded = true; });
    LineAssembler assembler((control & 0x07) % 5);
    for (std::size_t i = 1; i < size; ++i) {
        const auto step = assembler.push(data[i], (control & 0x04) != 0);
        if (step.lineReady) {
            dispatcher.dispatch(assembler.takeDisplayText());
        }
        if (assembler.length() > LineAssembler::kLineLimit) {
            __builtin_trap(); // the line must never outgrow its buffer
        }
    }
    if (assembler.length() > 0) {
        dispatcher.dispatch(assembler.takeDisplayText()); // the idle flush
    }
    return 0;
}
