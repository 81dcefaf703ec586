#include "table/exchange/raw_timings.h"

#include <algorithm>
#include <cctype>

namespace quvan::exchange {

namespace {

constexpr int kValuesPerLine = 16;

// The signal being read and the rules that end it.
class RawSignalReader {
  public:
    RawSignalReader(SignalFile& out, std::int32_t carrierHz) : out_(out), carrierHz_(carrierHz) {}

    void setName(std::string_view name, int line) {
        if (!collector_.empty() || collector_.failed())
            end(line);
        name_ = std::string(name);
        if (start_ == 0)
            start_ = line;
    }

    void setCarrier(std::int32_t hz, int line, std::string_view text) {
        if (hz == 0) {
            begin(line);
            collector_.fail(line, Quoted(text) + " is not a carrier frequency");
            return;
        }
        carrierHz_ = hz;
        carrierLine_ = line;
    }

    void addWords(std::string_view text, int line) {
        begin(line);
        for (std::string_view word : Words(text, true)) {
            char sign = 0;
            if (word.front() == '+' || word.front() == '-') {
                sign = word.front();
                word.remove_prefix(1);
            }
            const std::optional<std::int64_t> us = WholeNumber(word);
            if (!us) {
                collector_.fail(line, Quoted(word) + " is not a duration in whole microseconds");
                return;
            }
            if (sign == '+')
                collector_.addMark(*us, line);
            else if (sign == '-')
                collector_.addSpace(*us, line);
            else
                collector_.addNext(*us, line);
        }
    }

    // Ends the signal in progress; a name without durations is reported.
    void end(int line) {
        if (start_ != 0) {
            if (collector_.empty() && !collector_.failed() && name_.empty()) {
                // Nothing but a carrier line: it only sets the carrier.
            } else {
                take(line);
            }
        }
        collector_.clear();
        name_.clear();
        start_ = 0;
    }

  private:
    void begin(int line) {
        if (start_ == 0)
            start_ = line;
    }

    void take(int line) {
        ImportedSignal signal;
        signal.name = name_;
        signal.line = start_;
        signal.carrierHz = carrierHz_ != 0 ? carrierHz_ : kDefaultCarrierHz;
        std::optional<SignalRefusal> fault = collector_.finish(signal.once, line);
        if (!fault) {
            if (auto carrier = CarrierFault(signal.carrierHz))
                fault = SignalRefusal{carrierLine_ != 0 ? carrierLine_ : start_, {}, *carrier};
        }
        if (fault) {
            fault->name = name_;
            out_.refused.push_back(*fault);
            return;
        }
        out_.accepted.push_back(std::move(signal));
    }

    SignalFile& out_;
    std::int32_t carrierHz_;
    int carrierLine_ = 0; // where the carrier in force was set
    DurationCollector collector_;
    std::string name_;
    int start_ = 0;
};

std::string_view WithoutComment(std::string_view line) {
    const std::size_t hash = line.find('#');
    return Trim(line.substr(0, hash));
}

} // namespace

bool IsCarrierLine(std::string_view line, std::int32_t& hz, std::string_view& value) {
    std::size_t keyEnd = 0;
    while (keyEnd < line.size() && std::isalpha(static_cast<unsigned char>(line[keyEnd])))
        ++keyEnd;
    const std::string_view key = line.substr(0, keyEnd);
    if (!EqualsIgnoringCase(key, "carrier") && !EqualsIgnoringCase(key, "frequency"))
        return false;
    value = Trim(line.substr(keyEnd));
    if (!value.empty() && (value.front() == ':' || value.front() == '='))
        value = Trim(value.substr(1));
    hz = ParseCarrierHz(value).value_or(0);
    return true;
}

SignalFile ReadRawTimings(std::string_view text, std::int32_t carrierHz) {
    SignalFile out;
    RawSignalReader reader(out, carrierHz);
    int lastLine = 0;
    for (const TextLine& line : SplitLines(text)) {
        lastLine = line.number;
        if (Trim(line.text).empty()) {
            reader.end(line.number);
            continue;
        }
        const std::string_view content = WithoutComment(line.text);
        if (content.empty())
            continue;
        std::string_view key, value, carrier;
        std::int32_t hz = 0;
        if (SplitKeyValue(content, key, value) && EqualsIgnoringCase(key, "name"))
            reader.setName(value, line.number);
        else if (IsCarrierLine(content, hz, carrier))
            reader.setCarrier(hz, line.number, carrier);
        else
            reader.addWords(content, line.number);
    }
    reader.end(lastLine);
    return out;
}

std::string WriteRawTimings(const std::vector<ExportedSignal>& list) {
    std::string out = "# Raw timings in microseconds: + mark, - space. One signal per "
                      "paragraph.\n";
    for (const ExportedSignal& signal : list) {
        out += "\n";
        if (!signal.name.empty())
            out += "name: " + signal.name + "\n";
        out += "carrier: " + std::to_string(signal.carrierHz) + "\n";
        const Durations all = SingleSequence(signal);
        for (std::size_t i = 0; i < all.size(); ++i) {
            out += (i % 2 == 0 ? '+' : '-') + std::to_string(all[i]);
            const bool lineEnd = (i + 1) % kValuesPerLine == 0 || i + 1 == all.size();
            out += lineEnd ? '\n' : ' ';
        }
    }
    return out;
}

} // namespace quvan::exchange
