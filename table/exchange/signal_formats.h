#pragma once
// The file formats signals come in and go out in, by name, and the reading
// and writing of each.

#include "table/exchange/signal_file.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quvan::exchange {

enum class SignalFormat { Raw, Pronto, Flipper, PulseSpace, Lirc };

// "raw", "pronto", "flipper", "pulse-space", "lirc".
std::string_view FormatName(SignalFormat format);
std::optional<SignalFormat> ParseFormatName(std::string_view name);
bool CanRead(SignalFormat format);  // all but lirc
bool CanWrite(SignalFormat format); // all but pulse-space

// The format a text is in, judged by its first lines: a Flipper header,
// "pulse"/"space" lines, a Pronto learned-code header, else raw timings.
SignalFormat GuessFormat(std::string_view text);

struct ReadOptions {
    std::int32_t carrierHz = 0;        // for files that give none (0: 38 kHz)
    std::int32_t signalGapUs = 500000; // a pulse/space silence this long ends a signal
};

SignalFile ReadSignals(SignalFormat format, std::string_view text, const ReadOptions& options = {});

// The file's text.
std::string WriteSignals(SignalFormat format, const std::vector<ExportedSignal>& list);

// The usual file name ending of a format, with its dot (".ir", ".conf" ...).
std::string_view FormatSuffix(SignalFormat format);

} // namespace quvan::exchange
