#pragma once
// Helpers for driving the board model with command texts.

#include "sim/board_model.h"

#include <string>
#include <vector>

namespace quvan::sim::test {

inline BoardOutput line(std::string text) {
    return {BoardOutput::Kind::Line, std::move(text)};
}
inline BoardOutput raw(std::string bytes) {
    return {BoardOutput::Kind::Raw, std::move(bytes)};
}

// Sends the commands one by one and collects every reply.
inline BoardOutputs send_all(BoardModel& board, const std::vector<std::string>& commands,
                             std::int64_t now = 0) {
    BoardOutputs all;
    for (const auto& c : commands) {
        auto out = board.handle_command(c, now);
        all.insert(all.end(), out.begin(), out.end());
    }
    return all;
}

inline std::vector<std::string> texts(const BoardOutputs& outputs) {
    std::vector<std::string> t;
    for (const auto& o : outputs)
        t.push_back(o.text);
    return t;
}

} // namespace quvan::sim::test
