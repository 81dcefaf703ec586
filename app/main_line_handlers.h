#pragma once
// Connects the board link's router to the main window and, through hooks, to
// the subsystems that own the other kinds of lines.

#include "link/line_dispatcher.h"

#include <functional>
#include <string>

namespace quvan::app {

class TfrmMain;

class MainLineHandlers final : public link::LineHandlers {
  public:
    explicit MainLineHandlers(TfrmMain& window) : window_(window) {}

    // Subsystems that handle lines plug in here; an empty hook ignores the line.
    using LineHook = std::function<void(const std::string&)>;
    LineHook loaderLine, waveLine, analysisLine, readBackLine, dswReply;
    // Where the dialogs and switches that steer the routing report their state.
    std::function<void(link::DispatchState&)> fillState;

    link::DispatchState dispatchState() const override;
    void HandleLoaderLine(const std::string& line) override { Call(loaderLine, line); }
    void HandleWaveLine(const std::string& line) override { Call(waveLine, line); }
    void HandleAnalysisLine(const std::string& line) override { Call(analysisLine, line); }
    void HandleReadBackLine(const std::string& line) override { Call(readBackLine, line); }
    void HandleDswReply(const std::string& line) override { Call(dswReply, line); }
    void SetLearningIndicator(bool on) override;
    void RecordBoardVersion(const std::string& line) override;
    void SetIrAck(bool ackByte) override;
    int logLineCount() const override;
    void clearLog() override;
    void appendLog(const std::string& line) override;

  private:
    static void Call(const LineHook& hook, const std::string& line) {
        if (hook) {
            hook(line);
        }
    }
    TfrmMain& window_;
};

} // namespace quvan::app
