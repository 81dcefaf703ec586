#include "cli/board/board_session.h"

#include "link/framing.h"

#include <algorithm>
#include <poll.h>

namespace quvan::cli {

bool BoardSession::open(const link::PortSettings& settings, platform::OpenError* error) {
    close();
    std::unique_ptr<platform::SerialPort> port = opener_.open(settings.PortName, error);
    if (!port)
        return false;
    port->configure(link::LineSettingsOf(settings));
    // The board is wired without handshake: keep DTR and RTS low.
    port->clearModemLines();
    port_ = std::move(port);
    settings_ = settings;
    assembler_ = std::make_unique<link::LineAssembler>(link::DlmtIndex(settings.RecvDlmt));
    lines_.clear();
    isDot_.clear();
    lost_ = false;
    lineError_ = false;
    return true;
}

void BoardSession::close() {
    if (port_) {
        port_->clearModemLines();
        port_.reset();
    }
    assembler_.reset();
}

void BoardSession::markLost() {
    lost_ = true;
}

std::string BoardSession::lostText() const {
    return lineError_ ? "the serial line reported a framing, parity or overrun error (check the "
                        "speed and the cable)"
                      : "the serial line was lost";
}

bool BoardSession::send(std::string_view text) {
    if (!port_ || lost_)
        return false;
    const platform::LineStatus status = port_->status();
    if (!status.queryOk || port_->deviceGone()) {
        markLost();
        return false;
    }
    // A framing, parity or overrun error means the line cannot be trusted
    // (a wrong speed, a failing cable): as in the window, nothing more is
    // sent, and the command ends as on a lost line rather than carrying on,
    // which for a firmware update would report a corrupted image as done.
    if (status.lineError) {
        lineError_ = true;
        markLost();
        return false;
    }
    if (!port_->write(link::FrameCommand(text, settings_.SendHead, settings_.SendDlmt))) {
        markLost();
        return false;
    }
    return true;
}

bool BoardSession::pump() {
    const platform::LineStatus status = port_->status();
    if (!status.queryOk || port_->deviceGone())
        return false;
    if (status.lineError) { // received bytes cannot be trusted either
        lineError_ = true;
        return false;
    }
    for (std::uint32_t i = 0; i < status.bytesWaiting; ++i) {
        std::uint8_t byte = 0;
        if (!port_->readByte(byte))
            return false;
        lastByte_ = Clock::now();
        const link::LineAssembler::Step step = assembler_->push(byte, firmwareSending_);
        if (step.dotResponse) {
            lines_.emplace_back();
            isDot_.push_back(true);
        }
        if (step.lineReady) {
            lines_.push_back(assembler_->takeDisplayText());
            isDot_.push_back(false);
        }
    }
    return true;
}

BoardSession::Read BoardSession::readLine(std::string& line, std::chrono::milliseconds timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    const auto idle = std::chrono::milliseconds(std::max(1, settings_.RecvTout));
    // The port is looked at at least once, so a zero timeout still takes in
    // what has arrived (the firmware send does so between two records).
    bool looked = false;
    while (true) {
        if (!lines_.empty()) {
            const bool dot = isDot_.front();
            line = std::move(lines_.front());
            lines_.pop_front();
            isDot_.pop_front();
            return dot ? Read::Dot : Read::Line;
        }
        if (!port_ || lost_)
            return Read::Lost;
        const Clock::time_point now = Clock::now();
        // A partial line that has been idle for the receive timeout is
        // handed on, as the tool's receive thread does.
        if (assembler_->length() > 0 && now - lastByte_ >= idle) {
            line = assembler_->takeDisplayText();
            return Read::Line;
        }
        if (now >= deadline && looked)
            return Read::Timeout;
        Clock::time_point wake = deadline;
        if (assembler_->length() > 0)
            wake = std::min(wake, lastByte_ + idle);
        const auto wait =
            std::chrono::ceil<std::chrono::milliseconds>(std::max(wake - now, Clock::duration{}));
        pollfd p{port_->waitHandle(), POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(wait.count()));
        looked = true;
        if (ready < 0)
            continue; // interrupted; the deadline still holds
        if (!pump()) {
            markLost();
            // Lines that arrived before the loss are still handed out first.
            continue;
        }
    }
}

} // namespace quvan::cli
