#include "cli/board/table_input.h"

#include "app/app_state.h"
#include "link/line_dispatcher.h"
#include "table/table_file.h"

#include <charconv>

namespace quvan::cli {

std::unique_ptr<LearningTable> ReadTableArgument(const std::string& path, bool pro,
                                                 std::ostream& err) {
    auto table = std::make_unique<LearningTable>(pro ? kProTableRows : kStdTableRows);
    const TableLoadResult loaded = LoadTable(path, *table);
    switch (loaded.status) {
    case TableLoadStatus::CannotOpen:
        err << "quvan-board: cannot read the table file " << loaded.error << '\n';
        return nullptr;
    case TableLoadStatus::Declined:
        err << "quvan-board: " << path << " is not a table file (its first line lacks \""
            << kTableFileMark << "\")\n";
        return nullptr;
    case TableLoadStatus::StoppedAtError:
        // Registering a partly read table would put the wrong entries into
        // the board.
        err << "quvan-board: " << path << ": " << loaded.conversionError->message << '\n';
        return nullptr;
    case TableLoadStatus::StoppedEarly:
        // Rows after the stop were never read; registering the rest would
        // leave the board's entries silently short.
        err << "quvan-board: " << path << ": " << loaded.stop->message << '\n';
        return nullptr;
    case TableLoadStatus::Loaded:
        break;
    }
    for (const std::string& warning : loaded.warnings) {
        err << "quvan-board: " << path << ": " << warning << '\n';
    }
    return table;
}

std::optional<int> ParseRowArgument(const std::string& text, const LearningTable& table) {
    int row = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), row);
    if (error != std::errc() || end != text.data() + text.size() || !table.validRow(row)) {
        return std::nullopt;
    }
    return row;
}

std::optional<std::string> AskBoardVersion(BoardSession& session) {
    if (!session.send("Ver")) {
        return std::nullopt;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(1000);
    std::string line;
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return std::nullopt;
        }
        const BoardSession::Read read = session.readLine(line, left);
        if (read == BoardSession::Read::Lost || read == BoardSession::Read::Timeout) {
            return std::nullopt;
        }
        if (read == BoardSession::Read::Line && link::IsVersionLine(line)) {
            return app::VersionField(line);
        }
    }
}

} // namespace quvan::cli
