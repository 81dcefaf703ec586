#pragma once
// Registering table rows into the board's entry memory, as a state machine
// that the registration dialog and the command line drive. Per row it sends
// the entry's 21 commands and "Tws:%03d", then waits for the board's "ACK";
// the caller owns the wait (a timer in the window, a poll() deadline on the
// command line) and reports back what ended it.

#include "table/transfer/transfer_outcome.h"

#include <string>
#include <vector>

namespace quvan {
class LearningTable;
}

namespace quvan::transfer {

// What the dialog's controls say.
struct RegistrationOptions {
    bool writeAll = true;     // rbWriteAll; false: rbWriteOne (from the cursor row)
    bool eraseBlank = false;  // rbSpcDel; false: rbSpcSkip
    int cursorRow = 1;        // where a one-row run starts
    std::string boardVersion; // decides "Tws:FlashWrite"
};

// What the run asks its driver to do.
class RegistrationEffects {
  public:
    virtual ~RegistrationEffects() = default;
    virtual void sendCommand(const std::string& text) = 0;
    virtual void setCursor(int /*row*/, int /*column*/) {}
    // The store command just sent (the dialog's status panel 1).
    virtual void showStoreCommand(const std::string& /*text*/) {}
    // Row `row` is being sent; it is the `ordinal`-th of `total` rows.
    virtual void rowStarted(int /*row*/, int /*ordinal*/, int /*total*/) {}
    // The board acknowledged row `row`.
    virtual void rowStored(int /*row*/) {}
};

class RegistrationRun {
  public:
    static constexpr int kAckWaitMs = 1000;

    RegistrationRun(LearningTable& table, RegistrationOptions options,
                    RegistrationEffects& effects);

    // Sends the first row. Afterwards either awaitingAck() (the caller waits
    // up to kAckWaitMs) or the run has already ended (nothing to send).
    void start();

    bool awaitingAck() const { return awaiting_; }
    bool finished() const { return outcome_ != TransferOutcome::Running; }
    TransferOutcome outcome() const { return outcome_; }

    // What ended the wait.
    void ackReceived();
    void ackTimedOut();
    // The line went away; the run ends at once.
    void lineLost();

    // The user asked to stop: the run ends once the current row's wait is
    // over, whatever it brings.
    void requestStop() { stopRequested_ = true; }
    bool stopRequested() const { return stopRequested_; }

    // Rows the board acknowledged, in order.
    const std::vector<int>& storedRows() const { return stored_; }
    // The row whose store command went unanswered (BoardSilent), else 0.
    int silentRow() const { return silentRow_; }
    // Rows this run would send if nothing stopped it.
    int plannedRows() const { return planned_; }
    bool flashWriteSent() const { return flashWriteSent_; }

    // The message box for the outcome. LineLost has none of its own: the
    // link reports a lost line.
    TransferMessage outcomeMessage() const;

  private:
    int nextRowFrom(int row) const;
    int countPlannedRows() const;
    void sendRow(int row);
    void advance();
    void finish(TransferOutcome outcome);

    LearningTable& table_;
    RegistrationOptions options_;
    RegistrationEffects& effects_;
    TransferOutcome outcome_ = TransferOutcome::Running;
    bool awaiting_ = false;
    bool stopRequested_ = false;
    bool flashWriteSent_ = false;
    int row_ = 0;
    int planned_ = 0;
    int sent_ = 0;
    int silentRow_ = 0;
    std::vector<int> stored_;
};

} // namespace quvan::transfer
