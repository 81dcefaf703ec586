#include "maintenance/firmware_update.h"

#include "platform/user_text.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace quvan::maintenance {

using user_text::Fill;
using user_text::Tr;

namespace {

std::string CantOpen(const std::string& path) {
    return Tr("FirmwareUpdate", "Can't open ... ") + path;
}

// Why the file is refused, as the message box says it.
std::string UnusableFile(const std::string& why) {
    return Tr("FirmwareUpdate", "このファームウェアファイルは使用できません。") + "\n" + why;
}

std::string LineLostText() {
    return Tr("FirmwareUpdate", "通信が途絶えました。");
}

bool Contains(std::string_view line, std::string_view text) {
    return line.find(text) != std::string_view::npos;
}

// A decimal integer, or `fallback` when the text is not one.
int DecimalOr(const std::string& text, int fallback) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc{} && stop == end && !text.empty() ? value : fallback;
}

} // namespace

void FirmwareUpdate::Show(const std::string& hexPath) {
    for (FirmwareTimer timer :
         {FirmwareTimer::StartWait, FirmwareTimer::AutoStart, FirmwareTimer::LoaderWait,
          FirmwareTimer::NextRecord, FirmwareTimer::Drain})
        effects_.stopTimer(timer);
    runActive_ = false;
    effects_.setProgressVisible(false);
    effects_.setEraseNoticeVisible(false);
    hexPath_ = hexPath;
    if (!hexPath_.empty())
        ScanFile(hexPath_);
    resetWaitMs_ = 500;
    state_ = DownloadState::Idle;
    phase_ = StartPhase::None;
    effects_.setBusy(false);
    effects_.setFileEnabled(true);
}

void FirmwareUpdate::StopStartTimers() {
    for (FirmwareTimer timer :
         {FirmwareTimer::StartWait, FirmwareTimer::AutoStart, FirmwareTimer::LoaderWait})
        effects_.stopTimer(timer);
}

std::optional<HexFileCheck> FirmwareUpdate::ScanFile(const std::string& path) {
    const std::optional<std::string> data = ReadWholeFile(path);
    if (!data) {
        effects_.setStatus(CantOpen(path));
        failed_ = true;
        lastEraseSector_ = 0;
        return std::nullopt;
    }
    const LastAddressScan scan = ScanLastAddress(*data);
    lastEraseSector_ = scan.sector;
    HexFileCheck check = CheckHexFile(*data);
    effects_.setStatus(check.ok ? scan.text() : check.message());
    return check;
}

void FirmwareUpdate::FileChosen(const std::string& path) {
    hexPath_ = path;
    effects_.setStatus({});
    // Tell at once when the new file cannot be used, not only when the
    // update is started.
    const std::optional<HexFileCheck> check = ScanFile(path);
    if (check && !check->ok)
        effects_.showMessage(1, Tr("FirmwareUpdate", "Warning"), UnusableFile(check->message()));
}

void FirmwareUpdate::DownloadClick() {
    switch (state_) {
    case DownloadState::Idle:
        if (phase_ == StartPhase::None)
            Start();
        else
            StopRequested(); // "Busy" while the start sequence runs: the click stops it
        break;
    case DownloadState::Announced:
        StopRequested();
        break;
    case DownloadState::Sending:
        // Once the end record has gone out there is nothing left to stop.
        if (!endReached_)
            StopRequested();
        break;
    case DownloadState::Halted:
        // A send run that is still winding down owns the state until its end.
        if (!runActive_)
            BackToIdle();
        break;
    }
}

void FirmwareUpdate::Refuse(const std::string& text) {
    effects_.setStatus(text);
    outcome_ = UpdateOutcome::FileRefused;
    effects_.showMessage(1, Tr("FirmwareUpdate", "Warning"),
                         UnusableFile(text) + "\n" +
                             Tr("FirmwareUpdate", "ボードには何も送信していません。"));
}

bool FirmwareUpdate::CheckBeforeStart() {
    // The whole file is judged before the board is reset into its loader: a
    // file found bad halfway through the send would leave the board erased.
    const std::optional<std::string> data = ReadWholeFile(hexPath_);
    if (!data) {
        Refuse(CantOpen(hexPath_));
        return false;
    }
    const HexFileCheck check = CheckHexFile(*data);
    if (!check.ok) {
        Refuse(check.message());
        return false;
    }
    const LastAddressScan scan = ScanLastAddress(*data);
    lastEraseSector_ = scan.sector;
    effects_.setStatus(scan.text());
    return true;
}

