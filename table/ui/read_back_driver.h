#pragma once
// Reading the table back from the board in the main window (btnTableLoad):
// the questions before it, the progress dialog with its stop button, and
// the waits of transfer::ReadBackSession as timers. The router hands the
// reply lines over through HandleReadBackLine while running() holds.

#include "table/transfer/read_back_session.h"

#include <QObject>
#include <functional>
#include <memory>

class QCheckBox;
class QPushButton;
class QWidget;

namespace quvan {
class LearningTable;
}
namespace quvan::link {
class BoardLink;
}

namespace quvan::table_ui {

class BoardReplyWatch;
class ReadBackProgress;
class TableCommands;
class TransferHost;

class ReadBackDriver final : public QObject, private transfer::ReadBackEffects {
    Q_OBJECT
  public:
    ReadBackDriver(link::BoardLink& link, LearningTable& table, TableCommands& commands,
                   TransferHost& host, QPushButton& btnTableLoad, QCheckBox& ckPcode,
                   QWidget& window);
    ~ReadBackDriver() override;

    // btnTableLoad.
    void ReadTableFromBoard();
    // ReadBackRunning, for the router.
    bool running() const { return session_ != nullptr && session_->running(); }
    void HandleReadBackLine(const std::string& line);
    // The stop button of the progress dialog.
    void Stop();

    const transfer::ReadBackSession* lastSession() const { return session_.get(); }
    // The window that shows entry n of 250 and offers "中止"; null before
    // the first read-back.
    ReadBackProgress* progressDialog() const { return progress_; }

  signals:
    void readBackFinished(transfer::TransferOutcome outcome);

  private:
    void sync();
    void showRunning(bool running);

    // transfer::ReadBackEffects
    void sendCommand(const std::string& text) override;
    void setResponseFlag() override;
    void appendLog(const std::string& line) override;
    void setCursor(int row, int column) override;
    void setTableModified() override;
    void progress(int entry, int total) override;
    void finished(transfer::TransferOutcome outcome) override;

    link::BoardLink& link_;
    LearningTable& table_;
    TableCommands& commands_;
    TransferHost& host_;
    QPushButton& btnTableLoad_;
    QCheckBox& ckPcode_;
    QWidget& window_;
    BoardReplyWatch* watch_;
    ReadBackProgress* progress_ = nullptr;
    std::unique_ptr<transfer::ReadBackSession> session_;
    int armedSerial_ = -1;
};

} // namespace quvan::table_ui
