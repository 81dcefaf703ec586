#pragma once
// A LIRC remote configuration (lircd.conf) with raw codes: one remote per
// carrier frequency, one "name" per signal, its durations mark first and
// ending with a mark; the remote's gap is the silence after its codes.

#include "table/exchange/signal_file.h"

#include <string>
#include <vector>

namespace quvan::exchange {

// remoteName names the remotes ("quvan" gives quvan_38_0kHz ...).
std::string WriteLircConf(const std::vector<ExportedSignal>& list,
                          const std::string& remoteName = "quvan");

// A button name as LIRC reads it: no blanks, only printable ASCII.
std::string LircName(const std::string& name, int row);

} // namespace quvan::exchange
