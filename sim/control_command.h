#pragma once
// The simulator's control channel: one command per line, from a FIFO,
// standard input or a start-up script.

#include "sim/remote_press.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace quvan::sim {

struct ControlCommand {
    enum class Kind { Empty, Press, Raw, Send, SendHex, Flood, Hangup, Fault, Sleep, Dump, Quit };
    Kind kind = Kind::Empty;
    PressRequest press;          // Press
    bool press_has_seed = false; // seed= given; otherwise the run's seed is used
    Capture raw;                 // Raw
    std::string text;            // Send: the line; SendHex: the bytes; Dump: the file
    std::int64_t number = 0;     // Flood: lines; Sleep: ms; Fault: delay ms, garble %, record count
    std::string fault;           // Fault: noack, delay, garble, cut, loader-silent, loader-error,
                                 // loader-hangup or off
};

// Parses one line. Blank lines and lines starting with "#" are Empty.
std::variant<ControlCommand, std::string> parse_control_line(std::string_view line);

// "38.0" or "38" kHz into 0.1 kHz units.
std::optional<std::int32_t> parse_khz(std::string_view text);

} // namespace quvan::sim
