#include "table/exchange/flipper_ir.h"

#include "table/exchange/flipper_protocols.h"

#include <algorithm>
#include <cstdint>

namespace quvan::exchange {

namespace {

// The fields of one signal block as they were read.
struct Block {
    int line = 0;
    std::string name;
    std::string_view type;
    int typeLine = 0;
    std::string_view protocol;
    std::string_view address;
    int addressLine = 0;
    std::string_view command;
    int commandLine = 0;
    std::string_view frequency;
    int frequencyLine = 0;
    std::string_view dutyCycle;
    int dutyLine = 0;
    DurationCollector data;
    bool hasData = false;
    std::optional<SignalRefusal> fault;

    void fail(int at, std::string reason) {
        if (!fault)
            fault = SignalRefusal{at, {}, std::move(reason)};
    }
};

// "20 00 00 00": four bytes, least significant first.
std::optional<std::uint32_t> FourBytes(std::string_view text) {
    const std::vector<std::string_view> words = Words(text);
    if (words.size() != 4)
        return std::nullopt;
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        const std::string_view w = words[static_cast<std::size_t>(i)];
        if (w.size() != 2)
            return std::nullopt;
        unsigned byte = 0;
        for (char c : w) {
            const int d = (c >= '0' && c <= '9')   ? c - '0'
                          : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                          : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                                                   : -1;
            if (d < 0)
                return std::nullopt;
            byte = byte * 16 + static_cast<unsigned>(d);
        }
        value = value << 8 | byte;
    }
    return value;
}

// A duty cycle such as "0.330000": a number from 0 to 1.
bool ValidDutyCycle(std::string_view text) {
    const std::size_t point = text.find('.');
    const std::optional<std::int64_t> whole = WholeNumber(text.substr(0, point));
    if (!whole || *whole > 1)
        return false;
    if (point == std::string_view::npos)
        return true;
    const std::string_view fraction = text.substr(point + 1);
    if (fraction.empty() || !WholeNumber(fraction))
        return false;
    return *whole == 0 || fraction.find_first_not_of('0') == std::string_view::npos;
}

void Finish(Block& b, SignalFile& out) {
    ImportedSignal signal;
    signal.name = b.name;
    signal.line = b.line;
    if (!b.fault && b.type.empty())
        b.fail(b.line, "the signal has no 'type' line");
    if (!b.fault && b.type == "parsed") {
        if (b.protocol.empty() || b.address.empty() || b.command.empty())
            b.fail(b.line, "a parsed signal needs 'protocol', 'address' and 'command'");
        const std::optional<std::uint32_t> address = FourBytes(b.address);
        const std::optional<std::uint32_t> command = FourBytes(b.command);
        if (!address)
            b.fail(b.addressLine, Quoted(b.address) + " is not four hexadecimal bytes");
        if (!command)
            b.fail(b.commandLine, Quoted(b.command) + " is not four hexadecimal bytes");
        if (!b.fault) {
            auto encoded = EncodeFlipperCode(b.protocol, *address, *command);
            if (auto* reason = std::get_if<std::string>(&encoded)) {
                b.fail(b.line, *reason);
            } else {
                signal.encoded = std::get<protocols::EncodedSignal>(encoded);
                signal.carrierHz = signal.encoded->carrier_tenths * 100;
            }
        }
    } else if (!b.fault && b.type == "raw") {
        const std::optional<std::int64_t> hz = WholeNumber(b.frequency);
        if (b.frequency.empty())
            b.fail(b.line, "a raw signal needs a 'frequency' line");
        else if (!hz)
            b.fail(b.frequencyLine, Quoted(b.frequency) + " is not a frequency in Hz");
        else if (auto reason = CarrierFault(
                     static_cast<std::int32_t>(std::min<std::int64_t>(*hz, INT32_MAX))))
            b.fail(b.frequencyLine, *reason);
        if (!b.dutyCycle.empty() && !ValidDutyCycle(b.dutyCycle))
            b.fail(b.dutyLine, Quoted(b.dutyCycle) + " is not a duty cycle between 0 and 1");
        if (!b.hasData)
            b.fail(b.line, "a raw signal needs a 'data' line");
        if (!b.fault) {
            signal.carrierHz = static_cast<std::int32_t>(*hz);
            if (auto fault = b.data.finish(signal.once, b.line))
                b.fault = fault;
        }
    } else if (!b.fault) {
        b.fail(b.typeLine, "type " + Quoted(b.type) + " is neither raw nor parsed");
    }
    if (b.fault) {
        b.fault->name = b.name;
        out.refused.push_back(*b.fault);
        return;
    }
    out.accepted.push_back(std::move(signal));
}

void TakeField(Block& b, std::string_view key, std::string_view value, int line) {
    if (key == "type") {
        b.type = value;
        b.typeLine = line;
    } else if (key == "protocol") {
        b.protocol = value;
    } else if (key == "address") {
        b.address = value;
        b.addressLine = line;
    } else if (key == "command") {
        b.command = value;
        b.commandLine = line;
    } else if (key == "frequency") {
        b.frequency = value;
        b.frequencyLine = line;
    } else if (key == "duty_cycle") {
        b.dutyCycle = value;
        b.dutyLine = line;
    } else if (key == "data") {
        // Long recordings may continue over several data lines.
        b.hasData = true;
        for (std::string_view word : Words(value)) {
            const std::optional<std::int64_t> us = WholeNumber(word);
            if (!us) {
                b.data.fail(line, Quoted(word) + " is not a duration in whole microseconds");
                break;
            }
            b.data.addNext(*us, line);
        }
    } else {
        b.fail(line, "unknown field " + Quoted(key));
    }
}

} // namespace

