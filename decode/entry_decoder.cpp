#include "decode/entry_decoder.h"

#include "capture/text_number.h"
#include "decode/code_assembly.h"
#include "decode/format_names.h"
#include "decode/timing_sets.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace quvan {

namespace {

enum Format : int {
    kSony12 = 0,
    kSony15 = 1,
    kSony20 = 2,
    kKaseikyo = 3,
    kMatu22 = 4,
    kMatu24 = 5,
    kSharp = 9,
    kRoboK1 = 38,
    kSharp12 = 49,
    kDaewoo16 = 50,
    kCv6000 = 51,
    kUnknown = 64,
};

struct Identification {
    int Format = kUnknown;
    int GroupBits = 8;
    int FramePairs = 0;
};

Identification Identify(int a, const LearnedSignal& rec, int c) {
    Identification id;
    id.FramePairs = c;
    auto is = [&](int format, int groupBits = 8) {
        id.Format = format;
        id.GroupBits = groupBits;
    };
    switch (a) {
    case 0:
        id.GroupBits = 7;
        if (c == 13)
            is(kSony12, 7);
        else if (c == 16)
            is(kSony15, 7);
        else if (c == 21)
            is(kSony20, 7);
        break;
    case 1:
        if ((c - 2) % 8 == 0)
            is(kKaseikyo);
        break;
    case 2:
        if (c == 24) {
            is(kMatu22, 5);
            id.FramePairs = 12;
        } else if (c == 26) {
            is(kMatu24, 6);
            id.FramePairs = 13;
        }
        break;
    case 3:
        if (c == 36)
            is(10);
        else if (c == 42)
            is(45);
        else if (c == 44)
            is(rec.DataBits == rec.RepeatBit ? 44 : 28);
        else if (c == 46)
            is(27);
        else if (c == 50)
            is(47);
        else if (c == 52)
            is(46);
        else if (c == 66)
            is(58);
        else if (c == 68)
            is(57);
        else if (c == 82)
            is(54);
        else if (c == 114)
            is(56);
        else if (c == 146)
            is(48);
        else if (c >= 34)
            is(15);
        break;
    case 4:
        if (c == 51)
            is(21);
        break;
    case 5:
        if (c == 18)
            is(7);
        break;
    case 6:
        if (c == 17)
            is(6);
        break;
    case 7:
        if (c == 16)
            is(8);
        break;
    case 8:
        if (c / 2 == 16)
            is(kSharp, 5);
        break;
    case 9:
        if (c / 2 == 13)
            is(31, 3);
        break;
    case 11:
        if (c == 34)
            is(19);
        break;
    case 18:
        if (c == 180)
            is(29);
        break;
    case 23:
        if (c == 22)
            is(kRoboK1);
        break;
    case 24:
        if (c == 34)
            is(43);
        break;
    case 25:
        if (c == 13)
            is(kSharp12, 3);
        break;
    case 26:
        if (c == 18)
            is(kDaewoo16);
        break;
    case 27:
        if (c == 22)
            is(kCv6000);
        break;
    case 28:
        if (c / 2 == 18)
            is(52);
        break;
    case 30:
        if (c == 51)
            is(59);
        break;
    case 31:
        if (c == 68)
            is(60);
        break;
    case kUnknownSet:
        is(kUnknown);
        break;
    default:
        break;
    }
    return id;
}

BitPatterns EntryBitPatterns(const LearnedSignal& rec) {
    const auto& H = rec.PatternHigh;
    const auto& W = rec.PatternWidth;
    BitPatterns b;
    auto qualifies = [&](int i) { return W[i] >= std::int64_t{H[i]} * 12 / 10; };
    for (int i = 0; i < kPatternSlots && W[i] != 0; ++i) {
        if (!qualifies(i))
            continue;
        if (W[i] < W[b.Zero])
            b.Zero = i;
        if (W[i] > W[b.One])
            b.One = i;
    }
    for (int i = 0; i < kPatternSlots && W[i] != 0; ++i) {
        if (qualifies(i) && W[i] > W[b.Zero] && W[i] < W[b.One])
            b.One = i;
    }
    return b;
}

int NextGroupBits(int emittedWith, int a, int F, int k, int& skip, bool& skipNonData) {
    switch (emittedWith) {
    case 2:
        return F == kRoboK1 ? 5 : 2;
    case 3:
        if (F == kSharp12)
            return 8;
        return k < 3 ? 3 : 6;
    case 5:
        if (a == 0)
            return 7;
        if (F == kRoboK1)
            return 5;
        return F == kMatu22 ? 6 : 8;
    case 6:
        return F == kMatu22 ? 5 : 6;
    case 7:
        return F == kSony12 ? 5 : 8;
    default:
        break;
    }
    if (F == kSony12 || F == kSony15 || F == kSony20)
        return 7;
    if (F == kSharp) {
        skip = 18;
        return 5;
    }
    if (F == kRoboK1)
        return 2;
    if (F == kDaewoo16 || F == kCv6000)
        skip = 1;
    if (F == kUnknown)
        skipNonData = true;
    return 8;
}

} // namespace

