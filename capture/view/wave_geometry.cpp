#include "capture/view/wave_geometry.h"

#include <algorithm>
#include <cstdio>

namespace quvan {

PairEdges EdgesOfPair(std::int64_t t, const PulsePair& pair, int zoom) {
    auto toX = [zoom](std::int64_t micros) {
        return static_cast<int>(std::min<std::int64_t>(XOfTime(micros, zoom), kWaveImageWidth));
    };
    return {toX(t + pair.High), toX(t + pair.Width)};
}

int NextZoom(int zoom, int step) {
    const auto found = std::find(kZoomSteps.begin(), kZoomSteps.end(), zoom);
    int position = found == kZoomSteps.end() ? static_cast<int>(kZoomSteps.size())
                                             : static_cast<int>(found - kZoomSteps.begin());
    if (step < 0) {
        position = position > 0 ? position - 1 : position;
    } else {
        position = std::min(position + 1, static_cast<int>(kZoomSteps.size()) - 1);
    }
    return kZoomSteps[static_cast<std::size_t>(
        std::min(position, static_cast<int>(kZoomSteps.size()) - 1))];
}

Span MeasureSpan(const WaveLane& lane, int startMark, int pointerX, int zoom) {
    // The pairs of the capture, as the wave data grid lists them: a width of
    // 0 (an empty row) ends the list.
    const int count = std::min(lane.LastIndex + 1, kMaxPairIndex + 1);
    auto widthAt = [&](int i) {
        return i < count ? lane.Pairs[static_cast<std::size_t>(i)].Width : 0;
    };

    std::int64_t start = 0;
    if (startMark > kWaveOriginX) {
        const std::int64_t markTime = static_cast<std::int64_t>(startMark - kWaveOriginX) * zoom;
        for (int i = 0; widthAt(i) != 0; ++i) {
            start += widthAt(i);
            if (markTime < start) {
                break;
            }
        }
    }

    Span span;
    std::int64_t end = 0;
    const std::int64_t pointer = static_cast<std::int64_t>(pointerX - kWaveOriginX) * zoom;
    int i = 0;
    for (; widthAt(i) != 0; ++i) {
        const std::int32_t width = widthAt(i);
        if (pointer >= end + width) {
            end += width;
            continue;
        }
        const std::int32_t high = lane.Pairs[static_cast<std::size_t>(i)].High;
        if (pointer >= end + high) {
            end += high;
        }
        break;
    }
    // Past a capture that fills every row, the last row is the one to show.
    span.row = std::min(i + 1, kMaxPairIndex + 1);
    span.micros = static_cast<int>(std::max<std::int64_t>(0, end - start));
    span.startMicros = start;
    span.endMicros = end;
    return span;
}

int MarkAfterZoom(int x, int oldZoom, int newZoom) {
    if (x <= 0 || oldZoom <= 0 || newZoom <= 0)
        return x;
    const std::int64_t micros = static_cast<std::int64_t>(x - kWaveOriginX) * oldZoom;
    const std::int64_t moved = micros / newZoom + kWaveOriginX;
    return static_cast<int>(std::clamp<std::int64_t>(moved, 1, kWaveImageWidth - 1));
}

std::string SpanText(int micros) {
    char text[40];
    std::snprintf(text, sizeof text, "tw:%d.%03dmS", micros / 1000, micros % 1000);
    return text;
}

} // namespace quvan
