// quvan-board firmware FILE: the firmware update of the dialog, without a
// window. The loader dialogue is the same FirmwareUpdate; here its timers
// are deadlines of the one poll() loop that also takes in the board's lines.

#include "cli/board/board_commands.h"
#include "cli/board/exit_codes.h"
#include "maintenance/firmware_update.h"

#include <charconv>
#include <map>
#include <optional>

namespace quvan::cli {
namespace {

using Clock = std::chrono::steady_clock;
using maintenance::FirmwareTimer;
using maintenance::UpdateOutcome;

class FirmwareOnSession final : public maintenance::FirmwareEffects {
  public:
    FirmwareOnSession(BoardContext& context, std::string resetWait)
        : context_(context), resetWait_(std::move(resetWait)) {}

    bool done = false;
    std::map<FirmwareTimer, Clock::time_point> timers;

    bool portOpen() const override { return context_.session.isOpen() && !context_.session.lost(); }
    bool connectBoard() override { return portOpen(); }
    bool sendCommand(const std::string& text) override { return context_.session.send(text); }
    int outputPending() override {
        return context_.session.lost() ? -1 : context_.session.outputPending();
    }
    void startTimer(FirmwareTimer timer, int ms) override {
        timers[timer] = Clock::now() + std::chrono::milliseconds(ms);
    }
    void stopTimer(FirmwareTimer timer) override { timers.erase(timer); }
    std::string resetWaitText() const override { return resetWait_; }
    void setStatus(const std::string& text) override {
        if (!text.empty() && text != lastStatus_)
            context_.out << text << '\n' << std::flush;
        lastStatus_ = text;
    }
    void appendLog(const std::string& line) override {
        context_.out << "< " << line << '\n' << std::flush;
    }
    void closeDialog() override { done = true; }
    int showMessage(int kind, const std::string& caption, const std::string& text) override {
        // The command itself is the user's yes to the update.
        if (kind == 2)
            return 1;
        if (text != lastStatus_) {
            std::string oneLine = text;
            for (char& c : oneLine)
                if (c == '\n')
                    c = ' ';
            context_.err << "quvan-board: " << caption << ": " << oneLine << '\n';
        }
        return 1;
    }

  private:
    BoardContext& context_;
    std::string resetWait_;
    std::string lastStatus_;
};

std::optional<int> Milliseconds(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0)
        return std::nullopt;
    return value;
}

int ExitCodeOf(UpdateOutcome outcome, bool lineLost) {
    if (lineLost)
        return kExitLineLost;
    switch (outcome) {
    case UpdateOutcome::Completed:
        return kExitOk;
    case UpdateOutcome::FileRefused:
        return kExitUsage;
    case UpdateOutcome::NoBoard:
    case UpdateOutcome::NoLoader:
        return kExitNoAnswer;
    default:
        return kExitFailed;
    }
}

} // namespace

int RunFirmwareCommand(BoardContext& context, const std::vector<std::string>& args) {
    std::string path;
    std::string resetWait = "500";
    std::optional<int> loaderWait;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--reset-wait" && hasValue) {
            resetWait = args[++i];
            if (!Milliseconds(resetWait)) {
                context.err << "quvan-board: --reset-wait needs milliseconds\n";
                return kExitUsage;
            }
        } else if (args[i] == "--loader-wait" && hasValue) {
            loaderWait = Milliseconds(args[++i]);
            if (!loaderWait || *loaderWait == 0) {
                context.err << "quvan-board: --loader-wait needs milliseconds\n";
                return kExitUsage;
            }
        } else if (path.empty() && !args[i].starts_with("--")) {
            path = args[i];
        } else {
            context.err << "quvan-board: firmware takes FILE [--reset-wait MS] "
                           "[--loader-wait MS], not \""
                        << args[i] << "\"\n";
            return kExitUsage;
        }
    }
    if (path.empty()) {
        context.err << "quvan-board: firmware needs the HEX file\n";
        return kExitUsage;
    }

    FirmwareOnSession effects(context, resetWait);
    maintenance::FirmwareUpdate update(effects);
    if (loaderWait)
        update.setLoaderWaitMs(*loaderWait);
    update.Show(path);
    update.DownloadClick();

    bool lost = false;
    while (!effects.done && update.busy()) {
        context.session.setFirmwareSending(update.sending());
        // Take in what the board has said, then run the timers that are due.
        auto next = effects.timers.empty() ? Clock::now() + std::chrono::seconds(1)
                                           : Clock::now() + std::chrono::hours(1);
        for (const auto& [timer, due] : effects.timers)
            next = std::min(next, due);
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(
            std::max(next - Clock::now(), Clock::duration{}));
        std::string line;
        const BoardSession::Read read = context.session.readLine(line, wait);
        if (read == BoardSession::Read::Line) {
            update.HandleLoaderLine(line);
            continue; // more may be waiting; timers come after them
        }
        if (read == BoardSession::Read::Lost && !lost) {
            lost = true;
            update.LineLost();
        }
        const Clock::time_point now = Clock::now();
        for (FirmwareTimer timer :
             {FirmwareTimer::StartWait, FirmwareTimer::AutoStart, FirmwareTimer::LoaderWait,
              FirmwareTimer::NextRecord, FirmwareTimer::Drain}) {
            const auto it = effects.timers.find(timer);
            if (it != effects.timers.end() && it->second <= now) {
                effects.timers.erase(it);
                update.TimerFired(timer);
                break; // the dialogue may have changed every other timer
            }
        }
    }
    context.out.flush();
    return ExitCodeOf(update.outcome(), context.session.lost());
}

} // namespace quvan::cli
