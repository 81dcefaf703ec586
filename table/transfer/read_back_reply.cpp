#include "table/transfer/read_back_reply.h"

#include "table/hex_digit.h"
#include "table/learning_table.h"

#include <charconv>
#include <utility>

namespace quvan::transfer {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A run of decimal digits that fits an int; anything else is unreadable.
std::optional<int> Digits(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.front() == '-') {
        return std::nullopt;
    }
    return value;
}

std::size_t LeadingDigits(std::string_view text) {
    std::size_t n = 0;
    while (n < text.size() && IsDigit(text[n])) {
        ++n;
    }
    return n;
}

// "Twp:" value: index digit, one separator, the high time, one separator,
// the width.
void ParsePattern(std::string_view value, ReadBackReply& reply) {
    if (value.empty()) {
        return;
    }
    reply.patternIndex = HexDigitValue(value.front());
    if (value.size() < 2) {
        return;
    }
    value.remove_prefix(2);
    const std::size_t highDigits = LeadingDigits(value);
    if (highDigits == 0 || highDigits >= value.size()) {
        return;
    }
    const std::optional<int> high = Digits(value.substr(0, highDigits));
    const std::optional<int> width = Digits(value.substr(highDigits + 1));
    if (high && width) {
        reply.high = high;
        reply.width = width;
    }
}

} // namespace

ReadBackReply ParseReadBackReply(std::string_view line) {
    ReadBackReply reply;
    if (line == "ZEM:on") {
        reply.kind = ReplyKind::ZemOn;
        return reply;
    }
    if (line == "ZEM:off") {
        reply.kind = ReplyKind::ZemOff;
        return reply;
    }
    struct Tag {
        std::string_view text;
        ReplyKind kind;
    };
    static constexpr Tag kTags[] = {
        {"Twl:", ReplyKind::Entry},     {"Twc:", ReplyKind::Carry},   {"Twb:", ReplyKind::DataBits},
        {"Twr:", ReplyKind::RepeatBit}, {"Twp:", ReplyKind::Pattern}, {"Twd:", ReplyKind::Codes},
    };
    for (const Tag& tag : kTags) {
        const std::size_t at = line.find(tag.text);
        if (at == std::string_view::npos) {
            continue;
        }
        reply.kind = tag.kind;
        const std::string_view value = line.substr(at + tag.text.size());
        switch (tag.kind) {
        case ReplyKind::Entry: {
            // "Twl:001" or "Twl:001 Error": the number ends at the first
            // character that is not a digit.
            const std::optional<int> n = Digits(value.substr(0, LeadingDigits(value)));
            reply.number = n.value_or(0);
            reply.empty = line.find("Error") != std::string_view::npos;
            break;
        }
        case ReplyKind::Carry:
        case ReplyKind::DataBits:
        case ReplyKind::RepeatBit: {
            std::string digits = TrimControl(value);
            reply.number = Digits(digits);
            if (reply.number) {
                reply.digits = std::move(digits);
            }
            break;
        }
        case ReplyKind::Pattern:
            ParsePattern(TrimControl(value), reply);
            break;
        case ReplyKind::Codes:
            reply.codes = TrimControl(value);
            break;
        default:
            break;
        }
        return reply;
    }
    return reply;
}

std::string CarryCellText(std::string_view digits) {
    if (digits.empty()) {
        return {};
    }
    std::string text(digits.substr(0, digits.size() - 1));
    text += '.';
    text += digits.back();
    return text + "kHz";
}

std::string FramesCellText(int dataBits) {
    return dataBits >= 60 ? "1" : "3";
}

} // namespace quvan::transfer
