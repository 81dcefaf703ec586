#include "sim/dip_switches.h"

#include "sim/text_number.h"

#include <array>

namespace quvan::sim {

namespace {
constexpr std::array<int, 4> kEmissionCounts = {1, 2, 4, 6};

std::optional<std::string_view> after(std::string_view text, std::string_view prefix) {
    if (text.substr(0, prefix.size()) != prefix)
        return std::nullopt;
    return text.substr(prefix.size());
}
} // namespace

std::optional<std::string> DipSwitches::handle(std::string_view cmd) {
    if (cmd == "BpsR:?")
        return "BpsR:" + std::to_string(effective_.rs232_index);
    if (cmd == "BpsU:?")
        return "BpsU:" + std::to_string(effective_.usb_index);
    if (cmd == "Bit16:?" || cmd == "Binary:?")
        return std::string(effective_.binary_input ? "Binary:" : "Bit16:") +
               std::to_string(effective_.emission_index + 1);

    if (auto v = after(cmd, "BpsR:")) {
        const auto n = parse_decimal(*v);
        if (!n || *n < 0 || *n > 4)
            return "?";
        pending_.rs232_index = *n;
        return std::string(cmd);
    }
    if (auto v = after(cmd, "BpsU:")) {
        const auto n = parse_decimal(*v);
        if (!n || *n < 0 || *n > 1)
            return "?";
        pending_.usb_index = *n;
        return std::string(cmd);
    }
    const bool bit16 = cmd.starts_with("Bit16:");
    if (bit16 || cmd.starts_with("Binary:")) {
        const auto n = parse_decimal(cmd.substr(bit16 ? 6 : 7));
        for (std::size_t i = 0; n && i < kEmissionCounts.size(); ++i) {
            if (kEmissionCounts[i] == *n) {
                pending_.binary_input = !bit16;
                pending_.emission_index = static_cast<int>(i);
                return std::string(cmd);
            }
        }
        return "?";
    }
    return std::nullopt;
}

std::string DipSwitches::setting_lines(const DipValues& v) const {
    return "BpsR:" + std::to_string(v.rs232_index) + "\nBpsU:" + std::to_string(v.usb_index) +
           "\n" + (v.binary_input ? "Binary:" : "Bit16:") +
           std::to_string(kEmissionCounts[v.emission_index]) + "\n";
}

} // namespace quvan::sim
