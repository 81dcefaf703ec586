#pragma once
// Routes every line the board sends to the one part of the program that
// handles it, by the line's beginning, its content and which dialog is open.

#include <functional>
#include <string>
#include <string_view>

namespace quvan::link {

// What the router reads from the rest of the program at the moment a line
// arrives.
struct DispatchState {
    bool firmwareDialogVisible = false;
    bool firmwareSending = false;       // the firmware file is being sent
    bool registerDialogVisible = false; // frmTws
    bool readBackRunning = false;
    bool dipSwitchDialogVisible = false;
    bool waveDataPanelVisible = false; // pnlWaveData
    bool monitorMode = false;
    bool portSearchActive = false;
    bool startupDone = false;
};

// The handlers of the lines; the main window implements them.
class LineHandlers {
  public:
    virtual ~LineHandlers() = default;
    virtual DispatchState dispatchState() const = 0;

    virtual void HandleLoaderLine(const std::string& line) = 0;
    virtual void HandleWaveLine(const std::string& line) = 0;
    virtual void HandleAnalysisLine(const std::string& line) = 0;
    virtual void HandleReadBackLine(const std::string& line) = 0;
    virtual void HandleDswReply(const std::string& line) = 0;
    virtual void SetLearningIndicator(bool on) = 0;
    virtual void RecordBoardVersion(const std::string& line) = 0;
    virtual void SetIrAck(bool ackByte) = 0;

    // The receive log memoRecv.
    virtual int logLineCount() const = 0;
    virtual void clearLog() = 0;
    virtual void appendLog(const std::string& line) = 0;
};

// Which way a line went; for tests and diagnostics.
enum class Route {
    Loader,         // firmware update dialog open
    Wave,           // "["
    Analysis,       // "Ave."
    IrEnd,          // "IrEND:" logged, completion code taken
    VersionReply,   // version line while searching or starting up
    StartupReply,   // "ZEM:off" while starting up: ends the start-up wait
    StartupDropped, // anything else while searching or starting up
    TransMode,
    AnalyzeMode,
    RegisterAck, // "ACK" while frmTws is open
    ReadBack,
    LendLogged,
    LendDropped,
    LoaderBannerLogged,
    LoaderBannerDropped,
    DipSwitch,
    Logged,
};

// A line logged while the log holds more lines than this clears it first.
inline constexpr int kLogLineLimit = 3000;

class LineDispatcher {
  public:
    // setResponseFlag marks that a reply a sender waits for has arrived.
    LineDispatcher(LineHandlers& handlers, std::function<void()> setResponseFlag)
        : handlers_(handlers), setResponseFlag_(std::move(setResponseFlag)) {}

    Route dispatch(const std::string& text);

  private:
    LineHandlers& handlers_;
    std::function<void()> setResponseFlag_;
};

// A version reply names the board: "QUVAN-Pro" or "QUVAN-ARM".
bool IsVersionLine(std::string_view text);

} // namespace quvan::link
