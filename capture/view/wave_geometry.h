#pragma once
// Where a capture lands on the wave image, and the time between the two
// measuring marks. Plain arithmetic, shared by the view and its tests.

#include "capture/wave_lane.h"

#include <array>
#include <cstdint>
#include <string>

namespace quvan {

inline constexpr int kWaveImageWidth = 20000;
inline constexpr int kLaneHeight = 50;
inline constexpr int kWaveOriginX = 10; // time 0 of a capture
inline constexpr std::array<int, 20> kZoomSteps{25,  50,   100,  150,  200,  250, 300,
                                                350, 400,  450,  500,  600,  700, 800,
                                                900, 1000, 1200, 1500, 2000, 3000};
inline constexpr int kInitialZoom = 200; // µs per pixel

inline int LaneLowY(int lane) {
    return lane * kLaneHeight + 40;
}
inline int LaneHighY(int lane) {
    return lane * kLaneHeight + 20;
}

// The x positions of one pair drawn from accumulated time t (µs) at `zoom`
// µs per pixel: its falling edge and the next rising edge, each at most the
// image width.
struct PairEdges {
    int fallX;
    int nextRiseX;
};
PairEdges EdgesOfPair(std::int64_t t, const PulsePair& pair, int zoom);

// The zoom after "＜" (step -1) or "＞" (step +1). A zoom that is not one of
// the steps counts as position 20, so either button gives 3000.
int NextZoom(int zoom, int step);

// The span between the marks: from the end of the pulse holding the start
// mark to the edge at or before the pointer (release at x), in µs, and the
// pair row (1-based) where the pointer lies.
struct Span {
    int micros = 0;
    int row = 1;
    std::int64_t startMicros = 0; // where the measurement starts: the end of that pulse
    std::int64_t endMicros = 0;   // the edge it ends at
};
Span MeasureSpan(const WaveLane& lane, int startMark, int pointerX, int zoom);

// The x of a time at `zoom` (µs per pixel), as the lanes are drawn; not
// limited to the image.
inline std::int64_t XOfTime(std::int64_t micros, int zoom) {
    return micros / zoom + kWaveOriginX;
}

// Where a measuring mark placed at x at oldZoom belongs at newZoom: at the
// same time. A mark at x = 0 (the start of the image) stays there; any other
// stays inside the image and off x = 0.
int MarkAfterZoom(int x, int oldZoom, int newZoom);

// "tw:1.050mS" for 1050 µs.
std::string SpanText(int micros);

} // namespace quvan
