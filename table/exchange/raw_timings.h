#pragma once
// Raw timings: microsecond durations, mark first, alternating mark and space,
// separated by blanks or commas; a '+' or '-' sign may say which is which.
// One signal per paragraph (blank lines between signals), "# ..." comments,
// an optional "name: ..." line and an optional carrier line ("carrier:
// 38000", "carrier 36.7kHz") that holds for its signal and those after it.
//
//   name: POWER
//   carrier: 38000
//   +9000 -4500 +560 -560 +560 -1690 ...

#include "table/exchange/signal_file.h"

#include <string>
#include <string_view>
#include <vector>

namespace quvan::exchange {

// carrierHz: the carrier of signals the file gives none for (0: 38 kHz).
SignalFile ReadRawTimings(std::string_view text, std::int32_t carrierHz = 0);

std::string WriteRawTimings(const std::vector<ExportedSignal>& list);

// Recognises a carrier line; sets hz (0 when its value is not a carrier) and
// value to the text after the key.
bool IsCarrierLine(std::string_view line, std::int32_t& hz, std::string_view& value);

} // namespace quvan::exchange
