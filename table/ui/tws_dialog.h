#pragma once
// The registration dialog TfrmTws: the user picks the rows (all, or the
// cursor row) and what happens to blank rows, starts the run and can stop
// it. The run itself is transfer::RegistrationRun; the dialog sends its
// commands through the board link, waits for each "ACK" with a timer and
// shows the store command and the progress in its status bar.

#include "table/transfer/registration_run.h"

#include <QDialog>
#include <array>
#include <functional>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStatusBar;

namespace quvan {
class LearningTable;
}
namespace quvan::link {
class BoardLink;
}

namespace quvan::table_ui {

class BoardReplyWatch;
class TableGrid;
class TransferHost;

class TfrmTws final : public QDialog, private transfer::RegistrationEffects {
    Q_OBJECT
  public:
    explicit TfrmTws(link::BoardLink& link, QWidget* parent = nullptr);
    ~TfrmTws() override;

    // The table, its grid and the window's services; set once they exist.
    void attach(LearningTable& table, TableGrid& grid, TransferHost& host);

    QLabel* Label1 = nullptr;
    QPushButton* btnExecute = nullptr;
    QPushButton* btnCancel = nullptr;
    QRadioButton* rbWriteAll = nullptr;
    QRadioButton* rbWriteOne = nullptr;
    QRadioButton* rbSpcSkip = nullptr;
    QRadioButton* rbSpcDel = nullptr;
    QLabel* lblStartMsg = nullptr;
    QStatusBar* sBar = nullptr;
    std::array<QLabel*, 2> sBarPanels{};
    QProgressBar* pgWrite = nullptr; // row n of the rows to send

    bool running() const { return run_ != nullptr && !run_->finished(); }
    // The last run (also after it ended); null before the first.
    const transfer::RegistrationRun* lastRun() const { return run_.get(); }

  signals:
    // A run ended; the outcome box has been shown (or the lost line reported).
    void runFinished(transfer::TransferOutcome outcome);

  public slots:
    void reject() override; // Esc and the close box: a stop request while running

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void Execute();
    void Cancel();
    void afterStep();
    void end();

    // transfer::RegistrationEffects
    void sendCommand(const std::string& text) override;
    void setCursor(int row, int column) override;
    void showStoreCommand(const std::string& text) override;
    void rowStarted(int row, int ordinal, int total) override;

    link::BoardLink& link_;
    LearningTable* table_ = nullptr;
    TableGrid* grid_ = nullptr;
    TransferHost* host_ = nullptr;
    BoardReplyWatch* watch_;
    std::unique_ptr<transfer::RegistrationRun> run_;
};

} // namespace quvan::table_ui
