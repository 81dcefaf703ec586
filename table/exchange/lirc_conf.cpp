#include "table/exchange/lirc_conf.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

namespace quvan::exchange {

namespace {

constexpr int kValuesPerLine = 8;

std::string RemoteName(const std::string& base, std::int32_t carrierHz) {
    const std::int32_t tenths = CarrierTenths(carrierHz);
    return base + "_" + std::to_string(tenths / 10) + "_" + std::to_string(tenths % 10) + "kHz";
}

} // namespace

std::string LircName(const std::string& name, int row) {
    std::string out;
    for (unsigned char c : name) {
        if (c > 0x20 && c < 0x7F && c != '#')
            out += static_cast<char>(c);
        else if (!out.empty() && out.back() != '_')
            out += '_';
    }
    while (!out.empty() && out.back() == '_')
        out.pop_back();
    if (out.empty()) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "ROW_%03d", row);
        out = buf;
    }
    return out;
}

std::string WriteLircConf(const std::vector<ExportedSignal>& list, const std::string& remoteName) {
    // Signals of one carrier share a remote, in the order of their rows.
    std::map<std::int32_t, std::vector<const ExportedSignal*>> byCarrier;
    for (const ExportedSignal& s : list)
        byCarrier[CarrierTenths(s.carrierHz)].push_back(&s);

    std::string out = "# Raw codes exported from a QUVAN learning table.\n";
    for (const auto& [tenths, group] : byCarrier) {
        // LIRC keeps one gap per remote: the longest silence after a code.
        std::int32_t gap = 0;
        for (const ExportedSignal* s : group) {
            const Durations all = SingleSequence(*s);
            if (all.size() % 2 == 0 && !all.empty())
                gap = std::max(gap, all.back());
        }
        out += "\nbegin remote\n";
        out += "  name       " + RemoteName(remoteName, group.front()->carrierHz) + "\n";
        out += "  flags      RAW_CODES\n";
        out += "  eps        30\n";
        out += "  aeps       100\n";
        out += "  frequency  " + std::to_string(tenths * 100) + "\n";
        if (gap > 0)
            out += "  gap        " + std::to_string(gap) + "\n";
        out += "\n  begin raw_codes\n";
        std::set<std::string> used;
        for (const ExportedSignal* s : group) {
            std::string name = LircName(s->name, s->row);
            if (!used.insert(name).second) {
                char suffix[16];
                std::snprintf(suffix, sizeof suffix, "_ROW_%03d", s->row);
                name += suffix;
                used.insert(name);
            }
            out += "\n    name " + name + "\n";
            Durations all = SingleSequence(*s);
            // A raw code ends with its last pulse; the silence is the gap.
            if (all.size() % 2 == 0 && !all.empty())
                all.pop_back();
            for (std::size_t i = 0; i < all.size(); ++i) {
                if (i % kValuesPerLine == 0)
                    out += "     ";
                char value[16];
                std::snprintf(value, sizeof value, " %7d", all[i]);
                out += value;
                if ((i + 1) % kValuesPerLine == 0 || i + 1 == all.size())
                    out += "\n";
            }
        }
        out += "\n  end raw_codes\n\nend remote\n";
    }
    return out;
}

} // namespace quvan::exchange
