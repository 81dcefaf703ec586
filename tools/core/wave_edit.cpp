#include "tools/core/wave_edit.h"

#include "platform/user_text.h"
#include "table/hex_digit.h"
#include "table/learning_table.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <limits>

namespace quvan::tools {

namespace {

std::string Format(const char* format, std::int32_t value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, format, value);
    return buf;
}

// A hex digit's value; nothing for any other character.
std::optional<int> HexDigit(char c) {
    const int value = HexDigitValue(c);
    return value < 0 ? std::nullopt : std::optional<int>(value);
}

// A box's number: blanks around it do not count; a text that is not a whole
// decimal number gives the default. A number too large for 64 bits still
// counts as a number (too large for every field), so it is refused rather
// than silently read as the default.
std::int64_t NumberOr(std::string_view text, std::int64_t fallback) {
    const std::string trimmed = TrimControl(text);
    std::string_view digits = trimmed;
    bool negative = false;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    if (digits.empty() ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return fallback;
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error == std::errc::result_out_of_range)
        value = std::numeric_limits<std::int64_t>::max();
    (void)end;
    return negative ? -value : value;
}

std::string RangeRefusal(const std::string& field, std::int64_t max) {
    return user_text::Fill(user_text::Tr("WaveEdit", "%1 は 0 ～ %2 の数で入力して下さい。"),
                           {field, std::to_string(max)});
}

} // namespace

WaveEditTexts WaveEditTextsOf(const LearningTable& table, int row) {
    WaveEditTexts texts;
    const LearnedSignal& signal = table.record(row);
    texts.Carry = Format("%3d", signal.Carry);
    texts.DataBits = Format("%3d", signal.DataBits);
    texts.RepeatBit = Format("%4d", signal.RepeatBit);
    const int codes = std::clamp(signal.DataBits, 0, kMaxPatternCodes);
    texts.Pcode.reserve(static_cast<std::size_t>(codes));
    for (int i = 0; i < codes; ++i)
        texts.Pcode += "0123456789ABCDEF"[signal.PatternCode[static_cast<std::size_t>(i)] & 0x0F];
    for (int k = 0; k < kPatternSlots && signal.PatternHigh[static_cast<std::size_t>(k)] != 0;
         ++k) {
        texts.High[static_cast<std::size_t>(k)] =
            Format("%5d", signal.PatternHigh[static_cast<std::size_t>(k)]);
        texts.Width[static_cast<std::size_t>(k)] =
            Format("%6d", signal.PatternWidth[static_cast<std::size_t>(k)]);
    }
    texts.ByteCode = ByteCodeOf(table.cell(row, ColResult));
    return texts;
}

std::string PatternRuler(int length) {
    std::string ruler;
    for (int i = 0; i < length; ++i) {
        if (i % 10 == 0)
            ruler += static_cast<char>('0' + (i / 10) % 10);
        else if (i % 5 == 0)
            ruler += '+';
        else
            ruler += '-';
    }
    return ruler;
}

std::string ByteCodeOf(std::string_view result) {
    const std::size_t at = result.find("d:");
    return at == std::string_view::npos ? std::string() : std::string(result.substr(at + 2));
}

std::string ByteCodeToPatternCode(std::string_view bytes, const LearnedSignal& selected) {
    const bool twoIsLonger = selected.PatternWidth[1] < selected.PatternWidth[2];
    const char one = twoIsLonger ? '2' : '1';
    const char zero = twoIsLonger ? '1' : '2';
    std::string code = "0";
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t take = std::min<std::size_t>(2, bytes.size() - pos);
        int value = 0;
        bool ok = true;
        for (std::size_t k = 0; k < take && ok; ++k) {
            const std::optional<int> digit = HexDigit(bytes[pos + k]);
            ok = digit.has_value();
            value = value * 16 + digit.value_or(0);
        }
        if (!ok) {
            pos += 1;
            continue;
        }
        for (int bit = 0; bit < 8; ++bit)
            code += (value >> bit) & 1 ? one : zero;
        pos += 2;
    }
    code += '3';
    return code;
}

