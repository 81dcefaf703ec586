#include "tools/core/wave_print.h"

#include "capture/text_number.h"
#include "capture/view/wave_geometry.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace quvan::tools {

namespace {

using platform::PenStyle;
using platform::PrintColour;
using platform::PrintSurface;

constexpr PrintColour kTraceGreen{0, 128, 0};
constexpr PrintColour kMarkGrey{128, 128, 128};
constexpr int kLeft = 250;     // x of time 0
constexpr int kTop = 250;      // y of the first header
constexpr int kMarkLevel = 80; // dots between the space and the mark level
constexpr int kMarksZoomBelow = 150;

// Pairs past the capture read as empty: the lane's storage may still hold
// an older, longer capture there.
PulsePair PairOf(const WaveLane& lane, std::int64_t index) {
    if (index < 0 || index > lane.LastIndex || index >= kLanePairs)
        return {};
    return lane.Pairs[static_cast<std::size_t>(index)];
}

std::string Hex(const char* format, unsigned value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, format, value);
    return buf;
}

// The pulse under a sampling instant: walks on by at most one pair per
// instant, as the decoders do.
class PairTracker {
  public:
    explicit PairTracker(const WaveLane& lane) : lane_(lane), end_(PairOf(lane, 0).Width) {}
    // True when the instant t lies in the mark of the current pair.
    bool inMark(std::int64_t t) {
        if (t > end_) {
            ++index_;
            end_ += PairOf(lane_, index_).Width;
        }
        const PulsePair pair = PairOf(lane_, index_);
        return t < end_ - pair.Width + pair.High;
    }

  private:
    const WaveLane& lane_;
    std::int64_t index_ = 0;
    std::int64_t end_;
};

// Where the next frame begins: sums whole pairs until the sum reaches the
// time after the last instant. False when the capture has no pairs left.
class FrameTracker {
  public:
    explicit FrameTracker(const WaveLane& lane) : lane_(lane) {}
    bool next(std::int64_t t) {
        do {
            sum_ += PairOf(lane_, next_).Width;
            ++next_;
        } while (sum_ < t && next_ <= lane_.LastIndex);
        return next_ <= lane_.LastIndex;
    }
    std::int64_t sum() const { return sum_; }

  private:
    const WaveLane& lane_;
    std::int64_t next_ = 0;
    std::int64_t sum_ = 0;
};

int ToX(std::int64_t t, int scale) {
    return static_cast<int>(std::clamp<std::int64_t>(kLeft + t / scale, -1000000, 1000000));
}

void DrawTrace(PrintSurface& surface, const WaveLane& lane, int y, int scale, int pageWidth) {
    surface.moveTo(200, y);
    surface.lineTo(kLeft, y);
    int x = kLeft;
    std::int64_t s = 0;
    for (int k = 0; k <= lane.LastIndex && k < kLanePairs; ++k) {
        const PulsePair pair = lane.Pairs[static_cast<std::size_t>(k)];
        surface.lineTo(x, y - kMarkLevel);
        const int fall = ToX(s + pair.High, scale);
        surface.lineTo(fall, y - kMarkLevel);
        surface.lineTo(fall, y);
        s += pair.Width;
        x = ToX(s, scale);
        surface.lineTo(x, y);
        if (x > pageWidth)
            break;
    }
}

// Which byte a 1 read at instant i of an Eiritsu frame goes into.
struct EiritsuBits {
    unsigned x = 0, y = 0, k = 0;
    void set(int instant, bool twoNibble) {
        if (twoNibble) {
            switch (instant) {
            case 6:
                x |= 0x80;
                break;
            case 7:
                y |= 0x80;
                break;
            case 9:
                x |= 0x01;
                break;
            case 10:
                x |= 0x02;
                break;
            case 11:
                x |= 0x04;
                break;
            case 12:
                x |= 0x08;
                break;
            case 17:
                y |= 0x01;
                break;
            case 18:
                y |= 0x02;
                break;
            case 19:
                y |= 0x04;
                break;
            case 20:
                y |= 0x08;
                break;
            default:
                break;
            }
            return;
        }
        switch (instant) {
        case 6:
            k |= 0x01;
            break;
        case 7:
            k |= 0x02;
            break;
        case 10:
            k |= 0x04;
            break;
        case 11:
            k |= 0x08;
            break;
        case 13:
            k |= 0x10;
            break;
        case 14:
            k |= 0x20;
            break;
        case 16:
            k |= 0x40;
            break;
        case 17:
            k |= 0x80;
            break;
        default:
            break;
        }
    }
};

