#include "app/main_window.h"

#include "app/main_line_handlers.h"
#include "link/port_search.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPalette>
#include <QTimer>
#include <QVBoxLayout>

namespace quvan::app {
namespace {

constexpr std::uint32_t kZemOffWaitMs = 1000;
constexpr std::uint32_t kEditionWaitMs = 100;

}  // namespace

TfrmMain::TfrmMain(const QString& applicationTitle, link::BoardLink& link,
                   MessageService& messages, platform::PortLister& ports, QWidget* parent)
    : QMainWindow(parent), link_(link), messages_(messages), ports_(ports),
      lineHandlers_(std::make_unique<MainLineHandlers>(*this)) {
    setObjectName("frmMain");
    state_.StartupDone = false;
    setWindowTitle(applicationTitle + "  [ " + kVersionText + " ]");
    state_.ProEdition = IsProTitle(applicationTitle.toStdString());
    state_.WaveLanes = state_.ProEdition ? 4 : 2;
    buildWidgets();

    connect(&link_, &link::BoardLink::portStatusChanged, this,
            [this](const QString& text) { statusPanels_[0]->setText(text); });
    connect(&link_, &link::BoardLink::deviceRemoved, this, &TfrmMain::PortLost);
    link_.setHandlers(lineHandlers_.get());

    SetLearningIndicator(false);
}

TfrmMain::~TfrmMain() {
    link_.setHandlers(nullptr);
}

void TfrmMain::buildWidgets() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(2, 2, 2, 2);

    auto* strip = new QHBoxLayout;
    pnlAnalyze_ = new QLabel(central);
    pnlAnalyze_->setObjectName("pnlAnalyze");
    pnlAnalyze_->setAlignment(Qt::AlignCenter);
    pnlAnalyze_->setFrameShape(QFrame::Panel);
    pnlAnalyze_->setFrameShadow(QFrame::Raised);
    pnlAnalyze_->setAutoFillBackground(true);
    pnlAnalyze_->setFixedSize(80, 28);
    strip->addWidget(pnlAnalyze_);
    strip->addStretch(1);
    layout->addLayout(strip);

    memoRecv_ = new QPlainTextEdit(central);
    memoRecv_->setObjectName("memoRecv");
    memoRecv_->setReadOnly(true);
    memoRecv_->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(memoRecv_, 1);
    setCentralWidget(central);

    auto* bar = new QStatusBar(this);
    bar->setObjectName("sBar");
    bar->setSizeGripEnabled(false);
    const std::array<int, 3> widths{80, 50, 50};
    for (std::size_t i = 0; i < statusPanels_.size(); ++i) {
        statusPanels_[i] = new QLabel(bar);
        statusPanels_[i]->setMinimumWidth(widths[i]);
        statusPanels_[i]->setFrameShape(QFrame::StyledPanel);
        bar->addWidget(statusPanels_[i], i + 1 == statusPanels_.size() ? 1 : 0);
    }
    statusPanels_[0]->setText("COM:OFF");
    setStatusBar(bar);
    resize(1000, state_.ProEdition ? 900 : 750);
}

void TfrmMain::SetLearningIndicator(bool on) {
    state_.LearningOn = on;
    QPalette palette = pnlAnalyze_->palette();
    palette.setColor(QPalette::Window, on ? QColor(0, 255, 0) : QGuiApplication::palette().color(QPalette::Button));
    pnlAnalyze_->setPalette(palette);
    pnlAnalyze_->setProperty("lit", on);
    pnlAnalyze_->setText(on ? QStringLiteral("学習 On") : QStringLiteral("学習 Off"));
    // Repaint now: the indicator must change even inside a long operation.
    QCoreApplication::processEvents();
}

void TfrmMain::RecordBoardVersion(const std::string& line) {
    const std::string version = VersionField(line);
    if (!version.empty()) {
        state_.BoardVersion = version;
    }
}

void TfrmMain::PortLost() {
    if (!link_.ComPort.PortOpen || link_.ComPort.CommError || messages_.isShowing()) {
        return;
    }
    // Probe: a gone device fails the line-status query and sets CommError.
    link_.SendCommand("");
    if (!link_.ComPort.CommError) {
        return;
    }
    messages_.show(1, QStringLiteral("確認"),
                   QString::fromStdString(link_.ComPort.PortName) +
                       QStringLiteral(" が閉じられました。\n通信ケーブル等を確認して下さい。"));
    link_.ClosePort();
    link_.SetPortSearchActive(false);
    SetLearningIndicator(false);
}

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!state_.StartupDone) {
        // Run after the window has been painted, so the user sees it at once.
        QTimer::singleShot(0, this, [this] {
            if (!state_.StartupDone) {
                StartSequence();
            }
        });
    }
}

void TfrmMain::StartSequence() {
    link::SearchCallbacks callbacks;
    callbacks.boardFound = [this](const std::string& name) {
        appendLog(QString::fromStdString(name));
    };
    link::ConnectBoard(link_, ports_, callbacks);
    if (link_.ComPort.PortOpen) {
        link_.SendCommand("ZEM:off");
        link_.WaitResponse(kZemOffWaitMs);
        state_.StartupDone = true;
        link_.SendCommand(state_.ProEdition ? "Version:Pro" : "Version:STD");
        link_.WaitResponse(kEditionWaitMs);
        link_.SendCommand("T");
    }
    link_.ShowPortStatus();
    state_.StartupDone = true;
}

int TfrmMain::logLineCount() const {
    return memoRecv_->document()->isEmpty() ? 0 : memoRecv_->blockCount();
}

void TfrmMain::clearLog() { memoRecv_->clear(); }

void TfrmMain::appendLog(const QString& line) { memoRecv_->appendPlainText(line); }

}  // namespace quvan::app
