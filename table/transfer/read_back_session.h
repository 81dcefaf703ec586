#pragma once
// Reading the board's entries back into the learning table, as a state
// machine that the main window and the command line drive.
//
// The session puts the board into its transfer mode ("ZEM:on"), asks for
// entries 1..250 one at a time ("Twl:%03d") and fills table row n from the
// lines of entry n, decoding each entry's format and code for the Comments
// and Result cells. After the last request it sends "ZEM:off" and waits a
// short grace time for the board's own "ZEM:off", which ends the session.
// While running() every line the router does not take elsewhere belongs to
// the session (handleLine).
//
// The driver owns the waits: whenever waiting() names a wait, it starts a
// timer of waitMs() and calls replyArrived() when the board's reply sets the
// response flag first, else waitTimedOut().

#include "table/transfer/transfer_outcome.h"

#include <string>
#include <vector>

namespace quvan {
class LearningTable;
}

namespace quvan::transfer {

struct ReadBackReply;

// Entries asked for, in both editions.
inline constexpr int kReadBackEntries = 250;

struct ReadBackOptions {
    bool monitorMode = false; // echo every reply line into the log
    bool pcode = false;       // ckPcode: the Result cell shows the raw pattern codes
    bool proEdition = false;
    int entries = kReadBackEntries;
    int entryWaitMs = 200;
    // How long the board has to send its "ZEM:off" after the last request.
    int zemOffGraceMs = 1000;
    // Consecutive unanswered requests after which the board counts as
    // silent and the session ends; 0 asks for every entry regardless.
    int giveUpAfterSilent = 0;
};

class ReadBackEffects {
  public:
    virtual ~ReadBackEffects() = default;
    virtual void sendCommand(const std::string& text) = 0;
    // The entry the driver waits for is complete (the link's response flag).
    virtual void setResponseFlag() = 0;
    virtual void appendLog(const std::string& /*line*/) {}
    virtual void setCursor(int /*row*/, int /*column*/) {}
    virtual void setTableModified() {}
    // Entry `entry` of `total` has been asked for.
    virtual void progress(int /*entry*/, int /*total*/) {}
    // The session has ended; running() is false now.
    virtual void finished(TransferOutcome /*outcome*/) {}
};

class ReadBackSession {
  public:
    enum class Wait { None, Entry, ZemOff };

    ReadBackSession(LearningTable& table, ReadBackOptions options, ReadBackEffects& effects);

    // Sends "ZEM:on" and the first request.
    void start();

    // ReadBackRunning: the router hands the session every line it does not
    // route elsewhere.
    bool running() const { return running_; }
    void handleLine(const std::string& line);

    Wait waiting() const { return wait_; }
    int waitMs() const;
    // Grows with every new wait, so a driver can tell a new wait from the
    // one its timer already runs for.
    int waitSerial() const { return waitSerial_; }
    void replyArrived();
    void waitTimedOut();

    // Stops asking: sends "ZEM:off" now and keeps the rows read so far.
    void requestStop();
    // The serial line went away; the session ends at once.
    void lineLost();

    TransferOutcome outcome() const { return outcome_; }
    int requestedEntry() const { return requested_; }
    // Entries whose reply came in whole ("Twd:" or an empty-entry line).
    int entriesAnswered() const { return answered_; }
    // Entries that filled a row.
    int entriesStored() const { return stored_; }
    // Rows whose reply was damaged; they are marked in the Comments cell.
    const std::vector<int>& incompleteRows() const { return incomplete_; }
    bool zemOffReceived() const { return zemOffReceived_; }

    TransferMessage outcomeMessage() const;

  private:
    void request(int entry);
    void nextRequest();
    void endRequests();
    void sendZemOff();
    void finish(TransferOutcome outcome);
    bool validRow(int entry) const;
    void entryLine(const ReadBackReply& reply, const std::string& line);
    void valueLine(const ReadBackReply& reply);
    void codesLine(const ReadBackReply& reply);
    void entryEnded(int entry);
    void problem(const std::string& what);
    void closeOpenEntry(const std::string& why);
    void markIncomplete(int row);
    void setCellOf(int row, int column, std::string text);
    void writePendingCells();

    LearningTable& table_;
    ReadBackOptions options_;
    ReadBackEffects& effects_;
    TransferOutcome outcome_ = TransferOutcome::Running;
    bool running_ = false;
    bool stopRequested_ = false;
    bool zemOffSent_ = false;
    bool zemOffReceived_ = false;
    bool gaveUp_ = false;
    Wait wait_ = Wait::None;
    int waitSerial_ = 0;
    int requested_ = 0;
    int silentInRow_ = 0;
    int answered_ = 0;
    int stored_ = 0;
    int entry_ = 0;                     // ReadBackEntry: the entry whose lines are arriving
    int openEntry_ = 0;                 // a started entry whose "Twd:" has not come yet
    std::vector<std::string> problems_; // of the open entry
    // The Carry and Frames cells of the open entry, written when the entry
    // ends: one change of the row per entry instead of one per line keeps a
    // window showing the table from redrawing it twenty times an entry.
    std::string pendingCarry_, pendingFrames_;
    std::vector<int> incomplete_;
};

} // namespace quvan::transfer
