#include "sim/remote_press.h"

namespace quvan::sim {

std::variant<Capture, std::string> press_capture(const PressRequest& request, bool toggle,
                                                 std::int32_t learn_end_ms) {
    auto encoded = encode_ir(request.format, request.code, toggle);
    if (auto* error = std::get_if<std::string>(&encoded))
        return *error;
    const EncodedSignal& signal = std::get<EncodedSignal>(encoded);
    Waveform wave = held_waveform(signal, request.hold_ms);
    disturb(wave, request.disturbance);
    Capture c;
    c.pulses = capture_pulses(wave, learn_end_ms);
    c.carrier_tenths = request.carrier_tenths.value_or(signal.carrier_tenths);
    return c;
}

Capture raw_capture(PulseList pulses, std::int32_t carrier_tenths) {
    if (pulses.size() > kMaxCapturePulses)
        pulses.resize(kMaxCapturePulses);
    return Capture{std::move(pulses), carrier_tenths};
}

const std::vector<PressRequest>& demo_presses() {
    static const std::vector<PressRequest> presses = [] {
        const auto req = [](IrFormat f, std::string_view hex) {
            PressRequest r;
            r.format = f;
            r.code = *parse_hex_bytes(hex);
            return r;
        };
        return std::vector<PressRequest>{
            req(IrFormat::Nec, "20DF10EF"),          // TV power
            req(IrFormat::Sony12, "1501"),           // TV power
            req(IrFormat::Kaseikyo, "022080003DBD"), // TV power
            req(IrFormat::Samsung, "070702FD"),      // TV power
            req(IrFormat::Jvc, "0317"),
            req(IrFormat::Rc5, "050C"), // standby
            req(IrFormat::NecExt, "83411A"),
            req(IrFormat::Sharp, "0116"),
        };
    }();
    return presses;
}

} // namespace quvan::sim
