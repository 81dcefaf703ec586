// quvan-board fire TABLE ROW [--outputs 1111] [--by-result]: has the board
// send one row's signal, with exactly the commands of the window's test
// firing, and prints the board's answer.

#include "cli/board/board_commands.h"
#include "cli/board/exit_codes.h"
#include "cli/board/table_input.h"
#include "table/transfer/test_firing.h"

#include <chrono>

namespace quvan::cli {
namespace {

// How long the board may stay silent before its answer counts as complete.
constexpr std::chrono::milliseconds kQuiet{300};

std::optional<std::array<bool, 4>> ParseOutputs(const std::string& text) {
    if (text.size() != 4 || text.find_first_not_of("01") != std::string::npos) {
        return std::nullopt;
    }
    std::array<bool, 4> outputs{};
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        outputs[i] = text[i] == '1';
    }
    return outputs;
}

} // namespace

int RunFireCommand(BoardContext& context, const std::vector<std::string>& args) {
    std::vector<std::string> positional;
    transfer::FireOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--outputs" && i + 1 < args.size()) {
            const std::optional<std::array<bool, 4>> outputs = ParseOutputs(args[++i]);
            if (!outputs) {
                context.err << "quvan-board: --outputs takes four digits 0 or 1 (IR1..IR4), not \""
                            << args[i] << "\"\n";
                return kExitUsage;
            }
            options.outputs = *outputs;
        } else if (args[i] == "--by-result") {
            options.byResult = true;
        } else if (!args[i].starts_with("--")) {
            positional.push_back(args[i]);
        } else {
            context.err << "quvan-board: fire: unexpected \"" << args[i] << "\"\n";
            return kExitUsage;
        }
    }
    if (positional.size() != 2) {
        context.err << "quvan-board: fire needs a table file and a row number\n";
        return kExitUsage;
    }
    std::unique_ptr<LearningTable> table =
        ReadTableArgument(positional[0], context.options.pro, context.err);
    if (!table) {
        return kExitUsage;
    }
    const std::optional<int> row = ParseRowArgument(positional[1], *table);
    if (!row) {
        context.err << "quvan-board: the row must be a number from 1 to " << table->rowCount()
                    << ", not \"" << positional[1] << "\"\n";
        return kExitUsage;
    }
    const std::vector<transfer::FireCommand> commands =
        transfer::TestFireCommands(*table, *row, options);
    if (commands.empty()) {
        context.err << "quvan-board: row " << *row << " is blank; nothing to fire\n";
        return kExitUsage;
    }
    for (const transfer::FireCommand& command : commands) {
        if (!context.session.send(command.text)) {
            break;
        }
    }
    std::string line;
    BoardSession::Read read;
    while ((read = context.session.readLine(line, kQuiet)) == BoardSession::Read::Line ||
           read == BoardSession::Read::Dot) {
        context.out << line << '\n';
    }
    if (context.session.lost()) {
        context.err << "quvan-board: " << context.session.lostText() << '\n';
        return kExitLineLost;
    }
    return kExitOk;
}

} // namespace quvan::cli
