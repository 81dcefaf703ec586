#include "platform/serial_port.h"

#include <array>
#include <charconv>

namespace quvan::platform {

int SupportedBaudRate(int requested) {
    static constexpr std::array<int, 10> kRates{1200,  2400,  4800,  9600,  19200,
                                                38400, 56000, 57600, 76800, 115200};
    for (int rate : kRates) {
        if (rate == requested) {
            return rate;
        }
    }
    return 57600;
}

std::string ResolvePortPath(std::string_view name) {
    if (name.empty()) {
        return {};
    }
    if (name.front() == '/') {
        return std::string(name);
    }
    if (name.size() > 3 && name.substr(0, 3) == "COM") {
        int number = 0;
        const char* first = name.data() + 3;
        const char* last = name.data() + name.size();
        auto [end, ec] = std::from_chars(first, last, number);
        if (ec == std::errc() && end == last && number >= 1) {
            return "/dev/ttyS" + std::to_string(number - 1);
        }
    }
    return "/dev/" + std::string(name);
}

} // namespace quvan::platform
