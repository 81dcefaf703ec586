#pragma once
// The simulated remote controls send through the shared protocol encoders.

#include "protocols/ir_encoder.h"
#include "sim/ir_format.h"
#include "sim/pulse.h"

namespace quvan::sim {

using protocols::encode_ir;
using protocols::EncodedSignal;
using protocols::Waveform;
namespace encoders = protocols::encoders;

} // namespace quvan::sim
