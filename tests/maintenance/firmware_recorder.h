#pragma once
// FirmwareEffects that record what the dialogue asks for, and run its timers
// by hand, so each step of the loader dialogue can be checked without a
// window or a clock.

#include "maintenance/firmware_update.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace quvan::maintenance {

struct ShownMessage {
    int kind;
    std::string caption;
    std::string text;
};

class FirmwareRecorder final : public FirmwareEffects {
  public:
    // The board.
    bool open = true;
    bool boardAnswers = true; // what connectBoard finds
    bool searching = false;
    int responseFlags = 0;
    std::vector<std::string> sent;
    // Decides whether a send reaches the line; all do unless set.
    std::function<bool(const std::string&)> lineTakes;
    // What each look at the line's output queue finds, in turn; then 0.
    std::vector<int> queued;

    // The form.
    std::string resetWait = "500";
    bool console = false;
    bool busy = false;
    bool fileEnabled = true;
    bool eraseNotice = false;
    bool progressShown = false;
    int progressMax = 0;
    int progress = 0;
    std::vector<std::string> addresses; // panel 3, each text written
    std::string status;                 // panel 4
    std::vector<std::string> log;
    bool closed = false;
    std::vector<FirmwareSound> sounds;
    std::vector<ShownMessage> messages;
    int answer = 1;
    int answeredWithOk = 0;

    std::map<FirmwareTimer, int> timers; // running timers and their times

    bool portOpen() const override { return open; }
    bool connectBoard() override {
        open = boardAnswers;
        return boardAnswers;
    }
    bool sendCommand(const std::string& text) override {
        if (!open)
            return false;
        if (lineTakes && !lineTakes(text))
            return false;
        sent.push_back(text);
        return true;
    }
    bool portSearchActive() const override { return searching; }
    int outputPending() override {
        if (queued.empty())
            return 0;
        const int next = queued.front();
        queued.erase(queued.begin());
        return next;
    }
    void setResponseFlag() override { ++responseFlags; }
    void startTimer(FirmwareTimer timer, int ms) override { timers[timer] = ms; }
    void stopTimer(FirmwareTimer timer) override { timers.erase(timer); }
    std::string resetWaitText() const override { return resetWait; }
    bool consoleOpen() const override { return console; }
    void setBusy(bool on) override { busy = on; }
    void setFileEnabled(bool on) override { fileEnabled = on; }
    void setEraseNoticeVisible(bool on) override { eraseNotice = on; }
    void setProgressVisible(bool on) override { progressShown = on; }
    void setProgressRange(int maximum) override { progressMax = maximum; }
    void setProgress(int position) override { progress = position; }
    void setLoadAddress(const std::string& text) override { addresses.push_back(text); }
    void setStatus(const std::string& text) override { status = text; }
    void appendLog(const std::string& line) override { log.push_back(line); }
    void clearLog() override { log.clear(); }
    void closeDialog() override { closed = true; }
    void playSound(FirmwareSound sound) override { sounds.push_back(sound); }
    int showMessage(int kind, const std::string& caption, const std::string& text) override {
        messages.push_back({kind, caption, text});
        return answer;
    }
    void answerMessageWithOk() override { ++answeredWithOk; }

    bool running(FirmwareTimer timer) const { return timers.count(timer) != 0; }
    int timeOf(FirmwareTimer timer) const { return timers.at(timer); }
};

} // namespace quvan::maintenance
