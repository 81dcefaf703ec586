#pragma once
// The search for the frame that repeats in a sequence of pattern numbers,
// carried on from one wave line to the next.
//
// The search tries each start e in turn and slides a candidate frame of
// growing length L along the capture from there, counting in c the
// successive repetitions found; it stops at the first start whose slide ends
// with a repetition. A slide only ever moves forward, and how far it may go
// depends on nothing but the capture's length, so one more pair lets every
// slide continue where it stopped instead of starting over. The scanner
// keeps each slide between calls. A capture that repeats nothing then costs
// a step or two per start and line instead of a whole new search per line,
// which grows with the cube of the capture's length (seconds of a frozen
// window for a few thousand pairs).
//
// What it returns is exactly what a search from scratch returns, for any
// sequence: the sequence it worked on is kept, and a call on anything that
// is not that sequence with pairs added at the end starts afresh.

#include <cstdint>
#include <memory>
#include <vector>

namespace quvan {

struct RepeatScan {
    std::int32_t e = 0; // start of the repeating section
    std::int32_t L = 1; // its length in pairs
    std::int32_t c = 0; // successive repetitions found
};

class RepeatScanner {
  public:
    RepeatScanner() = default;
    // What was worked out belongs to one sequence; a copy starts afresh.
    RepeatScanner(const RepeatScanner&) {}
    RepeatScanner& operator=(const RepeatScanner& other);
    RepeatScanner(RepeatScanner&&) noexcept = default;
    RepeatScanner& operator=(RepeatScanner&&) noexcept = default;
    ~RepeatScanner();

    // The search over patterns[0] .. patterns[count - 1]. Without a start
    // that repeats: e = count, L = 1, c = 0.
    RepeatScan Scan(const std::int32_t* patterns, std::int32_t count);

    // Forgets what was worked out (the next Scan searches from scratch).
    void Reset();

  private:
    // One start's slide: the candidate frame now begins at i.
    struct Slide {
        std::int32_t i = 0;
        std::int32_t L = 1;
        std::int32_t c = 0;
    };
    struct Memo {
        std::vector<std::int32_t> seen; // the sequence the slides have read
        std::vector<Slide> slides;      // slides[e] for every start tried so far
    };
    // Made on first use, so a capture state that never searches stays small
    // and cheap to clear.
    std::unique_ptr<Memo> memo_;
};

} // namespace quvan