void FirmwareUpdate::Start() {
    outcome_ = UpdateOutcome::None;
    if (!effects_.portOpen() && !effects_.connectBoard()) {
        outcome_ = UpdateOutcome::NoBoard;
        const std::string advice = effects_.noBoardAdvice();
        const std::string text = Tr("FirmwareUpdate", "QUVAN-ARM と通信出来ません。");
        effects_.showMessage(1, Tr("FirmwareUpdate", "Warning"),
                             advice.empty() ? text : text + "\n" + advice);
        return;
    }
    if (hexPath_.empty())
        return;
    if (!CheckBeforeStart())
        return;
    // A negative wait would be read as an endless one.
    resetWaitMs_ = std::max(0, DecimalOr(effects_.resetWaitText(), 500));
    if (effects_.showMessage(2, Tr("FirmwareUpdate", "Download"),
                             Tr("FirmwareUpdate", "Update the firmware of QUVAN-ARM.")) != 1)
        return;
    effects_.setBusy(true);
    failed_ = false;
    lineLost_ = false;
    detail_.clear();
    effects_.sendCommand("Ver");
    phase_ = StartPhase::VersionWait;
    effects_.startTimer(FirmwareTimer::StartWait, kVersionWaitMs);
}

void FirmwareUpdate::StopRequested() {
    // The send stops after the current record; the caption keeps "Busy"
    // until the next click.
    StopStartTimers();
    phase_ = StartPhase::None;
    state_ = DownloadState::Halted;
}

void FirmwareUpdate::BackToIdle() {
    StopStartTimers();
    effects_.setProgressVisible(false);
    effects_.setEraseNoticeVisible(false);
    effects_.setBusy(false);
    phase_ = StartPhase::None;
    state_ = DownloadState::Idle;
}

void FirmwareUpdate::ArmLoaderWait() {
    effects_.stopTimer(FirmwareTimer::LoaderWait);
    effects_.startTimer(FirmwareTimer::LoaderWait, loaderWaitMs_);
}

void FirmwareUpdate::TimerFired(FirmwareTimer timer) {
    switch (timer) {
    case FirmwareTimer::StartWait:
        if (phase_ == StartPhase::VersionWait) {
            effects_.setEraseNoticeVisible(true);
            phase_ = StartPhase::ResetWait;
            effects_.startTimer(FirmwareTimer::StartWait, resetWaitMs_);
        } else if (phase_ == StartPhase::ResetWait) {
            phase_ = StartPhase::AwaitingLoader;
            if (!effects_.sendCommand("Reset")) {
                GiveUpOnLoader(Tr("FirmwareUpdate", "ボードと通信できません。"),
                               UpdateOutcome::NoBoard);
                return;
            }
            ArmLoaderWait();
        }
        break;
    case FirmwareTimer::AutoStart:
        // A stop during the second before the send must keep the file unsent.
        if (state_ == DownloadState::Announced)
            RunDownload();
        break;
    case FirmwareTimer::LoaderWait:
        if (phase_ == StartPhase::AwaitingLoader || state_ == DownloadState::Announced) {
            GiveUpOnLoader(Fill(Tr("FirmwareUpdate",
                                   "QUVAN-Loader が %1 秒以内に応答しませんでした。\n"
                                   "ボードとケーブルを確認してから、もう一度実行して下さい。"),
                                {std::to_string((loaderWaitMs_ + 999) / 1000)}),
                           UpdateOutcome::NoLoader);
        }
        break;
    case FirmwareTimer::NextRecord:
        SendStep();
        break;
    case FirmwareTimer::Drain:
        Drain();
        break;
    }
}

void FirmwareUpdate::GiveUpOnLoader(const std::string& why, UpdateOutcome outcome) {
    const bool inLoader = state_ == DownloadState::Announced;
    StopStartTimers();
    phase_ = StartPhase::None;
    state_ = DownloadState::Idle;
    outcome_ = outcome;
    effects_.setBusy(false);
    effects_.setEraseNoticeVisible(false);
    effects_.setStatus(Tr("FirmwareUpdate", "QUVAN-Loader から応答がありません"));
    // A loader that announced itself is sent back to the application, so a
    // retry starts from the running firmware again.
    if (inLoader)
        effects_.sendCommand("Reset");
    effects_.playSound(FirmwareSound::Chord);
    effects_.showMessage(1, Tr("FirmwareUpdate", "Download"), why);
}