SignalFile ReadFlipperIr(std::string_view text) {
    SignalFile out;
    const std::vector<TextLine> lines = SplitLines(text);
    std::size_t i = 0;
    const auto nextContent = [&]() -> const TextLine* {
        while (i < lines.size()) {
            const std::string_view t = Trim(lines[i].text);
            if (!t.empty() && t.front() != '#')
                return &lines[i++];
            ++i;
        }
        return nullptr;
    };
    std::string_view key, value;
    const TextLine* first = nextContent();
    if (first == nullptr || !SplitKeyValue(first->text, key, value) || key != "Filetype" ||
        (value != "IR signals file" && value != "IR library file")) {
        out.refused.push_back({first ? first->number : 1,
                               {},
                               "not a Flipper IR file: it must begin with "
                               "'Filetype: IR signals file'"});
        return out;
    }
    const TextLine* version = nextContent();
    if (version == nullptr || !SplitKeyValue(version->text, key, value) || key != "Version" ||
        value != "1") {
        out.refused.push_back({version ? version->number : first->number,
                               {},
                               "only version 1 of the Flipper IR format is known"});
        return out;
    }
    std::optional<Block> block;
    while (const TextLine* line = nextContent()) {
        if (!SplitKeyValue(line->text, key, value)) {
            if (block)
                block->fail(line->number, Quoted(Trim(line->text)) + " is not a 'key: value' line");
            else
                out.refused.push_back(
                    {line->number, {}, Quoted(Trim(line->text)) + " is not a 'key: value' line"});
            continue;
        }
        if (key == "name") {
            if (block)
                Finish(*block, out);
            block.emplace();
            block->line = line->number;
            block->name = std::string(value);
            continue;
        }
        if (!block) {
            out.refused.push_back(
                {line->number, {}, "field " + Quoted(key) + " comes before the first 'name' line"});
            continue;
        }
        TakeField(*block, key, value, line->number);
    }
    if (block)
        Finish(*block, out);
    return out;
}

std::string WriteFlipperIr(const std::vector<ExportedSignal>& list) {
    std::string out = "Filetype: IR signals file\nVersion: 1\n";
    for (const ExportedSignal& signal : list) {
        out += "#\nname: " +
               (signal.name.empty() ? "Row_" + std::to_string(signal.row) : signal.name) + "\n";
        out += "type: raw\nfrequency: " + std::to_string(signal.carrierHz) +
               "\nduty_cycle: 0.330000\ndata:";
        for (std::int32_t us : SingleSequence(signal))
            out += " " + std::to_string(us);
        out += "\n";
    }
    return out;
}

} // namespace quvan::exchange
