#pragma once
// Faults the simulated board can show on demand, so that the tool's
// handling of a misbehaving board can be tried: missing "ACK", slow
// replies, damaged or cut lines, and a line that goes dead.

#include "sim/board_model.h"

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace quvan::sim {

struct Faults {
    bool no_ack = false;
    std::int32_t delay_ms = 0;      // before every reply
    int garble_percent = 0;         // chance of each byte of a line being changed
    bool cut = false;               // lines lose their line end or are truncated
    std::int64_t hangup_after = -1; // close the line after this many lines; -1 never
    // Close the line once the loader has received this many records; -1 never.
    std::int64_t loader_hangup_after = -1;
    // Commands beginning with one of these take effect but get no answer.
    std::vector<std::string> ignored_prefixes{};

    bool ignores(std::string_view command) const {
        for (const std::string& prefix : ignored_prefixes)
            if (command.starts_with(prefix))
                return true;
        return false;
    }
};

// Turns board outputs into the bytes on the wire, with the line end and
// the garble and cut faults applied to text lines (raw bytes such as the
// completion code pass unchanged).
class LineShaper {
  public:
    explicit LineShaper(std::uint32_t seed) : rng_(seed) {}
    std::string shape(const BoardOutput& output, const std::string& line_end, const Faults& faults);

  private:
    std::mt19937 rng_;
};

} // namespace quvan::sim
