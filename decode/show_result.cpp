#include "decode/show_result.h"

#include "table/learning_table.h"

#include <algorithm>
#include <cstdio>

namespace quvan {

namespace {

std::string CarryCellText(std::int32_t carry) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d.%dkHz", carry / 10, carry % 10);
    return buf;
}

} // namespace

std::string LaneLabel(int row, std::int32_t carry, const std::string& comments) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "No.%d: %2d.%dkHz", row, carry / 10, carry % 10);
    std::string label = buf;
    if (!comments.empty())
        label += " " + comments;
    return label;
}

void ShowResult(LearningContext& ctx, int lane, const std::string& givenText) {
    if (lane < 0 || lane >= kLaneSlots)
        return;
    int row = ctx.state.LaneRow[static_cast<std::size_t>(lane)];
    LearningTable& table = ctx.table;
    if (row <= 0 || !table.validRow(row))
        return;
    std::string text = givenText;
    const std::int32_t carry = ctx.state.Result.Carry;
    const bool ushowa = ctx.options.Serial && text.find("U-SHOWA") != std::string::npos;
    if (ctx.options.CodeCheck) {
        if (ushowa) {
            if (text.find('0') != std::string::npos) {
                ctx.effects.playSound(Sound::Chord);
            } else if (text.size() < 6 || carry < 370 || carry > 390) {
                ctx.effects.playSound(Sound::Chord);
            } else {
                text.resize(text.size() - 6);
                RegisterById(ctx, text);
                row = ctx.effects.currentRow();
            }
        } else if (text != table.cell(row, ColResult)) {
            ctx.effects.playSound(Sound::Chord);
            ctx.state.RepeatRowRequested = true;
        } else if (!table.validRow(row + 1) || table.cell(row + 1, ColResult).empty()) {
            // Past the last row there is no next result either: the list ends.
            ctx.effects.playSound(Sound::Tada);
        }
    } else {
        table.setCell(row, ColResult, text);
        if (ushowa)
            table.setCell(row, ColComments, "ID:" + std::to_string(ctx.state.SerialId));
    }
    if (!table.validRow(row))
        return;
    ctx.effects.drawLaneLabel(lane,
                              LaneLabel(row, carry, table.cell(row, ColComments)) + " " + text);
}

void RegisterById(LearningContext& ctx, const std::string& text) {
    ctx.state.RepeatRowRequested = true;
    ctx.effects.setCurrentColumn(1);
    LearningTable& table = ctx.table;
    const CaptureState& s = ctx.state;
    for (int i = 1; i <= table.rowCount(); ++i) {
        if (table.cell(i, ColResult).empty()) {
            table.setCell(i, ColCarry, CarryCellText(s.Result.Carry));
            table.setCell(i, ColFrames, s.Result.Frames >= 3 ? "3" : "1");
            table.setCell(i, ColComments, "ID:" + std::to_string(s.SerialId));
            table.setCell(i, ColResult, text);
            LearnedSignal& rec = table.record(i);
            rec.Carry = s.Result.Carry;
            rec.DataBits = s.Result.DataBits;
            rec.RepeatBit = s.Result.RepeatBit;
            if (s.CurrentLane >= 0 && s.CurrentLane < kLaneSlots) {
                const WaveLane& lane = s.Lanes[static_cast<std::size_t>(s.CurrentLane)];
                for (int k = 0; k < kPatternSlots; ++k) {
                    rec.PatternHigh[k] = lane.CenterHigh[k];
                    rec.PatternWidth[k] = lane.CenterWidth[k];
                }
                const int count = std::clamp(s.Result.DataBits, 0, kMaxPatternCodes);
                for (int k = 0; k < count; ++k)
                    rec.PatternCode[k] = static_cast<std::uint8_t>(lane.PatternOf[k]);
            }
            ctx.effects.setCurrentRow(i);
            return;
        }
        if (table.cell(i, ColResult) == text) {
            ctx.effects.playSound(Sound::Chord);
            ctx.effects.setCurrentRow(i);
            return;
        }
    }
}

} // namespace quvan
