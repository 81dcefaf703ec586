#include "table/exchange/pronto_hex.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quvan::exchange {

namespace {

constexpr double kProntoClockUs = 0.241246; // one unit of the FREQ word
constexpr unsigned kLearnedCode = 0x0000;
constexpr unsigned kUnmodulatedCode = 0x0100;
constexpr int kHeaderWords = 4;

std::optional<unsigned> HexWord(std::string_view word) {
    if (word.size() != 4)
        return std::nullopt;
    unsigned value = 0;
    for (char c : word) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return value;
}

std::string Hex4(unsigned value) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04X", value & 0xFFFF);
    return buf;
}

struct Word {
    unsigned value;
    int line;
};

// One code as its words arrive, line after line.
class ProntoCode {
  public:
    void start(int line, std::string name) {
        line_ = line;
        name_ = std::move(name);
        words_.clear();
        fault_.reset();
        needed_ = 0;
        headerBroken_ = false;
        active_ = true;
    }
    bool active() const { return active_; }
    bool complete() const { return needed_ > 0 && static_cast<int>(words_.size()) >= needed_; }
    bool failed() const { return fault_.has_value(); }
    // A header that could not be read announces nothing: the code ends with
    // its line.
    bool lengthUnknown() const { return headerBroken_; }

    // Words are counted even after a fault, so that the continuation lines
    // of a broken code are not taken for codes of their own.
    void add(std::string_view text, int line) {
        const std::optional<unsigned> value = HexWord(text);
        if (!value) {
            fail(line, Quoted(text) + " is not a 4-digit hexadecimal Pronto word");
            if (words_.size() < kHeaderWords)
                headerBroken_ = true;
        } else if (complete()) {
            fail(line, "more words than the header announces (" +
                           std::to_string(needed_ - kHeaderWords) + " duration words)");
        }
        words_.push_back({value.value_or(0), line});
        if (words_.size() == kHeaderWords && !headerBroken_)
            checkHeader();
    }

    // Ends the code and files it as a signal or a refusal.
    void finish(SignalFile& out) {
        if (!active_)
            return;
        active_ = false;
        if (!fault_ && !complete())
            fault_ = incompleteFault();
        ImportedSignal signal;
        if (!fault_)
            fault_ = build(signal);
        if (fault_) {
            fault_->name = name_;
            out.refused.push_back(*fault_);
            return;
        }
        out.accepted.push_back(std::move(signal));
    }

  private:
    void fail(int line, std::string reason) {
        if (!fault_)
            fault_ = SignalRefusal{line, {}, std::move(reason)};
    }

    void checkHeader() {
        const unsigned type = words_[0].value;
        const unsigned freq = words_[1].value;
        const int line = words_[0].line;
        if (type == kUnmodulatedCode) {
            fail(line, "an unmodulated Pronto code (0100): the board learns only signals on a "
                       "carrier");
        } else if (type != kLearnedCode) {
            fail(line, "Pronto code type " + Hex4(type) + " is not a learned code (0000)");
        } else if (freq == 0) {
            fail(words_[1].line, "the carrier word is 0000");
        } else if (auto reason = CarrierFault(
                       static_cast<std::int32_t>(std::lround(ProntoCarrierHz(freq))))) {
            fail(words_[1].line, *reason);
        } else if (words_[2].value + words_[3].value == 0) {
            fail(line, "the header announces no burst pairs");
        }
        needed_ = kHeaderWords + 2 * static_cast<int>(words_[2].value + words_[3].value);
    }

    SignalRefusal incompleteFault() const {
        const int line = words_.empty() ? line_ : words_.back().line;
        if (static_cast<int>(words_.size()) < kHeaderWords)
            return {line, {}, "the code ends inside its 4-word header"};
        const int durations = static_cast<int>(words_.size()) - kHeaderWords;
        if (durations % 2 != 0)
            return {line,
                    {},
                    "an odd number of duration words (" + std::to_string(durations) +
                        "): the last mark has no space"};
        return {line,
                {},
                "the header announces " + std::to_string((needed_ - kHeaderWords) / 2) +
                    " burst pairs but " + std::to_string(durations / 2) + " follow"};
    }

