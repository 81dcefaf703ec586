#pragma once
// The wave text export: for each lane a block with the Carry and Comments of
// a table row and the lane's pulse pairs as numbers (mark, space, period in
// µs). Lines end in CR LF; the two cell texts are in Shift-JIS (CP932), as
// in the table file, everything else is ASCII.

#include "capture/wave_lane.h"

#include <string>
#include <vector>

namespace quvan {
class LearningTable;
}

namespace quvan::tools {

struct WaveTextBlock {
    std::string carry;    // UTF-8, as the table holds it
    std::string comments; // UTF-8
    const WaveLane* lane = nullptr;
};

// One block: "Carry,Comments," then the column line, one line per pair 0 ..
// LastIndex ("[%03d],%6d,%6d,%6d") and an empty line.
std::string WaveTextBlockBytes(const WaveTextBlock& block);

// The blocks of the window's export: lane L (0 .. lanes-1, empty lanes too)
// takes the cells of table row selectedRow - 2 + L, counted from row 1 when
// selectedRow - 2 is below 1. A row past the table gives empty cells.
std::vector<WaveTextBlock> WindowWaveTextBlocks(const LearningTable& table, int selectedRow,
                                                const WaveLane* lanes, int laneCount);

std::string WaveTextBytes(const std::vector<WaveTextBlock>& blocks);

// Replaces `path` with `bytes` in one step: a failed save leaves the old
// file as it was. Returns an empty text on success, else what failed.
std::string SaveWaveText(const std::string& path, const std::string& bytes);

} // namespace quvan::tools
