// quvan-board write TABLE [--row N] [--erase-blank]: registers rows of a
// table file into the board, as the registration dialog does.

#include "cli/board/board_commands.h"
#include "cli/board/exit_codes.h"
#include "cli/board/table_input.h"
#include "table/transfer/registration_run.h"

#include <chrono>

namespace quvan::cli {
namespace {

using Clock = std::chrono::steady_clock;

class WriteEffects final : public transfer::RegistrationEffects {
  public:
    explicit WriteEffects(BoardContext& context) : context_(context) {}
    void sendCommand(const std::string& text) override {
        if (!context_.session.send(text)) {
            lost_ = true;
        }
    }
    void rowStored(int row) override {
        char text[16];
        std::snprintf(text, sizeof text, "%03d", row);
        context_.out << text << "\tACK\n";
        context_.out.flush();
    }
    bool lost() const { return lost_ || context_.session.lost(); }

  private:
    BoardContext& context_;
    bool lost_ = false;
};

// Waits up to a second for the board's "ACK" to the store command just
// sent.
void AwaitAck(BoardSession& session, transfer::RegistrationRun& run) {
    const Clock::time_point deadline =
        Clock::now() + std::chrono::milliseconds(transfer::RegistrationRun::kAckWaitMs);
    std::string line;
    while (run.awaitingAck()) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        const BoardSession::Read read =
            session.readLine(line, std::max(left, std::chrono::milliseconds(0)));
        if (read == BoardSession::Read::Lost) {
            run.lineLost();
        } else if (read == BoardSession::Read::Timeout) {
            run.ackTimedOut();
        } else if (read == BoardSession::Read::Line && line == "ACK") {
            run.ackReceived(); // sends the next row, whose wait is a new one
            return;
        }
        // Other lines (a "?" for a value the board refused) do not answer
        // the store command; the wait goes on.
    }
}

} // namespace

int RunWriteCommand(BoardContext& context, const std::vector<std::string>& args) {
    std::string path;
    std::string rowText;
    bool eraseBlank = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--row" && i + 1 < args.size()) {
            rowText = args[++i];
        } else if (args[i] == "--erase-blank") {
            eraseBlank = true;
        } else if (path.empty() && !args[i].starts_with("--")) {
            path = args[i];
        } else {
            context.err << "quvan-board: write: unexpected \"" << args[i] << "\"\n";
            return kExitUsage;
        }
    }
    if (path.empty()) {
        context.err << "quvan-board: write needs a table file\n";
        return kExitUsage;
    }
    std::unique_ptr<LearningTable> table =
        ReadTableArgument(path, context.options.pro, context.err);
    if (!table) {
        return kExitUsage;
    }
    transfer::RegistrationOptions options;
    options.eraseBlank = eraseBlank;
    if (!rowText.empty()) {
        const std::optional<int> row = ParseRowArgument(rowText, *table);
        if (!row) {
            context.err << "quvan-board: --row needs a row number from 1 to " << table->rowCount()
                        << ", not \"" << rowText << "\"\n";
            return kExitUsage;
        }
        if (table->isBlank(*row) && !eraseBlank) {
            context.err << "quvan-board: row " << *row
                        << " is blank (--erase-blank erases the board's entry)\n";
            return kExitUsage;
        }
        options.writeAll = false;
        options.cursorRow = *row;
    }

    // The version decides whether the entries are made permanent at the end.
    const std::optional<std::string> version = AskBoardVersion(context.session);
    if (!version) {
        if (context.session.lost()) {
            context.err << "quvan-board: " << context.session.lostText() << '\n';
            return kExitLineLost;
        }
        context.err << "quvan-board: the board does not answer \"Ver\"\n";
        return kExitNoAnswer;
    }
    options.boardVersion = *version;

    WriteEffects effects(context);
    transfer::RegistrationRun run(*table, options, effects);
    run.start();
    while (!run.finished()) {
        if (effects.lost()) {
            run.lineLost();
            break;
        }
        AwaitAck(context.session, run);
    }
    // A line lost after the last ACK means the flash write did not go out.
    const transfer::TransferOutcome outcome =
        effects.lost() ? transfer::TransferOutcome::LineLost : run.outcome();

    const int stored = static_cast<int>(run.storedRows().size());
    switch (outcome) {
    case transfer::TransferOutcome::Completed:
        context.out << "stored " << stored << " of " << run.plannedRows() << " rows"
                    << (run.flashWriteSent() ? ", flash written" : "") << '\n';
        return kExitOk;
    case transfer::TransferOutcome::BoardSilent: {
        char row[16];
        std::snprintf(row, sizeof row, "%03d", run.silentRow());
        context.out << "stored " << stored << " of " << run.plannedRows() << " rows\n";
        context.err << "quvan-board: the board stopped answering at row " << row << " (" << stored
                    << " rows stored, nothing flash-written)\n";
        return kExitNoAnswer;
    }
    case transfer::TransferOutcome::LineLost:
        context.out << "stored " << stored << " of " << run.plannedRows() << " rows\n";
        context.err << "quvan-board: " << context.session.lostText() << " (" << stored
                    << " rows stored)\n";
        return kExitLineLost;
    default:
        break;
    }
    return kExitFailed;
}

} // namespace quvan::cli
