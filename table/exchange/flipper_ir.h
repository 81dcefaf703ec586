#pragma once
// Flipper .ir signal files: a "Filetype: IR signals file" / "Version: 1"
// header, then one block of "key: value" lines per signal, each beginning
// with "name:". A raw signal gives "frequency", "duty_cycle" and "data"
// (microsecond durations, mark first); a parsed one gives "protocol",
// "address" and "command" (four bytes each, least significant first).
//
//   name: POWER
//   type: parsed
//   protocol: NEC
//   address: 20 00 00 00
//   command: 02 00 00 00

#include "table/exchange/signal_file.h"

#include <string>
#include <string_view>
#include <vector>

namespace quvan::exchange {

SignalFile ReadFlipperIr(std::string_view text);

// Every signal as "type: raw".
std::string WriteFlipperIr(const std::vector<ExportedSignal>& list);

} // namespace quvan::exchange
