#include "table/exchange/signal_formats.h"

#include "table/exchange/flipper_ir.h"
#include "table/exchange/lirc_conf.h"
#include "table/exchange/pronto_hex.h"
#include "table/exchange/pulse_space.h"
#include "table/exchange/raw_timings.h"

#include <array>

namespace quvan::exchange {

namespace {

struct FormatEntry {
    SignalFormat format;
    std::string_view name;
    std::string_view suffix;
};

constexpr std::array<FormatEntry, 5> kFormats{{
    {SignalFormat::Raw, "raw", ".txt"},
    {SignalFormat::Pronto, "pronto", ".txt"},
    {SignalFormat::Flipper, "flipper", ".ir"},
    {SignalFormat::PulseSpace, "pulse-space", ".txt"},
    {SignalFormat::Lirc, "lirc", ".conf"},
}};

} // namespace

std::string_view FormatName(SignalFormat format) {
    for (const FormatEntry& f : kFormats) {
        if (f.format == format)
            return f.name;
    }
    return "raw";
}

std::string_view FormatSuffix(SignalFormat format) {
    for (const FormatEntry& f : kFormats) {
        if (f.format == format)
            return f.suffix;
    }
    return ".txt";
}

std::optional<SignalFormat> ParseFormatName(std::string_view name) {
    for (const FormatEntry& f : kFormats) {
        if (EqualsIgnoringCase(f.name, name))
            return f.format;
    }
    return std::nullopt;
}

bool CanRead(SignalFormat format) {
    return format != SignalFormat::Lirc;
}

bool CanWrite(SignalFormat format) {
    return format != SignalFormat::PulseSpace;
}

SignalFormat GuessFormat(std::string_view text) {
    for (const TextLine& line : SplitLines(text)) {
        const std::string_view content = Trim(line.text);
        if (content.empty() || content.front() == '#')
            continue;
        if (content.starts_with("Filetype:"))
            return SignalFormat::Flipper;
        const std::vector<std::string_view> words = Words(content);
        const std::string_view first = words.front();
        if (first == "pulse" || first == "space" || first == "timeout")
            return SignalFormat::PulseSpace;
        // A learned Pronto code: "0000 FREQ ..." in 4-digit words.
        if (first == "0000" && words.size() >= 2 && words[1].size() == 4)
            return SignalFormat::Pronto;
    }
    return SignalFormat::Raw;
}

SignalFile ReadSignals(SignalFormat format, std::string_view text, const ReadOptions& options) {
    switch (format) {
    case SignalFormat::Pronto:
        return ReadPronto(text);
    case SignalFormat::Flipper:
        return ReadFlipperIr(text);
    case SignalFormat::PulseSpace:
        return ReadPulseSpace(text, options.carrierHz, options.signalGapUs);
    case SignalFormat::Lirc: {
        SignalFile none;
        none.refused.push_back({0, {}, "LIRC configurations can be written, not read"});
        return none;
    }
    case SignalFormat::Raw:
        break;
    }
    return ReadRawTimings(text, options.carrierHz);
}

std::string WriteSignals(SignalFormat format, const std::vector<ExportedSignal>& list) {
    switch (format) {
    case SignalFormat::Pronto:
        return WritePronto(list);
    case SignalFormat::Flipper:
        return WriteFlipperIr(list);
    case SignalFormat::Lirc:
        return WriteLircConf(list);
    case SignalFormat::Raw:
    case SignalFormat::PulseSpace:
        break;
    }
    return WriteRawTimings(list);
}

} // namespace quvan::exchange
