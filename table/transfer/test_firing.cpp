#include "table/transfer/test_firing.h"

#include "table/learning_table.h"
#include "table/transfer/entry_commands.h"

#include <algorithm>

namespace quvan::transfer {

std::string OutputSelection(const std::array<bool, 4>& outputs) {
    std::string text = "Tp:0000";
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        if (outputs[i]) {
            text[3 + i] = '1';
        }
    }
    return text;
}

std::optional<std::string> ResultFireCommand(std::string_view result, std::string_view frames) {
    const std::size_t d = result.find(" d:");
    if (d == std::string_view::npos) {
        return std::nullopt;
    }
    std::string text(result);
    text[d] = ',';
    text += ",f:";
    text += frames;
    return text;
}

bool FiresByResult(const LearningTable& table, int row, bool resultColumn) {
    return resultColumn && table.cell(row, ColResult).find("Tm:") != std::string::npos;
}

std::vector<FireCommand> TestFireCommands(LearningTable& table, int row,
                                          const FireOptions& options) {
    std::vector<FireCommand> commands;
    if (!table.validRow(row) || table.isBlank(row)) {
        return commands;
    }
    commands.push_back({OutputSelection(options.outputs), false});
    // The Frames cell goes out as the user left it, untrimmed.
    const std::string& frames = table.cell(row, ColFrames);
    if (FiresByResult(table, row, options.byResult)) {
        if (auto command = ResultFireCommand(table.cell(row, ColResult), frames)) {
            commands.push_back({std::move(*command), false});
        }
        return commands;
    }
    LearnedSignal& signal = table.record(row);
    signal.WriteFlag = 0;
    for (std::string& command : EntryCommands(signal)) {
        commands.push_back({std::move(command), false});
    }
    if (!frames.empty()) {
        commands.push_back({"Tf:" + frames, true});
    }
    return commands;
}

std::optional<std::string> LogLineFireCommand(std::string_view fromSelection) {
    constexpr std::size_t kSpan = 200;
    const std::string_view s = fromSelection.substr(0, kSpan);
    if (!s.starts_with("m:")) {
        return std::nullopt;
    }
    // Fields start after "m:" and three characters after each comma (the
    // comma and a tag such as "d:"); each ends at the next comma.
    std::array<std::string, 3> fields;
    std::size_t field = 0;
    std::size_t start = 2;
    // Positions 3..199 (from 1) are scanned: a comma at the very end of the
    // span is not seen.
    const std::size_t end = std::min<std::size_t>(s.size(), kSpan - 1);
    for (std::size_t i = 2; i < end && field < fields.size(); ++i) {
        if (s[i] == ',') {
            fields[field++] = start <= i ? std::string(s.substr(start, i - start)) : std::string();
            start = i + 3;
        }
    }
    return "Tm:" + fields[0] + ",d:" + fields[1] + ",f:" + fields[2];
}

void AddSendHistory(std::vector<std::string>& history, const std::string& text) {
    if (std::find(history.begin(), history.end(), text) == history.end()) {
        history.push_back(text);
    }
}

} // namespace quvan::transfer