WaveEditReading ReadWaveEdit(const WaveEditTexts& texts) {
    WaveEditReading reading;
    EditedSignal signal;
    auto inRange = [&](const std::string& field, std::int64_t value, std::int64_t max) {
        if (value >= 0 && value <= max)
            return true;
        reading.refusal = RangeRefusal(field, max);
        return false;
    };
    const std::int64_t carry = NumberOr(texts.Carry, kDefaultEditCarry);
    const std::int64_t dataBits = NumberOr(texts.DataBits, 0);
    const std::int64_t repeatBit = NumberOr(texts.RepeatBit, 0);
    if (!inRange("Carry", carry, kMaxEditCarry) ||
        !inRange("DataBits", dataBits, kMaxPatternCodes) ||
        !inRange("RepeatBit", repeatBit, dataBits))
        return reading;
    signal.Carry = static_cast<std::int32_t>(carry);
    signal.DataBits = static_cast<std::int32_t>(dataBits);
    signal.RepeatBit = static_cast<std::int32_t>(repeatBit);
    for (int k = 0; k < kPatternSlots; ++k) {
        const auto slot = static_cast<std::size_t>(k);
        const std::string row = Format("Pcode:%01X", k);
        const std::int64_t high = NumberOr(texts.High[slot], 0);
        const std::int64_t width = NumberOr(texts.Width[slot], 0);
        if (!inRange(row + " High", high, kMaxEditHigh) ||
            !inRange(row + " Width", width, kMaxEditWidth))
            return reading;
        signal.High[slot] = static_cast<std::int32_t>(high);
        signal.Width[slot] = static_cast<std::int32_t>(width);
    }
    if (texts.Pcode.size() > static_cast<std::size_t>(kMaxPatternCodes)) {
        reading.refusal = user_text::Fill(
            user_text::Tr("WaveEdit", "Pattern Code は %1 桁までです（%2 桁あります）。"),
            {std::to_string(kMaxPatternCodes), std::to_string(texts.Pcode.size())});
        return reading;
    }
    signal.Codes.reserve(texts.Pcode.size());
    for (std::size_t i = 0; i < texts.Pcode.size(); ++i) {
        const std::optional<int> digit = HexDigit(texts.Pcode[i]);
        if (!digit) {
            // Only ASCII is shown as the character itself; anything else
            // would be a piece of a multi-byte character.
            const unsigned char c = static_cast<unsigned char>(texts.Pcode[i]);
            const std::string position = std::to_string(i + 1);
            reading.refusal =
                c >= 0x21 && c < 0x7F
                    ? user_text::Fill(user_text::Tr("WaveEdit", "Pattern Code の %1 文字目「%2」は"
                                                                "16進数の数字ではありません。"),
                                      {position, std::string(1, static_cast<char>(c))})
                    : user_text::Fill(
                          user_text::Tr("WaveEdit",
                                        "Pattern Code の %1 文字目は16進数の数字ではありません。"),
                          {position});
            return reading;
        }
        signal.Codes.push_back(static_cast<std::uint8_t>(*digit));
    }
    reading.signal = std::move(signal);
    return reading;
}

std::string OutputSelection(const std::array<bool, 4>& outputs) {
    std::string text = "Tp:";
    for (bool on : outputs)
        text += on ? '1' : '0';
    return text;
}

std::vector<std::string> IrOutCommands(const EditedSignal& signal, std::string_view pcode,
                                       const std::array<bool, 4>& outputs) {
    std::vector<std::string> commands;
    commands.push_back(OutputSelection(outputs));
    commands.push_back(Format("Twf:%03d", 0));
    commands.push_back(Format("Twc:%03d", signal.Carry));
    commands.push_back(Format("Twb:%03d", signal.DataBits));
    commands.push_back(Format("Twr:%03d", signal.RepeatBit));
    for (int k = 0; k < kPatternSlots; ++k) {
        const auto slot = static_cast<std::size_t>(k);
        char buf[48];
        std::snprintf(buf, sizeof buf, "Twp:%01X:%05d,%06d", k, signal.High[slot],
                      signal.Width[slot]);
        commands.emplace_back(buf);
        if (signal.High[slot] == 0 || signal.Width[slot] == 0)
            break;
    }
    commands.push_back("Twd:" + std::string(pcode));
    commands.push_back("Tf:3");
    return commands;
}

int WaveEditTargetRow(const LearningTable& table, int source) {
    for (int row = std::max(source, 1); row < table.rowCount(); ++row) {
        if (table.isBlank(row))
            return row;
    }
    return source;
}

StoreOutcome StoreEditedSignal(LearningTable& table, int source, int target,
                               const EditedSignal& signal, std::string_view byteCode) {
    StoreOutcome outcome;
    if (!table.validRow(source) || !table.validRow(target))
        return outcome;
    for (int col = ColCarry; col <= ColResult; ++col)
        table.setCell(target, col, table.cell(source, col));
    LearnedSignal& record = table.record(target);
    record.WriteFlag = table.record(source).WriteFlag;
    record.Carry = signal.Carry;
    record.DataBits = signal.DataBits;
    record.RepeatBit = signal.RepeatBit;
    record.PatternHigh = signal.High;
    record.PatternWidth = signal.Width;
    std::copy(signal.Codes.begin(), signal.Codes.end(), record.PatternCode.begin());
    char carry[32];
    std::snprintf(carry, sizeof carry, "%4.1fkHz", signal.Carry / 10.0);
    table.setCell(target, ColCarry, carry);

    const std::string result = table.cell(target, ColResult);
    const std::size_t at = result.find("d:");
    const std::string after = at == std::string::npos ? std::string() : result.substr(at + 2);
    if (after != byteCode) {
        if (at != std::string::npos)
            table.setCell(target, ColResult, result.substr(0, at + 2) + std::string(byteCode));
        else
            outcome.byteCodeNotStored = true;
    }
    table.notifyRowsChanged(target, target);
    return outcome;
}

} // namespace quvan::tools
