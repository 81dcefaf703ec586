#include "sim/faults.h"

namespace quvan::sim {

std::string LineShaper::shape(const BoardOutput& output, const std::string& line_end,
                              const Faults& faults) {
    if (output.kind == BoardOutput::Kind::Raw)
        return output.text;
    std::string text = output.text;
    if (faults.garble_percent > 0) {
        std::uniform_int_distribution<int> percent(0, 99);
        std::uniform_int_distribution<int> other(1, 255);
        for (char& c : text) {
            if (percent(rng_) < faults.garble_percent)
                c = static_cast<char>(static_cast<unsigned char>(c) ^ other(rng_));
        }
    }
    std::string end = line_end;
    if (faults.cut) {
        // Half of the lines lose their line end, the other half are cut
        // short somewhere but keep it.
        if (std::uniform_int_distribution<int>(0, 1)(rng_) == 0 || text.empty())
            end.clear();
        else
            text.resize(std::uniform_int_distribution<std::size_t>(0, text.size() - 1)(rng_));
    }
    return text + end;
}

} // namespace quvan::sim