    std::optional<SignalRefusal> build(ImportedSignal& signal) const {
        const double carrier = ProntoCarrierHz(words_[1].value);
        const double unitUs = words_[1].value * kProntoClockUs;
        signal.name = name_;
        signal.line = line_;
        signal.carrierHz = static_cast<std::int32_t>(std::lround(carrier));
        signal.repeatGiven = true;
        const std::size_t onceWords = 2 * words_[2].value;
        for (std::size_t i = kHeaderWords; i < words_.size(); ++i) {
            const auto us = static_cast<std::int32_t>(std::lround(words_[i].value * unitUs));
            (i - kHeaderWords < onceWords ? signal.once : signal.repeat).push_back(us);
        }
        for (const Durations* part : {&signal.once, &signal.repeat}) {
            if (auto reason = DurationsFault(*part); reason && !part->empty())
                return SignalRefusal{line_, {}, *reason};
        }
        return std::nullopt;
    }

    int line_ = 0;
    std::string name_;
    std::vector<Word> words_;
    int needed_ = 0;
    std::optional<SignalRefusal> fault_;
    bool headerBroken_ = false;
    bool active_ = false;
};

bool StartsWithHexWord(std::string_view content) {
    const std::vector<std::string_view> words = Words(content);
    return !words.empty() && HexWord(words.front()).has_value();
}

// "POWER: 0000 006D ...": where a code that follows a name on its line
// begins (at a "0000" word after which every word is hex), else npos.
std::size_t CodeAfterName(std::string_view content) {
    const std::vector<std::string_view> words = Words(content);
    for (std::size_t i = 1; i < words.size(); ++i) {
        if (words[i] != "0000")
            continue;
        if (std::all_of(words.begin() + static_cast<std::ptrdiff_t>(i), words.end(),
                        [](std::string_view w) { return HexWord(w).has_value(); }))
            return static_cast<std::size_t>(words[i].data() - content.data());
    }
    return std::string_view::npos;
}

} // namespace

double ProntoCarrierHz(unsigned freqWord) {
    return freqWord == 0 ? 0.0 : 1e6 / (freqWord * kProntoClockUs);
}

unsigned ProntoFreqWord(std::int32_t carrierHz) {
    if (carrierHz <= 0)
        return 0;
    const long word = std::lround(1e6 / (carrierHz * kProntoClockUs));
    return static_cast<unsigned>(std::clamp(word, 1L, 0xFFFFL));
}

SignalFile ReadPronto(std::string_view text) {
    SignalFile out;
    ProntoCode code;
    std::string name;
    for (const TextLine& line : SplitLines(text)) {
        std::string_view content = Trim(line.text);
        if (content.empty()) {
            code.finish(out);
            name.clear();
            continue;
        }
        if (content.front() == '#')
            continue;
        if (!StartsWithHexWord(content)) {
            // A name, alone on its line or before its code.
            code.finish(out);
            const std::size_t at = CodeAfterName(content);
            std::string_view label =
                at == std::string_view::npos ? content : Trim(content.substr(0, at));
            if (at != std::string_view::npos && label.ends_with(':'))
                label = Trim(label.substr(0, label.size() - 1));
            std::string_view key, value;
            name = SplitKeyValue(label, key, value) && EqualsIgnoringCase(key, "name")
                       ? std::string(value)
                       : std::string(label);
            if (at == std::string_view::npos)
                continue;
            content = content.substr(at);
        }
        // A line after a finished code starts the next one. No duration is
        // 0000, so a line that starts with it begins a new code even when the
        // one before is short of words; the rest of a broken code is skipped.
        const bool newHeader = Words(content).front() == "0000";
        if (code.active() && (code.complete() || code.lengthUnknown() || newHeader))
            code.finish(out);
        if (!code.active()) {
            code.start(line.number, name);
            name.clear();
        }
        for (std::string_view word : Words(content))
            code.add(word, line.number);
    }
    code.finish(out);
    return out;
}

std::string WritePronto(const std::vector<ExportedSignal>& list) {
    std::string out = "# Pronto Hex learned codes: name, then the code\n";
    for (const ExportedSignal& signal : list) {
        const unsigned freq = ProntoFreqWord(signal.carrierHz);
        const double unitUs = freq * kProntoClockUs;
        out +=
            "\nname: " + (signal.name.empty() ? "row " + std::to_string(signal.row) : signal.name) +
            "\n";
        out += Hex4(kLearnedCode) + " " + Hex4(freq) + " " +
               Hex4(static_cast<unsigned>(signal.leadIn.size() / 2)) + " " +
               Hex4(static_cast<unsigned>(signal.repeat.size() / 2));
        for (const Durations* part : {&signal.leadIn, &signal.repeat}) {
            for (std::int32_t us : *part) {
                const long cycles = std::clamp(std::lround(us / unitUs), 1L, 0xFFFFL);
                out += " " + Hex4(static_cast<unsigned>(cycles));
            }
        }
        out += "\n";
    }
    return out;
}

} // namespace quvan::exchange
