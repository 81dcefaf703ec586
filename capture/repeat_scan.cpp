#include "capture/repeat_scan.h"

#include "capture/wave_lane.h"

#include <algorithm>

namespace quvan {

namespace {

// Compares the candidate frame at i with the L pairs after it.
bool FrameRepeats(const std::int32_t* P, std::int32_t i, std::int32_t L) {
    for (std::int32_t k = 0; k < L; ++k) {
        if (P[i + k] != P[i + L + k])
            return false;
    }
    return true;
}

} // namespace

RepeatScanner& RepeatScanner::operator=(const RepeatScanner& other) {
    if (this != &other)
        Reset();
    return *this;
}

RepeatScanner::~RepeatScanner() = default;

void RepeatScanner::Reset() {
    if (memo_) {
        memo_->seen.clear();
        memo_->slides.clear();
    }
}

RepeatScan RepeatScanner::Scan(const std::int32_t* P, std::int32_t N) {
    if (N <= 0)
        return RepeatScan{0, 1, 0};
    if (!memo_) {
        memo_ = std::make_unique<Memo>();
        memo_->seen.reserve(kLanePairs);
        memo_->slides.reserve(kLanePairs);
    }
    Memo& m = *memo_;
    // The slides hold for the sequence they read. Anything but that sequence
    // with pairs added at its end (a new capture, a line that went back, a
    // lane changed by hand) starts the search afresh.
    const auto seenCount = static_cast<std::int32_t>(m.seen.size());
    if (N < seenCount || !std::equal(m.seen.begin(), m.seen.end(), P)) {
        m.seen.clear();
        m.slides.clear();
    }
    m.seen.insert(m.seen.end(), P + m.seen.size(), P + N);

    for (std::int32_t e = 0; e < N; ++e) {
        if (e == static_cast<std::int32_t>(m.slides.size()))
            m.slides.push_back(Slide{e, 1, 0});
        Slide& s = m.slides[static_cast<std::size_t>(e)];
        // The last pair is never compared: its period holds whatever gap
        // ended the capture.
        while (s.i + 2 * s.L < N) {
            if (FrameRepeats(P, s.i, s.L)) {
                s.i += s.L;
                s.c += 1;
            } else {
                s.L += 1;
                s.c = 0;
            }
        }
        if (s.c > 0)
            return RepeatScan{e, s.L, s.c};
    }
    return RepeatScan{N, 1, 0};
}

} // namespace quvan
