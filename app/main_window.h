#pragma once
// The main window: hosts the receive log, the status bar and the learning
// indicator, runs the start sequence and reacts when the serial adapter goes.

#include "app/app_state.h"
#include "app/message_service.h"
#include "link/board_link.h"
#include "platform/port_list.h"

#include <QLabel>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <array>
#include <memory>

namespace quvan::app {

class MainLineHandlers;

class TfrmMain final : public QMainWindow {
    Q_OBJECT
public:
    TfrmMain(const QString& applicationTitle, link::BoardLink& link, MessageService& messages,
             platform::PortLister& ports, QWidget* parent = nullptr);
    ~TfrmMain() override;

    AppState& state() { return state_; }
    const AppState& state() const { return state_; }
    link::BoardLink& boardLink() { return link_; }

    void SetLearningIndicator(bool on);
    void RecordBoardVersion(const std::string& line);
    void PortLost();
    void StartSequence();

    // The receive log memoRecv.
    int logLineCount() const;
    void clearLog();
    void appendLog(const QString& line);
    QString logText() const { return memoRecv_->toPlainText(); }

    QString statusPanelText(int panel) const { return statusPanels_.at(panel)->text(); }
    QString learningCaption() const { return pnlAnalyze_->text(); }
    bool learningIndicatorLit() const { return pnlAnalyze_->property("lit").toBool(); }

    static constexpr const char* kVersionText = "Ver.20251223";

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildWidgets();

    AppState state_;
    link::BoardLink& link_;
    MessageService& messages_;
    platform::PortLister& ports_;
    std::unique_ptr<MainLineHandlers> lineHandlers_;

    QLabel* pnlAnalyze_ = nullptr;
    QPlainTextEdit* memoRecv_ = nullptr;
    std::array<QLabel*, 3> statusPanels_{};
};

}  // namespace quvan::app
