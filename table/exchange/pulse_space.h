#pragma once
// The "pulse N" / "space N" lines that Linux infrared capture tools print
// (mode2, ir-ctl --mode2), one duration in microseconds per line. A
// "timeout" line or a space as long as the learning end time ends a signal,
// as the board ends its capture; spaces before a signal's first pulse are
// the silence before it. "carrier N" lines give the carrier.

#include "table/exchange/signal_file.h"

#include <string_view>

namespace quvan::exchange {

// carrierHz: the carrier when the file gives none (0: 38 kHz); signalGapUs:
// a space at least this long ends a signal.
SignalFile ReadPulseSpace(std::string_view text, std::int32_t carrierHz = 0,
                          std::int32_t signalGapUs = 500000);

} // namespace quvan::exchange
