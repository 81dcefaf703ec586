#pragma once
// The serial line's settings and state, as the rest of the program sees it.

#include <atomic>
#include <string>

namespace quvan::link {

// The part of the port record that the settings file and the communication
// settings dialog edit; a port search remembers and restores it as a whole.
struct PortSettings {
    std::string PortName = "COM1";
    int BaudRate = 115200;
    int ByteSize = 8;              // 8 gives eight data bits, anything else seven
    int StopBits = 1;              // 1 gives one stop bit, anything else two
    std::string Parity = "NONE";   // "ODD", "EVEN", anything else none
    std::string SendHead = "無し"; // "STX" or nothing
    std::string SendDlmt = "CRLF"; // "ETX", "CR", "LF", "CRLF" or nothing
    std::string RecvDlmt = "CRLF";
    int RecvTout = 100; // idle time (ms) after which a partial line is handed on
};

// The port record. The flags are shared with the receive thread.
struct RS232C : PortSettings {
    std::atomic<bool> PortOpen{false};
    std::atomic<bool> RcvRunning{false};
    std::atomic<bool> CommError{false};

    PortSettings& settings() { return *this; }
    const PortSettings& settings() const { return *this; }
};

} // namespace quvan::link
