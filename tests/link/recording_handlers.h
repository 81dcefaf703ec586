#pragma once
// Line handlers that record what the router did with each line.

#include "link/line_dispatcher.h"

#include <string>
#include <vector>

namespace quvan::link::test_support {

class RecordingHandlers final : public LineHandlers {
  public:
    DispatchState state;
    std::vector<std::string> calls; // "Wave:<line>", "Log:<line>", ...
    std::vector<std::string> log;
    int learning = -1; // -1 untouched, 0 off, 1 on
    int irAck = -1;

    DispatchState dispatchState() const override { return state; }
    void HandleLoaderLine(const std::string& l) override { calls.push_back("Loader:" + l); }
    void HandleWaveLine(const std::string& l) override { calls.push_back("Wave:" + l); }
    void HandleAnalysisLine(const std::string& l) override { calls.push_back("Analysis:" + l); }
    void HandleReadBackLine(const std::string& l) override { calls.push_back("ReadBack:" + l); }
    void HandleDswReply(const std::string& l) override { calls.push_back("Dsw:" + l); }
    void SetLearningIndicator(bool on) override { learning = on ? 1 : 0; }
    void RecordBoardVersion(const std::string& l) override { calls.push_back("Version:" + l); }
    void SetIrAck(bool ack) override { irAck = ack ? 1 : 0; }
    int logLineCount() const override { return static_cast<int>(log.size()); }
    void clearLog() override { log.clear(); }
    void appendLog(const std::string& l) override { log.push_back(l); }
};

} // namespace quvan::link::test_support
