#pragma once
// Finding the board: probe the configured port, else walk the serial ports.

#include "link/board_link.h"
#include "platform/port_list.h"

#include <functional>
#include <string>

namespace quvan::link {

struct SearchCallbacks {
    // A candidate port could be opened (the settings dialog lists it).
    std::function<void(const std::string& name)> portOpened;
    // A candidate port is there but would not open for this user, or is held
    // by another program (the settings dialog lists it as such).
    std::function<void(const std::string& name, const platform::OpenError& why)> portRefused;
    // A board answered on this port (the main window logs its name).
    std::function<void(const std::string& name)> boardFound;
    // The connection check opened the configured port but no board answered
    // within kProbeWaitMs (a board that answers late, or none there).
    std::function<void(const std::string& name)> probeUnanswered;
};

// Walks the ports of the list in order, probing each with "Ver"; stops at the
// first board that answers and leaves that port open. Restores the settings
// when no board answered. Stops early when PortSearchActive is cleared.
// Ports refused for want of permission stay recorded in the link
// (permissionRefusal) unless a board is found.
bool SearchPort(BoardLink& link, platform::PortLister& ports, const SearchCallbacks& callbacks);

// The connection check: the configured port first, then a search. Starts a
// new attempt to reach the board: earlier permission refusals are forgotten.
bool ConnectBoard(BoardLink& link, platform::PortLister& ports, const SearchCallbacks& callbacks);

inline constexpr std::uint32_t kProbeWaitMs = 200;
inline constexpr std::uint32_t kSearchWaitMs = 500;

} // namespace quvan::link
