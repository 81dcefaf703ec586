#include "decode/sampling_decoders.h"

#include "capture/text_number.h"

#include <algorithm>
#include <cstdio>

namespace quvan {

namespace {

// Walks the pulse pairs laid end to end; moves at most one pair per cell.
class Sampler {
  public:
    explicit Sampler(const WaveLane& lane) : lane_(lane), end_(lane.Pairs[0].Width) {}

    // False when the next pair would lie past the capture.
    bool advanceTo(std::int64_t t) {
        if (t > end_) {
            if (index_ + 1 > lane_.LastIndex)
                return false;
            ++index_;
            end_ += lane_.Pairs[static_cast<std::size_t>(index_)].Width;
        }
        return true;
    }
    bool inMark(std::int64_t t) const {
        const PulsePair& p = lane_.Pairs[static_cast<std::size_t>(index_)];
        return t < end_ - p.Width + p.High;
    }

  private:
    const WaveLane& lane_;
    int index_ = 0;
    std::int64_t end_;
};

// The restart of a frame: the next frame's first cell lies Start after the
// start of the pair in which the last frame ended.
class FrameRestart {
  public:
    explicit FrameRestart(const WaveLane& lane) : lane_(lane) {}
    std::int64_t next(std::int64_t t, std::int32_t start) {
        while (t > sum_ && counter_ <= lane_.LastIndex) {
            sum_ += lane_.Pairs[static_cast<std::size_t>(counter_)].Width;
            ++counter_;
        }
        return sum_ + start;
    }
    int counter() const { return counter_; }

