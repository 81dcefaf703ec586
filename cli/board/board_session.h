#pragma once
// The command-line programs' session with the board: one open serial port,
// commands framed as the tool frames them, and the board's lines cut as the
// tool cuts them (the receive delimiter, or a partial line that has been
// idle for the receive timeout). Everything waits in poll(); nothing spins.

#include "link/line_assembler.h"
#include "link/rs232c.h"
#include "platform/serial_port.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>

namespace quvan::cli {

class BoardSession {
  public:
    explicit BoardSession(platform::SerialPortOpener& opener) : opener_(opener) {}
    ~BoardSession() { close(); }
    BoardSession(const BoardSession&) = delete;
    BoardSession& operator=(const BoardSession&) = delete;

    // Opens and configures the port; *error says why when it fails.
    bool open(const link::PortSettings& settings, platform::OpenError* error);
    void close();
    bool isOpen() const { return port_ != nullptr; }

    // Sends one command with the configured head and delimiter. False once
    // the line is lost.
    bool send(std::string_view text);

    enum class Read {
        Line,    // `line` holds the next line, in the tool's display form
        Dot,     // a loader "." (delimiter none while a firmware file is sent)
        Timeout, // nothing complete arrived in time
        Lost,    // the line went away (hang-up, adapter unplugged, read error)
    };
    // Waits up to `timeout` for the next line (lines that arrived earlier
    // are returned first, without waiting).
    Read readLine(std::string& line, std::chrono::milliseconds timeout);

    // While set, a "." on a line without delimiter counts as the loader's
    // acknowledgement (Read::Dot) instead of being part of a line.
    void setFirmwareSending(bool sending) { firmwareSending_ = sending; }

    bool lost() const { return lost_; }
    // Bytes the driver still has to send; -1 without a port.
    int outputPending() const { return port_ ? port_->outputPending() : -1; }
    // A framing, parity or overrun error was seen on the line.
    bool lineErrorSeen() const { return lineError_; }
    // Why the line counts as lost, for the command's message.
    std::string lostText() const;

  private:
    using Clock = std::chrono::steady_clock;
    // Reads what is waiting; false when the line is lost.
    bool pump();
    void markLost();

    platform::SerialPortOpener& opener_;
    std::unique_ptr<platform::SerialPort> port_;
    link::PortSettings settings_;
    std::unique_ptr<link::LineAssembler> assembler_;
    std::deque<std::string> lines_; // complete lines not yet read; "" entries are dots
    std::deque<bool> isDot_;
    Clock::time_point lastByte_{};
    bool firmwareSending_ = false;
    bool lost_ = false;
    bool lineError_ = false;
};

} // namespace quvan::cli
