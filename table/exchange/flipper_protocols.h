#pragma once
// The protocols a Flipper .ir file names for its parsed signals, and how
// its address and command fields become the code the encoders send.

#include "protocols/ir_encoder.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace quvan::exchange {

// The names, as the files spell them.
const std::vector<std::string_view>& FlipperProtocolNames();

// The signal of a parsed code, or why the code cannot be sent (an unknown
// protocol, a field wider than the protocol carries).
std::variant<protocols::EncodedSignal, std::string>
EncodeFlipperCode(std::string_view protocol, std::uint32_t address, std::uint32_t command);

} // namespace quvan::exchange