// Eiritsu: 32 instants per frame, 260 µs after the frame's start and 833 µs
// apart; a 1 at instant 1 of any frame makes this and every later frame of
// the print (in every lane) a two-nibble frame.
void DrawEiritsuMarks(PrintSurface& surface, const WavePrintInput& input, int fontHeight, int scale,
                      int pageWidth) {
    constexpr std::int64_t kStart = 260;
    constexpr std::int64_t kCell = 833;
    constexpr int kInstants = 32;
    const bool drawInstants = input.zoom < kMarksZoomBelow;
    bool twoNibble = false;
    for (std::size_t l = 0; l < input.lanes.size(); ++l) {
        const WaveLane* lane = input.lanes[l].lane;
        if (lane == nullptr || lane->LastIndex == 0)
            continue;
        const int yL = (kMarkLevel + fontHeight + 260) * static_cast<int>(l) + kTop;
        PairTracker pairs(*lane);
        FrameTracker frames(*lane);
        std::int64_t t = kStart;
        int x = ToX(t, scale);
        int i = 0;
        EiritsuBits bits;
        while (x < pageWidth) {
            if (drawInstants) {
                surface.moveTo(x, yL + 60);
                surface.lineTo(x, yL + 200);
            }
            const bool one = !pairs.inMark(t);
            if (drawInstants)
                surface.textOut(x - 16, yL + 200, one ? "1" : "0");
            if (one) {
                if (i == 1)
                    twoNibble = true;
                bits.set(i, twoNibble);
            }
            t += kCell;
            x = ToX(t, scale);
            if (++i < kInstants)
                continue;
            if (twoNibble) {
                surface.textOut(x - 16, yL + 140, Hex("x:%02X", bits.x));
                surface.textOut(x - 16, yL + 200, Hex("y:%02X", bits.y));
            } else {
                surface.textOut(x - 16, yL + 200, Hex("k:%02X", bits.k));
            }
            if (!frames.next(t))
                break;
            i = 0;
            bits = {};
            t = frames.sum() + kStart;
            x = ToX(t, scale);
        }
    }
}

// Philips and Serial: Bits instants per frame, Ts after the frame's start and
// Tw apart; a mark reads 1. Only drawn at the zooms that show instants.
void DrawPhilipsMarks(PrintSurface& surface, const WavePrintInput& input, int fontHeight, int scale,
                      int pageWidth) {
    const std::int64_t ts = DecimalOr(input.ts, 450);
    const std::int64_t tw = DecimalOr(input.tw, 878);
    const std::int32_t bt = DecimalOr(input.bt, 32);
    // Without a positive cell length or count the instants would never leave
    // the page; such settings have no marks to show.
    if (input.zoom >= kMarksZoomBelow || tw <= 0 || bt <= 0)
        return;
    for (std::size_t l = 0; l < input.lanes.size(); ++l) {
        const WaveLane* lane = input.lanes[l].lane;
        if (lane == nullptr || lane->LastIndex == 0)
            continue;
        const int yL = (kMarkLevel + fontHeight + 220) * static_cast<int>(l) + kTop;
        PairTracker pairs(*lane);
        FrameTracker frames(*lane);
        std::int64_t t = ts;
        int x = ToX(t, scale);
        int i = 0;
        while (x < pageWidth) {
            surface.moveTo(x, yL + 60);
            surface.lineTo(x, yL + 220);
            surface.textOut(x - 16, yL + 220, pairs.inMark(t) ? "1" : "0");
            t += tw;
            x = ToX(t, scale);
            if (++i < bt)
                continue;
            if (!frames.next(t))
                break;
            i = 0;
            t = frames.sum() + ts;
            x = ToX(t, scale);
        }
    }
}

} // namespace

std::string WavePrintTitle(std::string_view applicationTitle) {
    return std::string(applicationTitle) + "[ Wave Date ]";
}

int WavePenWidth(int zoom) {
    const auto at = std::find(kZoomSteps.begin(), kZoomSteps.end(), zoom);
    const int position = static_cast<int>(at - kZoomSteps.begin()); // 20 when not a step
    const int width = 4 - position;
    return width < 0 ? 1 : width;
}

int WavePrintScale(int zoom) {
    return std::max(1, zoom * 10 / 25);
}

void PrintWaves(PrintSurface& surface, const WavePrintInput& input) {
    const int scale = WavePrintScale(input.zoom);
    const int pageWidth = surface.pageWidth();
    const int fontHeight = surface.fontHeight();
    surface.setTextColour(platform::kPrintBlack);
    surface.setPen(kTraceGreen, PenStyle::Solid, WavePenWidth(input.zoom));

    int y = kTop;
    for (const WavePrintLane& printed : input.lanes) {
        if (printed.lane == nullptr || printed.lane->LastIndex == 0)
            continue;
        surface.textOut(200, y,
                        "No." + std::to_string(printed.row) + ":" + printed.comments + " " +
                            printed.result);
        y += kMarkLevel + fontHeight + 20;
        DrawTrace(surface, *printed.lane, y, scale, pageWidth);
        y += 200;
    }

    if (input.marks == PrintMarks::None)
        return;
    surface.setTextColour(kMarkGrey);
    surface.setPen(platform::kPrintBlack, PenStyle::Dotted, 1);
    if (input.marks == PrintMarks::Eiritsu)
        DrawEiritsuMarks(surface, input, fontHeight, scale, pageWidth);
    else
        DrawPhilipsMarks(surface, input, fontHeight, scale, pageWidth);
}

} // namespace quvan::tools
