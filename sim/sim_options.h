#pragma once
// Command-line options of quvan-sim.

#include "sim/board_model.h"
#include "sim/command_framer.h"
#include "sim/faults.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace quvan::sim {

struct SimOptions {
    BoardConfig board;
    Faults faults;
    std::string flash_file;
    std::string fire_log;
    std::string wire_log;
    std::string firmware_out; // the image of each completed download
    std::string link_path;
    std::string control_path; // FIFO path, or "-" for standard input
    std::string script_path;
    bool expect_stx = false;
    Delimiter command_delimiter = Delimiter::CrLf;
    std::string line_end = "\r\n";
    std::int32_t idle_ms = 50; // ends a command when no delimiter is used
    std::int32_t baud = 0;     // line speed to emulate; 0: as fast as the pseudo-terminal goes
    std::uint32_t seed = 1;
    bool help = false;
};

std::variant<SimOptions, std::string> parse_options(const std::vector<std::string>& args);
const char* help_text();

} // namespace quvan::sim
