#pragma once
// What the board transfers (registration, read-back, test firing, the free
// command line) need from the main window. The application implements it;
// the table subsystem knows nothing else of the window.

#include <QString>
#include <string>

namespace quvan::table_ui {

class TransferHost {
  public:
    virtual ~TransferHost() = default;
    // The program's message box: 1 for OK/Yes.
    virtual int showMessage(int kind, const QString& caption, const QString& text) = 0;
    virtual void setLearningIndicator(bool on) = 0;
    virtual bool tableModified() const = 0;
    virtual void setTableModified(bool modified) = 0;
    // The receive log memoRecv.
    virtual void appendLog(const QString& line) = 0;
    virtual void clearLog() = 0;
    virtual bool proEdition() const = 0;
    // "Ver." and 8 characters from the board's last version reply.
    virtual std::string boardVersion() const = 0;
    // The serial line went away during a transfer: tell the user as the
    // link does when an adapter is unplugged, and close the port. Does
    // nothing when that has already happened (or is happening).
    virtual void reportLineLost() = 0;
};

} // namespace quvan::table_ui
