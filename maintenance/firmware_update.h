#pragma once
// The firmware update as a dialogue with the board's resident loader: reset
// the running firmware, wait for the loader to announce itself, have it
// erase up to the last sector the file needs, then send the HEX file record
// by record. No window and no clock of its own: the dialog (or the command
// line) implements FirmwareEffects, runs the timers it asks for and hands in
// every line the board sends.

#include "maintenance/hex_file.h"

#include <cstddef>
#include <optional>
#include <string>

namespace quvan::maintenance {

// The state the Download button shows.
enum class DownloadState : int {
    Idle = 0,      // caption "Download" (also while the start sequence runs)
    Announced = 1, // the loader has announced itself; waiting for it to ask for the file
    Sending = 2,
    Halted = 3, // a stop was requested, or a send run has finished
};

// What the idle state is waiting for while the start sequence runs.
enum class StartPhase {
    None,           // nothing: the user may start an update
    VersionWait,    // "Ver" sent
    ResetWait,      // "Now Erasing ..." shown, the reset wait runs
    AwaitingLoader, // "Reset" sent; the loader's announcement is awaited
};

// Timers the caller runs; each fires once per start.
enum class FirmwareTimer {
    StartWait,  // the waits of the start sequence
    AutoStart,  // one second after the loader asked for the file (tmAutoStart)
    LoaderWait, // the loader has gone quiet for too long
    NextRecord, // send the next record once pending events have been handled
    Drain,      // the line sending its last records, then the loader's last answers
};

enum class FirmwareSound { Chimes, Chord, Tada };

// How the last update attempt ended, for the command line's exit status.
enum class UpdateOutcome {
    None,
    Completed,
    Failure,
    Cancel,
    FileRefused, // the file was bad or unreadable; the board was not touched
    NoBoard,     // the board could not be reached
    NoLoader,    // the loader did not answer in time
};

class FirmwareEffects {
  public:
    virtual ~FirmwareEffects() = default;

    // The board. sendCommand returns false when the text did not reach the
    // line whole (no port, a line error, the device has gone).
    virtual bool portOpen() const = 0;
    virtual bool connectBoard() = 0;
    // Why the board could not be reached, when it can be put right (UTF-8).
    virtual std::string noBoardAdvice() const { return {}; }
    virtual bool sendCommand(const std::string& text) = 0;
    virtual bool portSearchActive() const { return false; }
    // Bytes written but not yet on the line (-1: the line has gone).
    virtual int outputPending() { return 0; }
    virtual void setResponseFlag() {}

    virtual void startTimer(FirmwareTimer timer, int ms) = 0;
    virtual void stopTimer(FirmwareTimer timer) = 0;

    // The form.
    virtual std::string resetWaitText() const { return "500"; } // edtRstWait
    virtual bool consoleOpen() const { return false; }          // pnlRecv shown
    virtual void setBusy(bool /*busy*/) {}                      // "Busy" in blue, or "Download"
    virtual void setFileEnabled(bool /*enabled*/) {}            // btnFile
    virtual void setEraseNoticeVisible(bool /*visible*/) {}     // lblMsg "Now Erasing ..."
    virtual void setProgressVisible(bool /*visible*/) {}
    virtual void setProgressRange(int /*maximum*/) {}
    virtual void setProgress(int /*position*/) {}
    virtual void setLoadAddress(const std::string& /*text*/) {} // status panel 3
    virtual void setStatus(const std::string& /*text*/) {}      // status panel 4
    virtual void appendLog(const std::string& /*line*/) {}
    virtual void clearLog() {}
    virtual void closeDialog() {}
    virtual void playSound(FirmwareSound /*sound*/) {}
    // A modal message box; returns 1 for OK/Yes.
    virtual int showMessage(int kind, const std::string& caption, const std::string& text) = 0;
    // Closes a message box that is showing as if OK had been pressed.
    virtual void answerMessageWithOk() {}
};

class FirmwareUpdate {
  public:
    // Long enough for the loader to erase the largest sector range.
    static constexpr int kDefaultLoaderWaitMs = 30000;
    static constexpr int kVersionWaitMs = 500;
    static constexpr int kAutoStartMs = 1000;
    static constexpr const char* kLoaderBanner = "QUVAN-Loader";
    // How long the line may take to send what it has queued after the last
    // record, and how often to look.
    static constexpr int kDrainLimitMs = 15000;
    static constexpr int kDrainLookMs = 20;
    // How long the loader's answer to the last records is waited for once
    // the line has sent them.
    static constexpr int kSettleMs = 300;

    explicit FirmwareUpdate(FirmwareEffects& effects) : effects_(effects) {}

    // How long the loader may stay quiet before the update gives up.
    void setLoaderWaitMs(int ms) { loaderWaitMs_ = ms; }

    // The dialog is shown with the file path of the settings.
    void Show(const std::string& hexPath);
    // The user picked a file.
    void FileChosen(const std::string& path);
    // btnDownload: start, stop, or return to idle after a stop.
    void DownloadClick();
    // Every line the board sends while the dialog is visible.
    void HandleLoaderLine(const std::string& line);
    void TimerFired(FirmwareTimer timer);
    // The serial line has gone (adapter removed, hang-up).
    void LineLost();
    // The dialog closes while the start sequence or the loader is awaited:
    // nothing of this update may happen once it is gone. Not while sending.
    void Abandon();

    DownloadState state() const { return state_; }
    bool sending() const { return state_ == DownloadState::Sending; }
    bool busy() const { return phase_ != StartPhase::None || state_ != DownloadState::Idle; }
    int lastEraseSector() const { return lastEraseSector_; }
    UpdateOutcome outcome() const { return outcome_; }
    const std::string& hexPath() const { return hexPath_; }
    std::size_t recordsSent() const { return linesSent_; }

  private:
    // Reads and checks the file, showing what it found in the status bar;
    // nothing when it cannot be read.
    std::optional<HexFileCheck> ScanFile(const std::string& path);
    // The timers of the start sequence (the reset wait, the automatic start
    // and the wait for the loader).
    void StopStartTimers();
    bool CheckBeforeStart();
    void Start();
    void StopRequested();
    void BackToIdle();
    void RunDownload();
    void SendStep();
    void ShowLoadAddress(std::string_view line);
    void Drain();
    void EndSendRun();
    void Finish();
    void LoaderReady();
    void GiveUpOnLoader(const std::string& why, UpdateOutcome outcome);
    void ArmLoaderWait();
    void Refuse(const std::string& text);

    FirmwareEffects& effects_;
    std::string hexPath_; // pnlHex
    int lastEraseSector_ = 0;
    int resetWaitMs_ = 500;
    int loaderWaitMs_ = kDefaultLoaderWaitMs;
    DownloadState state_ = DownloadState::Idle;
    StartPhase phase_ = StartPhase::None;
    bool failed_ = false; // DownloadFailed
    bool lineLost_ = false;
    std::string detail_; // why a run failed, for the outcome message
    UpdateOutcome outcome_ = UpdateOutcome::None;

    // The send run.
    std::string data_;
    HexLineWalker walker_{std::string_view()};
    bool runActive_ = false;
    std::string_view pendingLine_; // sent; the events after it not yet handled
    bool linePending_ = false;
    bool endReached_ = false; // the end-of-file record has gone out
    int drainWaitedMs_ = 0;
    bool settling_ = false;
    int progressMax_ = 1;
    std::string upperText_;
    std::size_t linesSent_ = 0;
};

} // namespace quvan::maintenance
