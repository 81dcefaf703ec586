#pragma once
// Pronto Hex learned codes: "0000 FREQ ONCE REPEAT" and then ONCE burst
// pairs sent when the button goes down and REPEAT burst pairs sent again and
// again while it is held, every value a 4-digit hexadecimal word. FREQ sets
// the carrier period in units of 0.241246 µs, and every duration counts
// carrier periods. A code starts on a line of its own and may go on over
// the following lines; a line of other text names the code after it
// ("name: POWER" or just "POWER"), and so does a name before a code on its
// line ("POWER: 0000 006D ...").

#include "table/exchange/signal_file.h"

#include <string>
#include <string_view>
#include <vector>

namespace quvan::exchange {

SignalFile ReadPronto(std::string_view text);

// The lead-in becomes the ONCE sequence, the repeat section REPEAT.
std::string WritePronto(const std::vector<ExportedSignal>& list);

// The carrier that a FREQ word stands for, in Hz, and the word nearest to a
// carrier.
double ProntoCarrierHz(unsigned freqWord);
unsigned ProntoFreqWord(std::int32_t carrierHz);

} // namespace quvan::exchange
