#include "capture/learning_control.h"

#include "capture/text_number.h"
#include "platform/user_text.h"
#include "table/learning_table.h"

#include <algorithm>
#include <cstdio>

namespace quvan {

using user_text::Tr;

namespace {

void SendStart(LearningContext& ctx, const char* proCommand) {
    ctx.effects.sendCommand(ctx.options.ProEdition ? proCommand : "A");
}

void ReopenCapture(CaptureState& s) {
    s.Result.RepeatBit = 0;
    s.Result.DataBits = 0;
    s.Result.Frames = 0;
}

std::string Format(const char* format, int a) {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, a);
    return buf;
}

} // namespace

void StartLearning(LearningContext& ctx, bool learningOn) {
    if (!ctx.options.PortOpen) {
        bool dispOff = false;
        std::string text = Tr("Learning", "QUVANと通信出来ません");
        if (!ctx.options.NoPortAdvice.empty()) {
            text += "\n" + ctx.options.NoPortAdvice;
        }
        ctx.effects.showMessage(1, Tr("Learning", "Warning"), text, dispOff);
        return;
    }
    if (learningOn) {
        ctx.effects.setLearningIndicator(false);
        ctx.effects.sendCommand("T");
        ctx.effects.setProgress(0);
        ctx.effects.setProgressVisible(false);
        return;
    }
    ctx.effects.setLearningIndicator(true);
    const std::int32_t ms = DecimalOr(ctx.options.LtimeText, 200);
    ctx.effects.sendCommand(Format("Lend:%04d", ms));
    SendStart(ctx, "A:Pro");
    ctx.effects.clearLog();
    if (ctx.options.CursorAuto) {
        ctx.effects.clearLanes(ctx.options.WaveLanes);
        ctx.state.CurrentLane = ctx.options.WaveLanes - 1;
        SelectNextBlankRow(ctx);
    } else {
        ctx.effects.clearLanes(ctx.state.CurrentLane);
    }
    ReopenCapture(ctx.state);
}

void RestartLearning(LearningContext& ctx) {
    const LearningTable& table = ctx.table;
    const int last = table.rowCount();
    int row = ctx.effects.currentRow();
    const bool stayOnRow = ctx.state.RepeatRowRequested;
    if (!stayOnRow && !ctx.options.CodeCheck) {
        // Learning walks on to the next blank row below, never over a row
        // that already holds a signal.
        int next = std::max(row, 0) + 1;
        while (next <= last && !table.isBlank(next))
            ++next;
        if (next > last) {
            StopLearningTableFull(ctx);
            return;
        }
        row = next;
    }
    ctx.effects.setLearningIndicator(true);
    SendStart(ctx, "A:pro");
    ReopenCapture(ctx.state);
    if (stayOnRow) {
        ctx.state.RepeatRowRequested = false;
        return;
    }
    if (ctx.options.CodeCheck) {
        if (row >= last)
            return;
        row += 1;
        // Rows marked "-" are not part of the check. The walk stops at the
        // last row so a table of dashes cannot run it off the end.
        while (row < last && TrimControl(table.cell(row, ColFrames)) == "-")
            ++row;
        if (table.cell(row, ColFrames).empty())
            row = 1;
    }
    ctx.effects.setCurrentRow(row);
}

void StopLearningTableFull(LearningContext& ctx) {
    ctx.effects.setLearningIndicator(false);
    ctx.effects.sendCommand("T");
    ctx.effects.setProgressVisible(false);
    bool dispOff = false;
    ctx.effects.showMessage(1, Tr("Learning", "警告"),
                            Tr("Learning", "テーブルに空き行がありません。\n学習を終了しました。"),
                            dispOff);
}

void SelectNextBlankRow(LearningContext& ctx) {
    const LearningTable& table = ctx.table;
    for (int row = std::max(ctx.effects.currentRow(), 1); row < table.rowCount(); ++row) {
        if (table.isBlank(row)) {
            ctx.effects.setCurrentRow(row);
            ctx.effects.setCurrentColumn(1);
            ctx.effects.focusGrid();
            return;
        }
    }
}

std::vector<std::string> AnalysisReport(const LearningContext& ctx, int row, int laneNo) {
    const LearnedSignal& rec = ctx.table.record(row);
    const CaptureResult& r = ctx.state.Result;
    std::vector<std::string> lines;
    char buf[128];
    std::snprintf(buf, sizeof buf, "Carry:%2d.%dkHz, DataSize:%d, Repeat:%d, Frames:%d",
                  rec.Carry / 10, rec.Carry % 10, rec.DataBits, rec.RepeatBit, r.Frames);
    lines.emplace_back(buf);
    for (int i = 0; i < kPatternSlots; ++i) {
        std::snprintf(buf, sizeof buf, "W%01X:%5d %7d", i, rec.PatternHigh[i], rec.PatternWidth[i]);
        lines.emplace_back(buf);
    }
    const WaveLane& lane = ctx.state.Lanes[laneNo];
    auto digits = [&](int from, int to) {
        std::string text;
        for (int i = from; i < to && i < kLanePairs; ++i) {
            std::snprintf(buf, sizeof buf, "%X", static_cast<unsigned>(lane.PatternOf[i]));
            text += buf;
        }
        return text;
    };
    const int dataBits = std::clamp(rec.DataBits, 0, kMaxPatternCodes);
    const int end = lane.LastIndex + 1;
    lines.push_back(digits(0, dataBits) + ":" + std::to_string(dataBits));
    const int step = dataBits - rec.RepeatBit;
    int cut = dataBits;
    while (step > 0 && cut + step <= end) {
        lines.push_back(digits(cut, cut + step) + ":" + std::to_string(cut + step));
        cut += step;
    }
    if (cut < end)
        lines.push_back(digits(cut, end));
    std::string code = "Code: ";
    for (int i = 0; i < dataBits; ++i) {
        std::snprintf(buf, sizeof buf, "%X", static_cast<unsigned>(rec.PatternCode[i]));
        code += buf;
    }
    lines.push_back(code);
    lines.emplace_back("-----");
    return lines;
}

} // namespace quvan