void FirmwareUpdate::HandleLoaderLine(const std::string& line) {
    bool loaderFailed = false;
    // Only an announcement that follows our own "Reset" starts the erase: a
    // board that restarts by itself must not lose its firmware unasked.
    if (Contains(line, kLoaderBanner) && state_ == DownloadState::Idle &&
        phase_ == StartPhase::AwaitingLoader) {
        state_ = DownloadState::Announced;
        phase_ = StartPhase::None;
        effects_.clearLog();
        effects_.sendCommand(std::to_string(lastEraseSector_) + ":Last Sector to Erase");
        effects_.answerMessageWithOk();
        ArmLoaderWait();
    }
    if (Contains(line, "FLASH Sector:")) {
        effects_.setStatus(line);
        effects_.sendCommand("Download Ready ?");
        if (state_ == DownloadState::Announced)
            ArmLoaderWait();
    }
    if (Contains(line, "Please send") && state_ == DownloadState::Announced)
        LoaderReady();
    if (Contains(line, "error")) {
        failed_ = true;
        if (detail_.empty())
            detail_ = line;
        // An erase that went wrong must not be followed by the records.
        loaderFailed = state_ == DownloadState::Announced;
    }
    if (state_ == DownloadState::Idle && Contains(line, "Ver")) {
        effects_.setStatus(line);
        if (effects_.portSearchActive())
            effects_.setResponseFlag();
    }
    effects_.appendLog(line);
    if (loaderFailed) {
        for (FirmwareTimer timer : {FirmwareTimer::AutoStart, FirmwareTimer::LoaderWait})
            effects_.stopTimer(timer);
        Finish();
    }
}

void FirmwareUpdate::LoaderReady() {
    effects_.stopTimer(FirmwareTimer::LoaderWait);
    effects_.playSound(FirmwareSound::Chimes);
    effects_.answerMessageWithOk();
    effects_.stopTimer(FirmwareTimer::AutoStart);
    effects_.startTimer(FirmwareTimer::AutoStart, kAutoStartMs);
}

void FirmwareUpdate::LineLost() {
    lineLost_ = true;
    if (state_ == DownloadState::Sending) {
        failed_ = true; // the send stops after the current record
        if (detail_.empty())
            detail_ = LineLostText();
    } else if (phase_ != StartPhase::None || state_ == DownloadState::Announced) {
        GiveUpOnLoader(LineLostText(), UpdateOutcome::Failure);
    }
}

void FirmwareUpdate::Abandon() {
    if (runActive_)
        return;
    StopStartTimers();
    phase_ = StartPhase::None;
    state_ = DownloadState::Idle;
}

void FirmwareUpdate::RunDownload() {
    state_ = DownloadState::Sending;
    effects_.setBusy(true);
    effects_.setFileEnabled(false);
    effects_.setLoadAddress({});
    effects_.setStatus(Tr("FirmwareUpdate", "Now Downloading ..."));
    effects_.setEraseNoticeVisible(false);
    effects_.setProgressVisible(true);
    effects_.stopTimer(FirmwareTimer::LoaderWait);

    failed_ = lineLost_;
    detail_ = lineLost_ ? LineLostText() : "";
    runActive_ = true;
    linePending_ = false;
    endReached_ = false;
    linesSent_ = 0;
    upperText_.clear();
    std::optional<std::string> data = ReadWholeFile(hexPath_);
    if (!data) {
        effects_.setStatus(CantOpen(hexPath_));
        failed_ = true;
        EndSendRun();
        return;
    }
    // The file was judged before the reset; judge what is sent, in case it
    // has been replaced since.
    const HexFileCheck check = CheckHexFile(*data);
    if (!check.ok) {
        effects_.setStatus(check.message());
        failed_ = true;
        detail_ = check.message();
        EndSendRun();
        return;
    }
    data_ = std::move(*data);
    walker_ = HexLineWalker(data_);
    // The bar ends 100 bytes before the file does, so it is full with the
    // last records; a tiny file gets its whole size.
    const std::size_t size = data_.size();
    progressMax_ = static_cast<int>(std::min<std::size_t>(
        size > 100 ? size - 100 : std::max<std::size_t>(size, 1), 0x7FFFFFFF));
    effects_.setProgressRange(progressMax_);
    effects_.setProgress(0);
    effects_.startTimer(FirmwareTimer::NextRecord, 0);
}

