#include "table/exchange/pulse_space.h"

#include <algorithm>
#include <cstdint>

namespace quvan::exchange {

namespace {

class PulseSpaceReader {
  public:
    PulseSpaceReader(SignalFile& out, std::int32_t carrierHz) : out_(out), carrierHz_(carrierHz) {}

    void pulse(std::int64_t us, int line) {
        if (start_ == 0)
            start_ = line;
        collector_.addMark(us, line);
    }

    void space(std::int64_t us, int line) {
        if (start_ == 0)
            return; // the silence before a signal
        collector_.addSpace(us, line);
    }

    void carrier(std::int32_t hz) { carrierHz_ = hz; }

    void fail(int line, std::string reason) {
        if (start_ == 0)
            start_ = line;
        collector_.fail(line, std::move(reason));
    }

    void end(int line) {
        if (start_ == 0)
            return;
        ImportedSignal signal;
        signal.line = start_;
        signal.carrierHz = carrierHz_ != 0 ? carrierHz_ : kDefaultCarrierHz;
        std::optional<SignalRefusal> fault = collector_.finish(signal.once, line);
        if (!fault) {
            if (auto reason = CarrierFault(signal.carrierHz))
                fault = SignalRefusal{start_, {}, *reason};
        }
        if (fault)
            out_.refused.push_back(*fault);
        else
            out_.accepted.push_back(std::move(signal));
        collector_.clear();
        start_ = 0;
    }

  private:
    SignalFile& out_;
    std::int32_t carrierHz_;
    DurationCollector collector_;
    int start_ = 0;
};

} // namespace

SignalFile ReadPulseSpace(std::string_view text, std::int32_t carrierHz, std::int32_t signalGapUs) {
    SignalFile out;
    PulseSpaceReader reader(out, carrierHz);
    int lastLine = 0;
    for (const TextLine& line : SplitLines(text)) {
        lastLine = line.number;
        const std::string_view content = Trim(line.text);
        if (content.empty() || content.front() == '#')
            continue;
        const std::vector<std::string_view> words = Words(content);
        const std::string_view kind = words.front();
        // The capture tools' own banners ("Using driver ...").
        if (kind == "Using" || kind == "Trying")
            continue;
        const bool known =
            kind == "pulse" || kind == "space" || kind == "timeout" || kind == "carrier";
        if (!known) {
            reader.fail(line.number,
                        Quoted(content) + " is not a pulse, space, timeout or carrier line");
            continue;
        }
        const std::optional<std::int64_t> value =
            words.size() == 2 ? WholeNumber(words[1]) : std::nullopt;
        if (!value) {
            reader.fail(line.number, Quoted(content) + ": expected '" + std::string(kind) +
                                         "' and one whole number");
            continue;
        }
        if (kind == "pulse") {
            reader.pulse(*value, line.number);
        } else if (kind == "space") {
            if (*value >= signalGapUs)
                reader.end(line.number);
            else
                reader.space(*value, line.number);
        } else if (kind == "timeout") {
            reader.end(line.number);
        } else {
            reader.carrier(static_cast<std::int32_t>(std::min<std::int64_t>(*value, INT32_MAX)));
        }
    }
    reader.end(lastLine);
    return out;
}

} // namespace quvan::exchange
