#include "table/ui/read_back_driver.h"

#include "link/board_link.h"
#include "link/board_text.h"
#include "link/port_advice.h"
#include "table/ui/board_reply_watch.h"
#include "table/ui/read_back_progress.h"
#include "table/ui/table_commands.h"
#include "table/ui/table_grid.h"
#include "table/ui/transfer_host.h"

#include <QCheckBox>
#include <QPushButton>

namespace quvan::table_ui {

ReadBackDriver::ReadBackDriver(link::BoardLink& link, LearningTable& table, TableCommands& commands,
                               TransferHost& host, QPushButton& btnTableLoad, QCheckBox& ckPcode,
                               QWidget& window)
    : QObject(&window), link_(link), table_(table), commands_(commands), host_(host),
      btnTableLoad_(btnTableLoad), ckPcode_(ckPcode), window_(window),
      watch_(new BoardReplyWatch(link, this)) {
    btnTableLoad_.setProperty("tag", 0);
    connect(watch_, &BoardReplyWatch::replied, this, [this] {
        if (session_) {
            session_->replyArrived();
            sync();
        }
    });
    connect(watch_, &BoardReplyWatch::timedOut, this, [this] {
        if (session_) {
            session_->waitTimedOut();
            sync();
        }
    });
    connect(watch_, &BoardReplyWatch::lineLost, this, [this] {
        if (session_) {
            session_->lineLost();
        }
    });
}

ReadBackDriver::~ReadBackDriver() = default;

void ReadBackDriver::ReadTableFromBoard() {
    if (running()) {
        return;
    }
    // Without a board nothing could be read: refuse before anything is lost.
    if (!link_.ComPort.PortOpen) {
        host_.showMessage(
            1, tr("Warning"),
            link::WithAdvice(tr("QUVANと通信出来ません。"), link::NoBoardAdvice(link_)));
        return;
    }
    commands_.FileNew();
    if (host_.tableModified()) {
        return; // the user kept the table
    }
    if (host_.showMessage(2, tr("確認"),
                          tr("QUVANのテーブル情報を読込みます。\nよろしいですか？")) != 1) {
        return;
    }
    transfer::ReadBackOptions options;
    options.monitorMode = commands_.monitorMode();
    options.pcode = ckPcode_.isChecked();
    options.proEdition = host_.proEdition();
    transfer::ReadBackEffects& effects = *this;
    session_ = std::make_unique<transfer::ReadBackSession>(table_, options, effects);
    armedSerial_ = -1;
    showRunning(true);
    host_.setLearningIndicator(false);
    session_->start();
    sync();
}

void ReadBackDriver::HandleReadBackLine(const std::string& line) {
    if (session_) {
        session_->handleLine(line);
        sync();
    }
}

void ReadBackDriver::Stop() {
    if (!running()) {
        return;
    }
    if (progress_ != nullptr) {
        progress_->showStopping();
    }
    session_->requestStop();
    sync();
}

void ReadBackDriver::sync() {
    if (!session_ || !session_->running()) {
        watch_->disarm();
        return;
    }
    if (watch_->lineGone()) {
        session_->lineLost();
        return;
    }
    using Wait = transfer::ReadBackSession::Wait;
    if (session_->waiting() == Wait::None) {
        watch_->disarm();
        return;
    }
    if (session_->waitSerial() != armedSerial_) {
        armedSerial_ = session_->waitSerial();
        watch_->arm(session_->waitMs(), session_->waiting() == Wait::Entry);
    }
}

void ReadBackDriver::showRunning(bool running) {
    btnTableLoad_.setProperty("tag", running ? 1 : 0);
    if (!running) {
        if (progress_ != nullptr) {
            progress_->hide();
        }
        return;
    }
    if (progress_ == nullptr) {
        progress_ = new ReadBackProgress(&window_);
        connect(progress_, &ReadBackProgress::stopRequested, this, &ReadBackDriver::Stop);
    }
    progress_->begin(transfer::kReadBackEntries);
}

void ReadBackDriver::sendCommand(const std::string& text) {
    link_.SendCommand(text);
}

void ReadBackDriver::setResponseFlag() {
    link_.SetResponseFlag();
}

void ReadBackDriver::appendLog(const std::string& line) {
    host_.appendLog(link::BoardLineText(line));
}

void ReadBackDriver::setCursor(int row, int column) {
    commands_.grid().setCursor(row, column);
}

void ReadBackDriver::setTableModified() {
    host_.setTableModified(true);
}

void ReadBackDriver::progress(int entry, int total) {
    if (progress_ != nullptr) {
        progress_->showEntry(entry, total);
    }
}

void ReadBackDriver::finished(transfer::TransferOutcome outcome) {
    watch_->disarm();
    showRunning(false);
    if (outcome == transfer::TransferOutcome::LineLost) {
        host_.reportLineLost();
    } else {
        const transfer::TransferMessage message = session_->outcomeMessage();
        host_.showMessage(message.kind, QString::fromStdString(message.caption),
                          QString::fromStdString(message.text));
    }
    emit readBackFinished(outcome);
}

} // namespace quvan::table_ui
