#pragma once
// A button press on a simulated remote control, turned into the capture
// the board would report.

#include "sim/capture_builder.h"
#include "sim/ir_format.h"
#include "sim/pulse.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace quvan::sim {

struct PressRequest {
    IrFormat format = IrFormat::Nec;
    std::vector<std::uint8_t> code;
    std::int32_t hold_ms = 600;
    Disturbance disturbance;
    std::optional<std::int32_t> carrier_tenths; // overrides the format's carrier
};

struct Capture {
    PulseList pulses;
    std::int32_t carrier_tenths = 0;
};

// toggle: the RC5/RC6 toggle bit for this press.
std::variant<Capture, std::string> press_capture(const PressRequest& request, bool toggle,
                                                 std::int32_t learn_end_ms);

// Raw pulses typed by hand are reported as they are.
Capture raw_capture(PulseList pulses, std::int32_t carrier_tenths);

// The codes the board shows by itself when asked to learn without a remote
// (--auto-learn), in turn.
const std::vector<PressRequest>& demo_presses();

} // namespace quvan::sim
