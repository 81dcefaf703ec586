// quvan-board read OUT: reads entries 1..250 from the board into a new
// table file, decoded as the window's read-back decodes them.

#include "cli/board/board_commands.h"
#include "cli/board/exit_codes.h"
#include "table/table_file.h"
#include "table/transfer/read_back_session.h"

#include <chrono>
#include <cstdio>

namespace quvan::cli {
namespace {

using Clock = std::chrono::steady_clock;

// Requests the board does not answer at all, one after another, before it
// counts as silent.
constexpr int kSilentRequests = 3;

class ReadEffects final : public transfer::ReadBackEffects {
  public:
    explicit ReadEffects(BoardContext& context) : context_(context) {}
    void sendCommand(const std::string& text) override {
        if (!context_.session.send(text)) {
            lost_ = true;
        }
    }
    void setResponseFlag() override { responded_ = true; }
    void appendLog(const std::string& line) override {
        // The session's notes about damaged replies; entry lines stay quiet.
        if (line.starts_with("読込みエラー")) {
            context_.err << "quvan-board: " << line << '\n';
        }
    }
    bool takeResponse() {
        const bool responded = responded_;
        responded_ = false;
        return responded;
    }
    bool lost() const { return lost_ || context_.session.lost(); }

  private:
    BoardContext& context_;
    bool responded_ = false;
    bool lost_ = false;
};

// One wait of the session. An entry wait ends when the entry is complete
// or when the line has been quiet for the wait's time: a long entry on a
// slow line keeps arriving for longer than that, and is not silence.
void Wait(BoardSession& session, transfer::ReadBackSession& reading, ReadEffects& effects) {
    using W = transfer::ReadBackSession::Wait;
    const int serial = reading.waitSerial();
    const auto limit = std::chrono::milliseconds(reading.waitMs());
    const bool quietEnds = reading.waiting() == W::Entry;
    Clock::time_point deadline = Clock::now() + limit;
    std::string line;
    while (reading.running() && reading.waitSerial() == serial) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        const BoardSession::Read read =
            session.readLine(line, std::max(left, std::chrono::milliseconds(0)));
        if (read == BoardSession::Read::Lost) {
            reading.lineLost();
            return;
        }
        if (read == BoardSession::Read::Timeout) {
            reading.waitTimedOut();
            return;
        }
        if (read != BoardSession::Read::Line) {
            continue;
        }
        if (quietEnds) {
            deadline = Clock::now() + limit;
        }
        reading.handleLine(line);
        if (effects.takeResponse() && reading.running() && reading.waitSerial() == serial) {
            reading.replyArrived();
        }
    }
}

} // namespace

int RunReadCommand(BoardContext& context, const std::vector<std::string>& args) {
    if (args.size() != 1 || args[0].starts_with("--")) {
        context.err << "quvan-board: read needs exactly one argument, the table file to write\n";
        return kExitUsage;
    }
    const std::string& path = args[0];
    LearningTable table(context.options.pro ? kProTableRows : kStdTableRows);
    transfer::ReadBackOptions options;
    options.proEdition = context.options.pro;
    options.giveUpAfterSilent = kSilentRequests;
    ReadEffects effects(context);
    transfer::ReadBackSession reading(table, options, effects);
    reading.start();
    while (reading.running()) {
        if (effects.lost()) {
            reading.lineLost();
            break;
        }
        Wait(context.session, reading, effects);
    }

    const int answered = reading.entriesAnswered();
    switch (reading.outcome()) {
    case transfer::TransferOutcome::Completed:
        break;
    case transfer::TransferOutcome::LineLost:
        context.err << "quvan-board: " << context.session.lostText() << " after " << answered
                    << " entries; nothing written\n";
        return kExitLineLost;
    default:
        context.err << "quvan-board: the board stopped answering after " << answered << " entries"
                    << (reading.zemOffReceived() ? "" : " (no \"ZEM:off\")")
                    << "; nothing written\n";
        return kExitNoAnswer;
    }

    for (int row = 1; row <= table.rowCount(); ++row) {
        if (!table.isBlank(row)) {
            char label[16];
            std::snprintf(label, sizeof label, "%03d", row);
            context.out << label << '\t' << table.cell(row, ColComments) << '\t'
                        << table.cell(row, ColResult) << '\n';
        }
    }
    const TableSaveResult saved = SaveTable(path, table, TableHeaderOptions{});
    if (!saved.ok) {
        context.err << "quvan-board: cannot write " << path << ": " << saved.error << '\n';
        return kExitFailed;
    }
    for (const std::string& warning : saved.warnings) {
        context.err << "quvan-board: " << path << ": " << warning << '\n';
    }
    context.out << "read " << reading.entriesStored() << " filled of " << answered
                << " entries into " << path << '\n';
    if (!reading.incompleteRows().empty()) {
        context.err << "quvan-board: " << reading.incompleteRows().size()
                    << " rows came back damaged; they are marked in their Comments\n";
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace quvan::cli