std::optional<EntryDecoding> DecodeEntryAs(int a, const LearnedSignal& rec, bool proEdition) {
    // A record from the board may claim any length; only the stored codes exist.
    const int c = std::clamp(rec.DataBits, 0, kMaxPatternCodes);
    const Identification id = Identify(a, rec, c);
    if (id.Format == kUnknown && a < kUnknownSet)
        return std::nullopt;
    const BitPatterns bits = EntryBitPatterns(rec);
    const std::int32_t T = a < kTimingSetCount ? MakeTimingWindows(a).ShortHigh.Hi : 0;
    const int F = id.Format;
    const bool sony = F == kSony12 || F == kSony15 || F == kSony20;
    const int framePairs = std::clamp(id.FramePairs, 0, kMaxPatternCodes);
    int groupBits = id.GroupBits;
    int bitPos = 0;
    unsigned value = 0;
    int byteCount = 0;
    std::string pending;
    std::string code;
    for (int k = 0; k < framePairs; ++k) {
        const int m = rec.PatternCode[static_cast<std::size_t>(k)];
        if (m == bits.Zero) {
        } else if (m == bits.One) {
            value |= 1u << bitPos;
        } else if (a == 0 && (m == 3 || m == 4)) {
            if (T < rec.PatternHigh[static_cast<std::size_t>(m)])
                value |= 1u << bitPos;
            groupBits = bitPos + 1;
        } else if (a == 9 && m == 2) {
            if (T < rec.PatternHigh[2])
                value |= 1u << bitPos;
        } else {
            if (bitPos == 0)
                continue;
            if (bitPos < groupBits - 1) {
                if (byteCount % 2 == 0)
                    byteCount += 1;
                bitPos = groupBits - 1;
            }
        }
        bitPos += 1;
        if (bitPos < groupBits)
            continue;
        bitPos = 0;
        pending += HexByte(value);
        byteCount += 1;
        if (F == kSony20) {
            // Written like a learned SONY20 frame (second and third byte, a
            // blank, the first) so that read-back and learning agree.
            if (pending.size() == 6) {
                code += pending.substr(2, 4) + " " + pending.substr(0, 2);
                pending.clear();
            }
        } else if (sony) {
            if (byteCount % 2 == 0) {
                code += pending.substr(2, 2) + pending.substr(0, 2);
                pending.clear();
            }
        } else {
            code += pending;
            pending.clear();
        }
        if (F == kSony20 ? pending.empty() : byteCount % 2 == 0)
            code += " ";
        const int emittedWith = groupBits;
        value = 0;
        int skip = 0;
        bool skipNonData = false;
        groupBits = NextGroupBits(emittedWith, a, F, k, skip, skipNonData);
        k += skip;
        if (skipNonData) {
            while (k + 1 < framePairs &&
                   rec.PatternCode[static_cast<std::size_t>(k + 1)] != bits.Zero &&
                   rec.PatternCode[static_cast<std::size_t>(k + 1)] != bits.One)
                ++k;
        }
    }
    if (F == kSony20)
        code += pending; // a third byte still waiting for its frame
    if (bitPos != 0)
        code += HexByte(value);
    std::size_t b = code.find_first_not_of(' ');
    code = b == std::string::npos ? std::string() : code.substr(b);
    while (!code.empty() && code.back() == ' ')
        code.pop_back();
    int format = F;
    if (a == 3) {
        if (const auto custom = CustomCodeOf(code))
            format = CustomCodeMap(*custom, format, proEdition);
    }
    EntryDecoding out;
    out.Comments = std::string(FormatName(format));
    out.Result = ResultText(format, code);
    return out;
}

EntryDecoding DecodeLoadedEntry(const LearnedSignal& rec, bool pcode, bool proEdition) {
    if (pcode) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "Code(%3dbits): ", rec.DataBits);
        EntryDecoding out;
        out.Result = buf;
        const int count = std::clamp(rec.DataBits, 0, kMaxPatternCodes);
        for (int i = 0; i < count; ++i) {
            std::snprintf(buf, sizeof buf, "%X", rec.PatternCode[static_cast<std::size_t>(i)]);
            out.Result += buf;
        }
        return out;
    }
    std::array<std::int32_t, 4> H{}, W{};
    for (int i = 0; i < 4; ++i) {
        H[static_cast<std::size_t>(i)] = rec.PatternHigh[static_cast<std::size_t>(i)];
        W[static_cast<std::size_t>(i)] = rec.PatternWidth[static_cast<std::size_t>(i)];
    }
    for (int a = 0; a < kTimingSetCount; ++a) {
        if (!FitsTimingSet(a, MakeTimingWindows(a), H.data(), W.data(), proEdition))
            continue;
        if (auto decoded = DecodeEntryAs(a, rec, proEdition))
            return *decoded;
    }
    return *DecodeEntryAs(kUnknownSet, rec, proEdition);
}

} // namespace quvan
