#include "decode/code_assembly.h"

#include "capture/text_number.h"
#include "decode/format_names.h"
#include "decode/timing_sets.h"

#include <algorithm>
#include <cstdio>

namespace quvan {

namespace {

constexpr int kSony20 = 2;

std::string Trimmed(const std::string& text) {
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= 0x20)
        ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= 0x20)
        --e;
    return text.substr(b, e - b);
}

std::string Mid(const std::string& text, std::size_t from1, std::size_t count) {
    return std::string(SafeMid(text, from1 - 1, count));
}

int NextGroupBits(int groupBits, int set, int F, int j, int groupCount, int& skip,
                  bool& skipNonData) {
    switch (groupBits) {
    case 2:
        if (F == 38)
            return 5;
        return F == 53 || F == 55 ? 8 : 2;
    case 3:
        if (F == 49)
            return 8;
        return j < 3 ? 3 : 6;
    case 5:
        if (set == 0)
            return 7;
        if (F == 38)
            return 5;
        return F == 4 ? 6 : 8;
    case 6:
        return F == 4 ? 5 : 6;
    case 7:
        return F == 0 ? 5 : 8;
    default:
        break;
    }
    if (F == 0 || F == 1 || F == 2)
        return 7;
    if (F == 9 || F == 37) {
        skip = 18;
        return 5;
    }
    if (F == 38)
        return 2;
    if (F == 50 || F == 51 || F == 53)
        skip = 1;
    if (F == 55 && groupCount == 0)
        return 2;
    if (F == 64)
        skipNonData = true;
    return 8;
}

} // namespace

BitPatterns ChooseBitPatterns(int set, const WaveLane& lane) {
    const auto& H = lane.CenterHigh;
    const auto& W = lane.CenterWidth;
    if (set == 4)
        return H[1] < H[2] ? BitPatterns{1, 2} : BitPatterns{2, 1};
    BitPatterns b;
    const int n = std::clamp(lane.PatternCount, 0, kPatternWindows);
    auto eligible = [&](int k) { return std::int64_t{H[k]} * 12 / 10 <= W[k]; };
    for (int k = 0; k < n && W[k] != 0; ++k) {
        if (!eligible(k))
            continue;
        if (W[k] < W[b.Zero])
            b.Zero = k;
        if (W[b.One] < W[k])
            b.One = k;
    }
    for (int k = 0; k < n && W[k] != 0; ++k) {
        if (eligible(k) && W[b.Zero] < W[k] && W[k] < W[b.One])
            b.One = k;
    }
    return b;
}

