#include "table/record_text.h"

#include "table/learning_table.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

namespace quvan {

namespace {

void appendHex(std::string& out, unsigned value) {
    char digits[8];
    auto end = std::to_chars(std::begin(digits), std::end(digits), value, 16).ptr;
    std::transform(digits, end, digits, [](char c) { return c >= 'a' ? c - 'a' + 'A' : c; });
    out.append(digits, end);
}

} // namespace

void AppendZeroPadded(std::string& out, int value, int width) {
    char digits[16];
    // The magnitude as unsigned, so that INT_MIN does not overflow.
    unsigned magnitude =
        value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    auto end = std::to_chars(std::begin(digits), std::end(digits), magnitude).ptr;
    int length = static_cast<int>(end - digits) + (value < 0 ? 1 : 0);
    if (value < 0)
        out += '-';
    if (length < width)
        out.append(static_cast<std::size_t>(width - length), '0');
    out.append(digits, end);
}

std::string PatternCodeText(const LearnedSignal& signal) {
    // A DataBits outside the record is never trusted to index it.
    const int count = std::clamp(signal.DataBits, 0, kMaxPatternCodes);
    const std::uint8_t* codes = signal.PatternCode.data();
    // The board takes the codes two digits at a time, so an odd count is
    // padded by repeating the last digit; readers store it past DataBits.
    const int padded = count + count % 2;

    // Codes are 0..15, one digit each; a table lookup keeps a full table fast.
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text(static_cast<std::size_t>(padded), '0');
    char* out = text.data();
    int i = 0;
    while (i < count && codes[i] < 16) {
        out[i] = kDigits[codes[i]];
        ++i;
    }
    if (i == count) {
        if (padded != count)
            out[count] = out[count - 1];
        return text;
    }
    // Not a valid record; still write what it holds, however many digits.
    text.resize(static_cast<std::size_t>(i));
    for (; i < padded; ++i)
        appendHex(text, codes[i < count ? i : count - 1]);
    return text;
}

void AppendRecordFields(std::string& out, const LearnedSignal& signal) {
    out += "Twc:";
    AppendZeroPadded(out, signal.Carry, 3);
    out += ",Twb:";
    AppendZeroPadded(out, signal.DataBits, 3);
    out += ",Twr:";
    AppendZeroPadded(out, signal.RepeatBit, 3);
    out += ',';
    for (int p = 0; p < kPatternSlots; ++p) {
        out += "Twp:";
        appendHex(out, static_cast<unsigned>(p));
        out += ':';
        AppendZeroPadded(out, signal.PatternHigh[static_cast<std::size_t>(p)], 5);
        out += ' ';
        AppendZeroPadded(out, signal.PatternWidth[static_cast<std::size_t>(p)], 6);
        out += ',';
    }
    out += "Twd:";
    out += PatternCodeText(signal);
}

std::string MonitorDumpLine(int row, const LearnedSignal& signal) {
    std::string line = "[";
    AppendZeroPadded(line, row, 3);
    line += "] ";
    AppendRecordFields(line, signal);
    return line;
}

} // namespace quvan
