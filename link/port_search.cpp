#include "link/port_search.h"

namespace quvan::link {
namespace {

// A port that is there but cannot be had; a missing one is simply skipped.
bool IsRefusal(platform::OpenFailure kind) {
    return kind == platform::OpenFailure::PermissionDenied || kind == platform::OpenFailure::InUse;
}

} // namespace

bool SearchPort(BoardLink& link, platform::PortLister& ports, const SearchCallbacks& callbacks) {
    const PortSettings remembered = link.ComPort.settings();
    link.SetPortSearchActive(true);
    bool found = false;
    bool aborted = false;
    for (const std::string& name : ports.ports()) {
        link.ComPort.PortName = name;
        if (link.OpenPort(true)) {
            if (callbacks.portOpened) {
                callbacks.portOpened(name);
            }
            link.SendCommand("Ver");
            if (link.WaitResponse(kSearchWaitMs)) {
                if (callbacks.boardFound) {
                    callbacks.boardFound(name);
                }
                found = true;
                break;
            }
            link.ClosePort();
        } else if (callbacks.portRefused && IsRefusal(link.lastOpenFailure().kind)) {
            callbacks.portRefused(name, link.lastOpenFailure());
        }
        if (!link.PortSearchActive()) {
            aborted = true; // the adapter went away meanwhile
            break;
        }
    }
    link.SetPortSearchActive(false);
    if (found) {
        link.forgetPermissionRefusal();
    }
    if (!found && !aborted) {
        link.ComPort.settings() = remembered;
    }
    link.ShowPortStatus();
    return link.ComPort.PortOpen;
}

bool ConnectBoard(BoardLink& link, platform::PortLister& ports, const SearchCallbacks& callbacks) {
    link.forgetPermissionRefusal();
    if (link.OpenPort(true)) {
        link.SendCommand("Ver");
        if (link.WaitResponse(kProbeWaitMs)) {
            return true;
        }
        if (callbacks.probeUnanswered) {
            callbacks.probeUnanswered(link.ComPort.PortName);
        }
        link.ClosePort();
    }
    return SearchPort(link, ports, callbacks);
}

} // namespace quvan::link
