#include "app/main_line_handlers.h"

#include "app/main_window.h"

namespace quvan::app {

link::DispatchState MainLineHandlers::dispatchState() const {
    link::DispatchState state;
    state.portSearchActive = window_.boardLink().PortSearchActive();
    state.startupDone = window_.state().StartupDone;
    if (fillState) {
        fillState(state);
    }
    return state;
}

void MainLineHandlers::SetLearningIndicator(bool on) {
    window_.SetLearningIndicator(on);
}

void MainLineHandlers::RecordBoardVersion(const std::string& line) {
    window_.RecordBoardVersion(line);
}

void MainLineHandlers::SetIrAck(bool ackByte) {
    window_.state().settings.IrAck = ackByte;
}

int MainLineHandlers::logLineCount() const {
    return window_.logLineCount();
}

void MainLineHandlers::clearLog() {
    window_.clearLog();
}

void MainLineHandlers::appendLog(const std::string& line) {
    // Received bytes above 0x7F are not ASCII; show them as Latin-1 rather than
    // dropping them.
    window_.appendLog(QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())));
}

} // namespace quvan::app