namespace {

int ReadEnd(int set, const Recognition& rec, const WaveLane& lane, bool fullCode) {
    const int end = fullCode ? (set == 0 ? lane.LastIndex + 1 : lane.LastIndex) : rec.FramePairs;
    return std::clamp(end, 0, kLanePairs - 1);
}

// What a pulse that carries no bit is, told by its mark: as long as two data
// marks or more, a header (the first pulse's pattern leads the frame, any
// other starts a repeat code); shorter, a stop pulse whose period holds a gap.
PulseRole HeaderOrStop(int p, const WaveLane& lane, const BitPatterns& bits) {
    if (p < 0 || p >= kPatternWindows || p == bits.Zero || p == bits.One)
        return PulseRole::None;
    const auto& H = lane.CenterHigh;
    std::int32_t dataMark = std::min(H[bits.Zero], H[bits.One]);
    if (dataMark <= 0)
        dataMark = std::max(H[bits.Zero], H[bits.One]);
    if (dataMark > 0 && H[p] >= 2 * dataMark)
        return p == lane.PatternOf[0] ? PulseRole::Leader : PulseRole::Repeat;
    return PulseRole::Trailer;
}

// The bit loop. Reads pairs 0 .. end - 1 into out; with meanings given, also
// notes what each pair was read as and where each group of bits lies.
void ReadBits(int set, const Recognition& rec, const WaveLane& lane, bool fullCode, int end,
              AssembledCode& out, PulseMeanings* meanings) {
    const BitPatterns bits = ChooseBitPatterns(set, lane);
    const int F = rec.FormatIndex;
    const auto& H = lane.CenterHigh;
    const auto& P = lane.PatternOf;
    const std::int32_t shortHighLimit =
        set < kTimingSetCount ? MakeTimingWindows(set).ShortHigh.Hi : 0;
    int groupStart = 0;
    int lastRead = 0;

    int groupBits = rec.GroupBits;
    int bitPos = 0;
    unsigned acc = 0;
    int groupCount = 0;
    int frameCount = 0;
    std::string line;
    std::string previous;
    std::string output;
    // Frames of the other formats hold (FramePairs + 5) / 8 groups; a capture
    // too short for one group per frame stays one partial frame.
    const int groupsPerFrame = (rec.FramePairs + 5) / 8;

    auto ruleA = [&]() {
        if (fullCode) {
            char buf[16];
            std::snprintf(buf, sizeof buf, "fno:%02d ", frameCount);
            out.LogLines.push_back(buf + line);
            output += line + " ";
        } else if (line != previous) {
            previous = line;
            output += line + " ";
        }
    };
    auto ruleB = [&]() {
        if (fullCode) {
            ruleA();
        } else if (frameCount == 1) {
            output = line;
        } else if (frameCount == 2 && line != output) {
            output += " " + line;
        }
    };

    for (int j = 0; j < end; ++j) {
        const int p = P[static_cast<std::size_t>(j)];
        bool one = false;
        bool logic = true;
        if (p == bits.Zero) {
        } else if (p == bits.One) {
            one = true;
        } else if (set == 0 && (p == 3 || p == 4)) {
            one = H[p] > shortHighLimit;
            groupBits = bitPos + 1;
        } else if (set == 9 && p == 2) {
            one = H[2] > shortHighLimit;
        } else {
            if (bitPos == 0)
                continue;
            if (groupBits - 1 > bitPos) {
                if (groupCount % 2 == 0)
                    groupCount += 1;
                bitPos = groupBits - 1;
            }
            logic = false;
        }
        if (one)
            acc |= 1u << bitPos;
        if (meanings != nullptr) {
            if (bitPos == 0)
                groupStart = j;
            lastRead = j;
            meanings->Roles[static_cast<std::size_t>(j)] = !logic ? HeaderOrStop(p, lane, bits)
                                                           : one  ? PulseRole::One
                                                                  : PulseRole::Zero;
        }
        bitPos += 1;
        if (bitPos < groupBits)
            continue;

        if (meanings != nullptr)
            meanings->Bytes.push_back({groupStart, j, static_cast<std::uint8_t>(acc),
                                       static_cast<std::uint8_t>(groupBits)});
        line += HexByte(acc);
        acc = 0;
        bitPos = 0;
        groupCount += 1;
        bool frameDone = false;
        if (set == 0) {
            if (F == kSony20) {
                frameDone = groupCount % 3 == 0;
                if (frameDone)
                    line = Mid(line, 3, 4) + " " + Mid(line, 1, 2);
            } else {
                frameDone = groupCount % 2 == 0;
                if (frameDone)
                    line = Mid(line, 3, 2) + Mid(line, 1, 2);
            }
        } else {
            if (groupCount % 2 == 0)
                line += " ";
            const int per = set == 3 ? 4 : groupsPerFrame;
            frameDone = per > 0 && groupCount % per == 0;
            if (frameDone)
                line = Trimmed(line);
        }
        if (frameDone) {
            frameCount += 1;
            if (set == 3)
                ruleB();
            else
                ruleA();
            line.clear();
            groupCount = 0;
        }
        int skip = 0;
        bool skipNonData = false;
        groupBits = NextGroupBits(groupBits, set, F, j, groupCount, skip, skipNonData);
        j += skip;
        if (skipNonData) {
            while (j + 1 < end && P[static_cast<std::size_t>(j + 1)] != bits.Zero &&
                   P[static_cast<std::size_t>(j + 1)] != bits.One)
                ++j;
        }
    }
    if (bitPos != 0) {
        line += HexByte(acc);
        if (meanings != nullptr)
            meanings->Bytes.push_back({groupStart, lastRead, static_cast<std::uint8_t>(acc),
                                       static_cast<std::uint8_t>(bitPos)});
    }
    if (!line.empty())
        output = Trimmed(output) + " " + line;
    out.Code = Trimmed(output);
}

} // namespace

AssembledCode AssembleCode(int set, const Recognition& rec, const WaveLane& lane, bool fullCode) {
    AssembledCode out;
    ReadBits(set, rec, lane, fullCode, ReadEnd(set, rec, lane, fullCode), out, nullptr);
    return out;
}

PulseMeanings MeaningsOfPulses(int set, const Recognition& rec, const WaveLane& lane,
                               bool fullCode) {
    PulseMeanings meanings;
    // Every frame is read as "FullCode" reads it; up to the end of the
    // result's own reading the bits are the same, as the loop never looks
    // ahead. A frame rule may have the result read past the capture's end.
    meanings.ResultPairs = ReadEnd(set, rec, lane, fullCode);
    const int end = std::max(ReadEnd(set, rec, lane, true), meanings.ResultPairs);
    const int pairs = std::max(std::clamp(lane.LastIndex + 1, 0, kLanePairs - 1), end);
    meanings.Roles.assign(static_cast<std::size_t>(pairs), PulseRole::None);
    AssembledCode scratch;
    ReadBits(set, rec, lane, true, end, scratch, &meanings);
    const BitPatterns bits = ChooseBitPatterns(set, lane);
    for (int j = 0; j < pairs; ++j) {
        PulseRole& role = meanings.Roles[static_cast<std::size_t>(j)];
        if (role == PulseRole::None)
            role = HeaderOrStop(lane.PatternOf[static_cast<std::size_t>(j)], lane, bits);
    }
    return meanings;
}

std::string PatternCodeResult(const WaveLane& lane, std::int32_t dataBits) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "Code(%3dbits): ", dataBits);
    std::string text = buf;
    const int count = std::clamp(dataBits, 0, kLanePairs);
    for (int i = 0; i < count; ++i) {
        std::snprintf(buf, sizeof buf, "%X", static_cast<unsigned>(lane.PatternOf[i]));
        text += buf;
    }
    return text;
}

std::string ResultText(int formatIndex, const std::string& code) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "Tm:%-10s d:", std::string(FormatName(formatIndex)).c_str());
    return buf + code;
}

} // namespace quvan
