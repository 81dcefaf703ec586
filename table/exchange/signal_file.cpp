#include "table/exchange/signal_file.h"

#include <algorithm>
#include <cctype>

namespace quvan::exchange {

namespace {

std::string Us(std::int64_t us) {
    return std::to_string(us) + " \xC2\xB5s"; // "µs"
}

} // namespace

std::string DescribeRefusal(const SignalRefusal& refusal) {
    std::string text;
    if (refusal.line > 0)
        text = "line " + std::to_string(refusal.line) + ": ";
    if (!refusal.name.empty())
        text += refusal.name + ": ";
    return text + refusal.reason;
}

std::int32_t CarrierTenths(std::int32_t carrierHz) {
    return static_cast<std::int32_t>((std::int64_t{carrierHz} + 50) / 100);
}

std::optional<std::string> CarrierFault(std::int32_t carrierHz) {
    if (carrierHz <= 0)
        return "the carrier is " + std::to_string(carrierHz) +
               " Hz; the board learns only modulated signals";
    const std::int32_t tenths = CarrierTenths(carrierHz);
    if (tenths < kMinCarrierTenths || tenths > kMaxCarrierTenths)
        return "a carrier of " + std::to_string(carrierHz) +
               " Hz is outside the 10.0 to 99.9 kHz the board reports";
    return std::nullopt;
}

std::optional<std::int32_t> ParseCarrierHz(std::string_view text) {
    text = Trim(text);
    std::int64_t scale = 0; // 0: decide by the size of the number
    const auto endsWith = [&text](std::string_view unit) {
        if (text.size() < unit.size() ||
            !EqualsIgnoringCase(text.substr(text.size() - unit.size()), unit))
            return false;
        text = Trim(text.substr(0, text.size() - unit.size()));
        return true;
    };
    if (endsWith("khz"))
        scale = 1000;
    else if (endsWith("hz"))
        scale = 1;
    const std::size_t point = text.find('.');
    const std::optional<std::int64_t> whole = WholeNumber(text.substr(0, point));
    if (!whole || *whole > 100000000)
        return std::nullopt;
    std::int64_t thousandths = 0; // of the unit
    if (point != std::string_view::npos) {
        const std::string_view fraction = text.substr(point + 1);
        if (fraction.empty() || fraction.size() > 3 || !WholeNumber(fraction))
            return std::nullopt;
        thousandths = *WholeNumber(fraction);
        for (std::size_t i = fraction.size(); i < 3; ++i)
            thousandths *= 10;
    }
    if (scale == 0)
        scale = *whole < 1000 ? 1000 : 1;
    const std::int64_t hz = *whole * scale + thousandths * scale / 1000;
    if (hz > 100000000)
        return std::nullopt;
    return static_cast<std::int32_t>(hz);
}

Durations SingleSequence(const ExportedSignal& signal) {
    Durations all = signal.leadIn;
    all.insert(all.end(), signal.repeat.begin(), signal.repeat.end());
    if (!signal.leadIn.empty())
        all.insert(all.end(), signal.repeat.begin(), signal.repeat.end());
    return all;
}

void DurationCollector::fail(int line, std::string reason) {
    if (!fault_)
        fault_ = SignalRefusal{line, {}, std::move(reason)};
}

void DurationCollector::add(std::int64_t us, bool mark, int line) {
    if (fault_)
        return;
    if (us <= 0) {
        fail(line, std::string("a ") + (mark ? "mark" : "space") + " of " + Us(us) +
                       ": durations must be at least 1 \xC2\xB5s");
        return;
    }
    if (mark && us > kMaxMarkUs) {
        fail(line,
             "a mark of " + Us(us) + " is longer than the board measures (" + Us(kMaxMarkUs) + ")");
        return;
    }
    if (!mark && us + durations_.back() > kMaxPeriodUs) {
        fail(line, "a mark and its space last " + Us(us + durations_.back()) +
                       ", longer than the board measures (" + Us(kMaxPeriodUs) + ")");
        return;
    }
    if (mark && durations_.size() / 2 >= kMaxPairs) {
        fail(line, "more than " + std::to_string(kMaxPairs) +
                       " pulses: one capture of the board holds no more");
        return;
    }
    durations_.push_back(static_cast<std::int32_t>(us));
}

void DurationCollector::addMark(std::int64_t us, int line) {
    if (!nextIsMark()) {
        fail(line, "two marks in a row: a space is missing between them");
        return;
    }
    add(us, true, line);
}

void DurationCollector::addSpace(std::int64_t us, int line) {
    if (durations_.empty()) {
        fail(line, "the signal starts with a space: a mark must come first");
        return;
    }
    if (nextIsMark()) {
        fail(line, "two spaces in a row: a mark is missing between them");
        return;
    }
    add(us, false, line);
}

void DurationCollector::addNext(std::int64_t us, int line) {
    add(us, nextIsMark(), line);
}

std::optional<SignalRefusal> DurationCollector::finish(Durations& out, int line) {
    if (!fault_ && durations_.empty())
        fail(line, "no durations");
    if (fault_)
        return fault_;
    out = durations_;
    return std::nullopt;
}

void DurationCollector::clear() {
    durations_.clear();
    fault_.reset();
}

std::optional<std::string> DurationsFault(const Durations& durations) {
    DurationCollector c;
    for (std::int32_t d : durations)
        c.addNext(d, 0);
    Durations ignored;
    if (auto fault = c.finish(ignored, 0))
        return fault->reason;
    return std::nullopt;
}

std::vector<TextLine> SplitLines(std::string_view text) {
    std::vector<TextLine> lines;
    // Editors on some systems start UTF-8 files with a byte order mark.
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    int number = 1;
    while (!text.empty()) {
        const std::size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back({number++, line});
        if (nl == std::string_view::npos)
            break;
        text.remove_prefix(nl + 1);
    }
    return lines;
}

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
    };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> Words(std::string_view text, bool commas) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    const auto separator = [commas](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v' || (commas && c == ',');
    };
    while (i < text.size()) {
        while (i < text.size() && separator(text[i]))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && !separator(text[i]))
            ++i;
        if (i > start)
            words.push_back(text.substr(start, i - start));
    }
    return words;
}

std::optional<std::int64_t> WholeNumber(std::string_view text) {
    if (text.empty() || text.size() > 18)
        return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string Quoted(std::string_view text) {
    std::string out = "'";
    const std::size_t shown = std::min<std::size_t>(text.size(), 24);
    for (std::size_t i = 0; i < shown; ++i)
        out += static_cast<unsigned char>(text[i]) < 0x20 ? '?' : text[i];
    if (shown < text.size())
        out += "...";
    return out + "'";
}

bool SplitKeyValue(std::string_view line, std::string_view& key, std::string_view& value) {
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos)
        return false;
    key = Trim(line.substr(0, colon));
    value = Trim(line.substr(colon + 1));
    return true;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace quvan::exchange
