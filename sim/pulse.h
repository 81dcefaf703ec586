#pragma once
// The simulated board measures pulses as the shared protocol library
// describes them.

#include "protocols/pulse.h"

namespace quvan::sim {

using protocols::kMaxCapturePulses;
using protocols::Pulse;
using protocols::PulseList;

} // namespace quvan::sim