void FirmwareUpdate::ShowLoadAddress(std::string_view line) {
    if (Contains(line, ":02000004")) {
        upperText_ = "0x" + std::string(line.substr(std::min<std::size_t>(9, line.size()), 4));
        return;
    }
    if (line.size() > 8 && line[8] == '0')
        effects_.setLoadAddress(upperText_ + ":" + std::string(line.substr(3, 4)));
}

void FirmwareUpdate::SendStep() {
    if (!runActive_)
        return;
    // Pending events have been handled since the last record went out: a
    // loader error or a stop click now ends the run.
    if (linePending_) {
        linePending_ = false;
        if (failed_ || state_ == DownloadState::Halted) {
            EndSendRun();
            return;
        }
        if (Contains(pendingLine_, ":00000001FF") || IsEndOfFileRecord(pendingLine_)) {
            effects_.setProgress(progressMax_);
            endReached_ = true;
            effects_.startTimer(FirmwareTimer::NextRecord, 0);
            return;
        }
        ShowLoadAddress(pendingLine_);
    } else if (endReached_) {
        drainWaitedMs_ = 0;
        settling_ = false;
        Drain();
        return;
    }

    const std::optional<HexLine> line = walker_.next();
    if (!line) {
        EndSendRun();
        return;
    }
    const std::string text(line->text);
    if (effects_.consoleOpen())
        effects_.appendLog(text);
    ++linesSent_;
    if (!effects_.sendCommand(text)) {
        // A record that did not reach the loader leaves a hole in the
        // firmware: the run has failed.
        failed_ = true;
        if (detail_.empty())
            detail_ = Fill(Tr("FirmwareUpdate", "%1 行目の送信で通信に失敗しました。"),
                           {std::to_string(line->number)});
        EndSendRun();
        return;
    }
    if (line->end < static_cast<std::size_t>(progressMax_))
        effects_.setProgress(static_cast<int>(line->end));
    pendingLine_ = line->text;
    linePending_ = true;
    effects_.startTimer(FirmwareTimer::NextRecord, 0);
}

void FirmwareUpdate::Drain() {
    // The outcome waits until the line has sent the last records: a line
    // that goes while its queue still empties has not delivered the file.
    if (!runActive_)
        return;
    if (settling_) {
        EndSendRun();
        return;
    }
    const int pending = effects_.outputPending();
    if (pending < 0 && !failed_) {
        failed_ = true;
        if (detail_.empty())
            detail_ = LineLostText();
    }
    if (pending > 0 && !failed_ && state_ != DownloadState::Halted) {
        if (drainWaitedMs_ < kDrainLimitMs) {
            drainWaitedMs_ += kDrainLookMs;
            effects_.startTimer(FirmwareTimer::Drain, kDrainLookMs);
            return;
        }
        failed_ = true;
        detail_ = Tr("FirmwareUpdate", "最後のレコードを送信できませんでした。");
    }
    if (failed_ || state_ == DownloadState::Halted) {
        EndSendRun();
        return;
    }
    // An error the loader finds in the last records comes a moment later.
    settling_ = true;
    effects_.startTimer(FirmwareTimer::Drain, kSettleMs);
}

void FirmwareUpdate::EndSendRun() {
    effects_.stopTimer(FirmwareTimer::NextRecord);
    effects_.stopTimer(FirmwareTimer::Drain);
    effects_.setProgressVisible(false);
    Finish();
}

void FirmwareUpdate::Finish() {
    runActive_ = false;
    linePending_ = false;
    endReached_ = false;
    settling_ = false;
    effects_.setBusy(false);
    std::string text;
    FirmwareSound sound = FirmwareSound::Chord;
    if (failed_) {
        text = Tr("FirmwareUpdate", "Failure");
        outcome_ = UpdateOutcome::Failure;
    } else if (state_ == DownloadState::Sending) {
        text = Tr("FirmwareUpdate", "Completed");
        sound = FirmwareSound::Tada;
        outcome_ = UpdateOutcome::Completed;
    } else {
        text = Tr("FirmwareUpdate", "Cancel");
        outcome_ = UpdateOutcome::Cancel;
    }
    effects_.playSound(sound);
    effects_.setStatus(text);
    effects_.showMessage(1, Tr("FirmwareUpdate", "Download"),
                         detail_.empty() || !failed_ ? text : text + "\n" + detail_);
    effects_.setFileEnabled(true);
    state_ = DownloadState::Halted;
    effects_.sendCommand("Reset");
    data_.clear();
    pendingLine_ = {};
    walker_ = HexLineWalker(std::string_view());
    if (!effects_.consoleOpen())
        effects_.closeDialog();
}

} // namespace quvan::maintenance
