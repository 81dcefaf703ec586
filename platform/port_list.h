#pragma once
// The serial devices a port search walks.

#include <string>
#include <vector>

namespace quvan::platform {

inline constexpr std::size_t kMaxListedPorts = 256;

// Serial devices present on this machine, as names under /dev (ttyUSB0, ...),
// in a stable order: grouped by driver prefix, then by number. At most 256.
// The folders are parameters so tests can describe a machine of their own.
std::vector<std::string> ListSerialPorts(const std::string& sysClassTty = "/sys/class/tty",
                                         const std::string& devDir = "/dev");

// Orders port names the way a user counts them: ttyS2 before ttyS10.
bool PortNameLess(const std::string& a, const std::string& b);

// The list a port search walks; tests supply their own.
class PortLister {
  public:
    virtual ~PortLister() = default;
    virtual std::vector<std::string> ports() = 0;
};

class SystemPortLister final : public PortLister {
  public:
    std::vector<std::string> ports() override { return ListSerialPorts(); }
};

// A fixed list, e.g. the ports the user named on the command line.
class FixedPortLister final : public PortLister {
  public:
    std::vector<std::string> names;
    std::vector<std::string> ports() override { return names; }
};

} // namespace quvan::platform
