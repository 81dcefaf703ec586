#pragma once
// The options every quvan-board command shares: which port, how the line is
// set up, which edition, and whether to start the simulated board. Anything
// not given comes from the tool's saved settings, so the command line talks
// to the board the way the window does.

#include "link/rs232c.h"

#include <filesystem>
#include <string>
#include <variant>
#include <vector>

namespace quvan::cli {

struct BoardOptions {
    link::PortSettings port; // from the settings file, then the options
    bool simulate = false;
    std::vector<std::string> simulatorArguments; // --sim ARG, passed on to quvan-sim
    bool pro = false;
    std::string command; // write, read, fire, send, ...
    std::vector<std::string> commandArguments;
};

// Parses the common options (they come before the command) and reads the
// defaults from the tool's settings. Returns an error text for bad usage.
std::variant<BoardOptions, std::string> ParseBoardOptions(const std::vector<std::string>& args,
                                                          const std::filesystem::path& self);

// "none" (and the tool's own spelling "無し") mean no head / no delimiter.
bool SetHeadName(std::string_view name, std::string& head);
bool SetDelimiterName(std::string_view name, std::string& delimiter);

} // namespace quvan::cli
