#include "platform/port_list.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <tuple>

namespace quvan::platform {
namespace {

namespace fs = std::filesystem;

std::pair<std::string, long> SplitTrailingNumber(const std::string& name) {
    std::size_t digits = name.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(name[digits - 1])) != 0) {
        --digits;
    }
    if (digits == name.size() || name.size() - digits > 9) {
        return {name, -1};
    }
    return {name.substr(0, digits), std::stol(name.substr(digits))};
}

// Legacy 8250 UARTs get device nodes whether or not hardware sits behind
// them; the driver reports port type 0 for the empty ones.
bool IsPlaceholderUart(const fs::path& ttyEntry) {
    std::ifstream type(ttyEntry / "type");
    int value = -1;
    return type >> value && value == 0;
}

} // namespace

bool PortNameLess(const std::string& a, const std::string& b) {
    const auto [prefixA, numberA] = SplitTrailingNumber(a);
    const auto [prefixB, numberB] = SplitTrailingNumber(b);
    return std::tie(prefixA, numberA, a) < std::tie(prefixB, numberB, b);
}

std::vector<std::string> ListSerialPorts(const std::string& sysClassTty,
                                         const std::string& devDir) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(sysClassTty, ec)) {
        const fs::path ttyPath = entry.path();
        // Virtual consoles and pseudo-terminals have no "device" link; real
        // serial hardware (UARTs, USB adapters, CDC-ACM) has.
        if (!fs::exists(ttyPath / "device", ec) || IsPlaceholderUart(ttyPath)) {
            continue;
        }
        const std::string name = ttyPath.filename().string();
        if (fs::exists(fs::path(devDir) / name, ec)) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end(), PortNameLess);
    if (names.size() > kMaxListedPorts) {
        names.resize(kMaxListedPorts);
    }
    return names;
}

} // namespace quvan::platform