  private:
    const WaveLane& lane_;
    int counter_ = 0;
    std::int64_t sum_ = 0;
};

bool Usable(const SamplingParams& p) {
    return p.Cell > 0 && p.CellsPerFrame > 0;
}

std::string TrimTrailingBlank(std::string text) {
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

} // namespace

std::string EiritsuDecoder(const WaveLane& lane) {
    const SamplingParams prm = kEiritsuParams;
    unsigned char m[4]{}, F[4]{}, S[4]{};
    unsigned flags = 0, KF = 0, KS = 0;
    bool ms = false;
    static constexpr int kFlagCells[8] = {6, 7, 10, 11, 13, 14, 16, 17};
    Sampler sampler(lane);
    FrameRestart restart(lane);
    std::int64_t t = prm.Start;
    while (restart.counter() < lane.LastIndex) {
        for (int i = 0; i < prm.CellsPerFrame; ++i) {
            sampler.advanceTo(t); // past the capture the envelope is space
            const bool one = !sampler.inMark(t);
            if (i == 1 && one)
                ms = true;
            if (ms) {
                if (one)
                    m[i / 8] |= static_cast<unsigned char>(1u << (i % 8));
            } else if (one) {
                for (int b = 0; b < 8; ++b) {
                    if (kFlagCells[b] == i)
                        flags |= 1u << b;
                }
            }
            t += prm.Cell;
        }
        if (ms) {
            if (F[0] == 0)
                std::copy(m, m + 4, F);
            else if (m[1] != F[1] || m[2] != F[2])
                std::copy(m, m + 4, S);
        } else {
            if (KF == 0)
                KF = flags;
            else if (flags != KF)
                KS = flags;
        }
        std::fill(m, m + 4, 0);
        flags = 0;
        t = restart.next(t, prm.Start);
    }
    char buf[96];
    if (ms)
        std::snprintf(buf, sizeof buf, "IndexMS  m:%02X%02X %02X%02X b:%02X%02X %02X%02X", F[0],
                      F[1], F[2], F[3], S[0], S[1], S[2], S[3]);
    else if (KS == 0)
        std::snprintf(buf, sizeof buf, "IndexKB  m:%02X b:--", KF);
    else
        std::snprintf(buf, sizeof buf, "IndexKB  m:%02X b:%02X", KF, KS);
    return buf;
}

std::string PhilipsDecoder(const WaveLane& lane, const SamplingParams& prm) {
    std::vector<std::uint32_t> words;
    if (Usable(prm)) {
        Sampler sampler(lane);
        FrameRestart restart(lane);
        std::int64_t t = prm.Start;
        bool ranOut = false;
        while (!ranOut && restart.counter() < lane.LastIndex &&
               words.size() < static_cast<std::size_t>(kMaxPhilipsWords)) {
            std::uint32_t word = 0;
            for (int i = 0; i < prm.CellsPerFrame; ++i) {
                if (!sampler.advanceTo(t)) {
                    ranOut = true;
                    break;
                }
                if (sampler.inMark(t))
                    word |= 1u << (i % 32);
                t += prm.Cell;
            }
            if (ranOut)
                break;
            if (words.empty() || word != words.back())
                words.push_back(word);
            t = restart.next(t, prm.Start);
        }
    }
    // A word holds 32 cells, so at most four bytes of it exist to print.
    const int bytes = std::min(prm.CellsPerFrame / 8, 4);
    std::string text = "Philips d:";
    for (std::uint32_t w : words) {
        for (int b = 0; b < bytes; ++b)
            text += HexByte((w >> (8 * b)) & 0xFFu) + " ";
    }
    return TrimTrailingBlank(text);
}

SerialResult SerialDecoder(const WaveLane& lane, const SamplingParams& prm,
                           std::int32_t symbolBits) {
    const std::int32_t B = prm.CellsPerFrame;
    const std::int32_t Z = symbolBits;
    // A symbol size of 0 has no remainder to take; the first byte then uses
    // the symbol size itself like every other byte.
    int mode = Z == 0 ? Z : B % Z;
    if (mode == 0)
        mode = Z;
    std::vector<unsigned> bytes;
    if (prm.Cell > 0 && B > 0) {
        Sampler sampler(lane);
        std::int64_t t = prm.Start;
        int pos = 0;
        unsigned current = 0;
        bool open = false;
        for (int cell = 0; cell < B; ++cell) {
            if (!sampler.advanceTo(t))
                break;
            if (sampler.inMark(t))
                current |= 1u << pos;
            open = true;
            t += prm.Cell;
            const int last = mode == 3 ? 6 : 7;
            if (pos == last) {
                bytes.push_back(current);
                current = 0;
                open = false;
                pos = 0;
                mode = Z;
                // Longer frames than this are not a serial code the board sends.
                if (bytes.size() == static_cast<std::size_t>(kMaxSerialBytes))
                    break;
                continue;
            }
            pos += 1;
            if (mode == 3 && pos == 3)
                pos = 4;
        }
        if (open && bytes.size() < static_cast<std::size_t>(kMaxSerialBytes))
            bytes.push_back(current);
    }
    SerialResult result;
    char buf[40];
    const bool ushowa = Z == 3 && B == 54;
    std::snprintf(buf, sizeof buf, ushowa ? "U-SHOWA(%dbit) d:" : "Serial(%dbit) d:", Z);
    result.Text = buf;
    for (unsigned b : bytes)
        result.Text += HexByte(b) + " ";
    result.Text = TrimTrailingBlank(result.Text);
    if (ushowa) {
        auto digit = [](unsigned byte, int hiBit, int loBit) {
            return ((byte >> hiBit) & 1u) * 2 + ((byte >> loBit) & 1u);
        };
        std::int64_t id = 0;
        const int count = static_cast<int>(bytes.size()) - 3;
        for (int i = 1; i <= count; ++i) {
            std::int64_t hiWeight = 1, loWeight = 1;
            for (int e = 0; e < 13 - 2 * i; ++e)
                hiWeight *= 3;
            for (int e = 0; e < 12 - 2 * i; ++e)
                loWeight *= 3;
            const unsigned byte = bytes[static_cast<std::size_t>(i)];
            id += hiWeight * digit(byte, 6, 5) + loWeight * digit(byte, 2, 1);
        }
        result.SerialId = static_cast<std::int32_t>(id);
    }
    return result;
}

SamplingParams PhilipsParams(const LearningOptions& o) {
    return {DecimalOr(o.TsText, 450), DecimalOr(o.TwText, 878), DecimalOr(o.BtText, 32)};
}

SamplingParams SerialParams(const LearningOptions& o) {
    return {DecimalOr(o.TsText, 250), DecimalOr(o.TwText, 1480), DecimalOr(o.BtText, 54)};
}

std::int32_t SerialSymbolBits(const LearningOptions& o) {
    return DecimalOr(o.SBitText, 3);
}

std::vector<OverlayCell> SamplingOverlayCells(const WaveLane& lane, SamplingKind kind,
                                              const SamplingParams& prm, int zoom, int imageWidth) {
    std::vector<OverlayCell> cells;
    if (lane.LastIndex == 0 || zoom >= 150 || zoom <= 0 || !Usable(prm))
        return cells;
    const char markValue = kind == SamplingKind::Eiritsu ? '0' : '1';
    const char spaceValue = kind == SamplingKind::Eiritsu ? '1' : '0';
    Sampler sampler(lane);
    FrameRestart restart(lane);
    std::int64_t t = prm.Start;
    while (restart.counter() <= lane.LastIndex) {
        for (int i = 0; i < prm.CellsPerFrame; ++i) {
            const std::int64_t x = t / zoom + 10;
            if (x >= imageWidth)
                return cells;
            sampler.advanceTo(t);
            cells.push_back({static_cast<int>(x), sampler.inMark(t) ? markValue : spaceValue});
            t += prm.Cell;
        }
        t = restart.next(t, prm.Start);
    }
    return cells;
}

} // namespace quvan
