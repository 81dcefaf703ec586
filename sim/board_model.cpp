// Command dispatch, modes and timers of the simulated board.
#include "sim/board_model.h"

#include "sim/text_number.h"
#include "sim/wave_lines.h"

#include <algorithm>

namespace quvan::sim {

namespace {
BoardOutput line(std::string text) {
    return {BoardOutput::Kind::Line, std::move(text)};
}
} // namespace

BoardModel::BoardModel(BoardConfig config)
    : config_(std::move(config)), entries_(kBoardEntries), used_(kBoardEntries, false),
      flashed_entries_(kBoardEntries), flashed_used_(kBoardEntries, false) {}

std::string BoardModel::version_line() const {
    return std::string(config_.pro ? "QUVAN-Pro " : "QUVAN-ARM ") + config_.version;
}

BoardOutputs BoardModel::handle_command(std::string_view cmd, std::int64_t now) {
    if (cmd.empty())
        return {};
    if (mode_ == BoardMode::Loader)
        return loader_command(cmd, now);
    return application_command(cmd, now);
}

BoardOutputs BoardModel::application_command(std::string_view cmd, std::int64_t now) {
    if (cmd == "Ver" || cmd == "V")
        return {line(version_line())};
    if (cmd == "ZEM:on" || cmd == "ZEM:off") {
        zem_ = cmd == "ZEM:on";
        return {line(std::string(cmd))};
    }
    if (cmd == "Version:Pro" || cmd == "Version:STD") {
        config_.pro = cmd == "Version:Pro";
        return {line(std::string(cmd))};
    }
    if (cmd == "T") {
        mode_ = BoardMode::Trans;
        cancel(Timer::AutoLearn);
        return {line("Trans Mode")};
    }
    if (cmd == "A" || cmd == "A:Pro" || cmd == "A:pro")
        return start_learning(now);
    if (cmd.starts_with("Lend:")) {
        const auto ms = parse_decimal(cmd.substr(5));
        if (!ms || *ms < 0 || *ms > 9999)
            return {line("?")};
        learn_end_ms_ = *ms;
        return {line(std::string(cmd))};
    }
    if (cmd == "IrEND:ACK") {
        ir_end_ = IrEndMode::Ack;
        return {line("IrEND:ACK(0x06)")};
    }
    if (cmd == "IrEND:CRLF") {
        ir_end_ = IrEndMode::Crlf;
        return {line("IrEND:CRLF")};
    }
    if (cmd == "Ri:on" || cmd == "Ri:off") {
        rf_id_ = cmd == "Ri:on";
        return {line(std::string(cmd))};
    }
    if (cmd.starts_with("Tws:"))
        return store_entry(cmd.substr(4));
    if (cmd.starts_with("Twl:"))
        return read_entry(cmd.substr(4));
    if (cmd.starts_with("Tw"))
        return apply_entry_command(staging_, cmd) ? BoardOutputs{} : BoardOutputs{line("?")};
    if (cmd.starts_with("Tp:")) {
        const std::string_view sel = cmd.substr(3);
        if (sel.size() != 4 || sel.find_first_not_of("01") != std::string_view::npos)
            return {line("?")};
        outputs_ = std::string(sel);
        return {};
    }
    if (cmd.starts_with("Tf:"))
        return fire_staged(cmd.substr(3));
    if (cmd.starts_with("Tm:"))
        return fire_by_format(cmd);
    if (cmd == "Reset") {
        // The switches are read as the board starts again; the resident
        // loader comes up first and hands over when nobody asks for it.
        const bool changed = dip_.pending() != dip_.effective();
        dip_.apply_pending();
        if (changed)
            persist();
        mode_ = BoardMode::Loader;
        loader_ready_ = false;
        timers_.clear();
        schedule(Timer::Banner, now + config_.reset_pause_ms);
        return {};
    }
    if (auto reply = dip_.handle(cmd))
        return {line(*reply)};
    return {line("?")};
}

BoardOutputs BoardModel::start_learning(std::int64_t now) {
    mode_ = BoardMode::Analyze;
    if (config_.auto_learn)
        schedule(Timer::AutoLearn, now + config_.auto_learn_delay_ms);
    return {line("Analyze Mode")};
}

BoardOutputs BoardModel::report_capture(const Capture& capture) const {
    if (mode_ != BoardMode::Analyze)
        return {};
    BoardOutputs out;
    for (auto& text : capture_lines(capture.pulses, capture.carrier_tenths))
        out.push_back(line(std::move(text)));
    return out;
}

std::variant<Capture, std::string> BoardModel::press(const PressRequest& request) {
    // A remote flips the RC5/RC6 toggle bit on every new press.
    toggle_ = !toggle_;
    return press_capture(request, toggle_, learn_end_ms_);
}

void BoardModel::schedule(Timer t, std::int64_t due) {
    cancel(t);
    timers_.push_back({due, t});
}

void BoardModel::cancel(Timer t) {
    std::erase_if(timers_, [t](const PendingTimer& p) { return p.timer == t; });
}

std::optional<std::int64_t> BoardModel::next_deadline() const {
    if (timers_.empty())
        return std::nullopt;
    return std::min_element(timers_.begin(), timers_.end(),
                            [](const auto& a, const auto& b) { return a.due < b.due; })
        ->due;
}

BoardOutputs BoardModel::advance(std::int64_t now) {
    BoardOutputs out;
    while (true) {
        auto due = std::find_if(timers_.begin(), timers_.end(),
                                [now](const PendingTimer& p) { return p.due <= now; });
        if (due == timers_.end())
            break;
        const Timer t = due->timer;
        timers_.erase(due);
        switch (t) {
        case Timer::Banner:
            if (!config_.loader_silent)
                out.push_back(line("QUVAN-Loader R1.00 ready"));
            schedule(Timer::LoaderIdle, now + config_.loader_idle_ms);
            break;
        case Timer::LoaderIdle:
        case Timer::StartApplication:
            mode_ = BoardMode::Trans;
            timers_.clear();
            out.push_back(line(version_line()));
            break;
        case Timer::AutoLearn: {
            if (mode_ != BoardMode::Analyze)
                break;
            const auto& demos = demo_presses();
            auto result = press(demos[demo_next_ % demos.size()]);
            ++demo_next_;
            if (auto* capture = std::get_if<Capture>(&result)) {
                auto lines = report_capture(*capture);
                out.insert(out.end(), lines.begin(), lines.end());
            }
            break;
        }
        }
    }
    return out;
}

} // namespace quvan::sim
