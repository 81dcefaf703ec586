#include "tools/core/wave_text.h"

#include "platform/atomic_file.h"
#include "table/cp932_codec.h"
#include "table/learning_table.h"

#include <algorithm>
#include <cstdio>

namespace quvan::tools {

std::string WaveTextBlockBytes(const WaveTextBlock& block) {
    std::string out =
        Cp932FromUtf8(block.carry).text + "," + Cp932FromUtf8(block.comments).text + ",\r\n";
    out += "[No.],   [H],   [L],   [W] (uS)\r\n";
    if (block.lane != nullptr) {
        const WaveLane& lane = *block.lane;
        for (int k = 0; k <= lane.LastIndex && k < kLanePairs; ++k) {
            const PulsePair& pair = lane.Pairs[static_cast<std::size_t>(k)];
            char line[64];
            std::snprintf(line, sizeof line, "[%03d],%6d,%6d,%6d\r\n", k, pair.High,
                          pair.Width - pair.High, pair.Width);
            out += line;
        }
    }
    out += "\r\n";
    return out;
}

std::vector<WaveTextBlock> WindowWaveTextBlocks(const LearningTable& table, int selectedRow,
                                                const WaveLane* lanes, int laneCount) {
    std::vector<WaveTextBlock> blocks;
    int row = std::max(selectedRow - 2, 1);
    for (int l = 0; l < laneCount; ++l, ++row) {
        WaveTextBlock block;
        if (table.validRow(row)) {
            block.carry = table.cell(row, ColCarry);
            block.comments = table.cell(row, ColComments);
        }
        block.lane = &lanes[l];
        blocks.push_back(std::move(block));
    }
    return blocks;
}

std::string WaveTextBytes(const std::vector<WaveTextBlock>& blocks) {
    std::string out;
    for (const WaveTextBlock& block : blocks)
        out += WaveTextBlockBytes(block);
    return out;
}

std::string SaveWaveText(const std::string& path, const std::string& bytes) {
    return WriteFileAtomically(path, bytes);
}

} // namespace quvan::tools
