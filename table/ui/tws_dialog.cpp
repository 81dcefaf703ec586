#include "table/ui/tws_dialog.h"

#include "link/board_link.h"
#include "table/ui/board_reply_watch.h"
#include "table/ui/table_grid.h"
#include "table/ui/transfer_host.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace quvan::table_ui {

TfrmTws::TfrmTws(link::BoardLink& link, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), link_(link),
      watch_(new BoardReplyWatch(link, this)) {
    setObjectName("frmTws");
    setModal(true);
    setWindowTitle(tr("QUVAN Learning Table Write"));

    auto* top = new QWidget(this);
    top->setObjectName("pnlTop");
    Label1 = new QLabel(tr("学習情報をＱＵＶＡＮに登録します。"), top);
    Label1->setObjectName("Label1");
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label1->setStyleSheet("color: blue;");

    auto* range = new QGroupBox(tr("登録範囲"), top);
    range->setObjectName("GroupBox1");
    rbWriteAll = new QRadioButton(tr("全ての行を登録"), range);
    rbWriteAll->setObjectName("rbWriteAll");
    rbWriteOne = new QRadioButton(tr("現カーソル行のみ登録"), range);
    rbWriteOne->setObjectName("rbWriteOne");
    auto* rangeLayout = new QVBoxLayout(range);
    rangeLayout->addWidget(rbWriteAll);
    rangeLayout->addWidget(rbWriteOne);
    rbWriteAll->setChecked(true);

    auto* blanks = new QGroupBox(tr("空白行の処理"), top);
    blanks->setObjectName("GroupBox2");
    rbSpcSkip = new QRadioButton(tr("空白行はスキップ"), blanks);
    rbSpcSkip->setObjectName("rbSpcSkip");
    rbSpcDel = new QRadioButton(tr("空白行は削除"), blanks);
    rbSpcDel->setObjectName("rbSpcDel");
    auto* blanksLayout = new QVBoxLayout(blanks);
    blanksLayout->addWidget(rbSpcSkip);
    blanksLayout->addWidget(rbSpcDel);
    rbSpcSkip->setChecked(true);

    btnExecute = new QPushButton(tr("登録実行"), top);
    btnExecute->setObjectName("btnExecute");
    btnExecute->setDefault(true);
    btnCancel = new QPushButton(tr("中止"), top);
    btnCancel->setObjectName("btnCancel");
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(btnExecute);
    buttons->addWidget(btnCancel);
    buttons->addStretch(1);

    lblStartMsg =
        new QLabel(tr("準備ができましたら、「登録実行」ボタンをクリックして下さい。"), top);
    lblStartMsg->setObjectName("lblStartMsg");

    auto* choices = new QHBoxLayout;
    choices->addWidget(range);
    choices->addWidget(blanks);
    choices->addLayout(buttons);
    auto* topLayout = new QVBoxLayout(top);
    topLayout->addWidget(Label1);
    topLayout->addLayout(choices);
    topLayout->addWidget(lblStartMsg);

    sBar = new QStatusBar(this);
    sBar->setObjectName("sBar");
    sBar->setSizeGripEnabled(false);
    const int widths[2] = {80, 100};
    for (std::size_t i = 0; i < sBarPanels.size(); ++i) {
        sBarPanels[i] = new QLabel(sBar);
        sBarPanels[i]->setFixedWidth(widths[i]);
        sBar->addWidget(sBarPanels[i]);
    }
    pgWrite = new QProgressBar(sBar);
    pgWrite->setObjectName("pgWrite");
    pgWrite->setTextVisible(true);
    sBar->addWidget(pgWrite, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(top);
    layout->addWidget(sBar);
    // The client area is the top panel plus the status bar, and stays so.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(btnExecute, &QPushButton::clicked, this, &TfrmTws::Execute);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmTws::Cancel);
    connect(watch_, &BoardReplyWatch::replied, this, [this] {
        if (run_) {
            run_->ackReceived();
            afterStep();
        }
    });
    connect(watch_, &BoardReplyWatch::timedOut, this, [this] {
        if (run_) {
            run_->ackTimedOut();
            afterStep();
        }
    });
    connect(watch_, &BoardReplyWatch::lineLost, this, [this] {
        if (run_) {
            run_->lineLost();
            afterStep();
        }
    });
}

TfrmTws::~TfrmTws() = default;

void TfrmTws::attach(LearningTable& table, TableGrid& grid, TransferHost& host) {
    table_ = &table;
    grid_ = &grid;
    host_ = &host;
}

void TfrmTws::showEvent(QShowEvent* event) {
    if (running()) {
        QDialog::showEvent(event);
        return;
    }
    btnExecute->setText(tr("登録実行"));
    btnExecute->setEnabled(true);
    lblStartMsg->show();
    for (QLabel* panel : sBarPanels) {
        panel->clear();
    }
    pgWrite->setRange(0, 1);
    pgWrite->setValue(0);
    pgWrite->setFormat(QString());
    QDialog::showEvent(event);
    btnExecute->setFocus();
}

void TfrmTws::Execute() {
    if (running() || table_ == nullptr) {
        return; // a stop is on its way; the run ends by itself
    }
    btnExecute->setEnabled(false);
    lblStartMsg->hide();
    sBarPanels[0]->setText(tr("登録中…"));

    transfer::RegistrationOptions options;
    options.writeAll = rbWriteAll->isChecked();
    options.eraseBlank = rbSpcDel->isChecked();
    options.cursorRow = std::max(1, grid_->cursorRow());
    options.boardVersion = host_->boardVersion();
    transfer::RegistrationEffects& effects = *this;
    run_ = std::make_unique<transfer::RegistrationRun>(*table_, options, effects);
    run_->start();
    afterStep();
}

void TfrmTws::Cancel() {
    if (!running()) {
        QDialog::reject();
        return;
    }
    // The row on its way is finished; the run ends after its reply.
    btnExecute->setEnabled(true);
    lblStartMsg->show();
    sBarPanels[0]->setText(tr("中止します…"));
    run_->requestStop();
}

void TfrmTws::reject() {
    Cancel();
}

void TfrmTws::afterStep() {
    if (!run_->finished() && watch_->lineGone()) {
        run_->lineLost();
    }
    if (run_->finished()) {
        end();
        return;
    }
    if (run_->awaitingAck()) {
        watch_->arm(transfer::RegistrationRun::kAckWaitMs);
    }
}

void TfrmTws::end() {
    watch_->disarm();
    const transfer::TransferOutcome outcome = run_->outcome();
    sBarPanels[0]->clear();
    if (outcome == transfer::TransferOutcome::LineLost) {
        host_->reportLineLost();
    } else {
        const transfer::TransferMessage message = run_->outcomeMessage();
        host_->showMessage(message.kind, QString::fromStdString(message.caption),
                           QString::fromStdString(message.text));
    }
    btnExecute->setEnabled(true);
    emit runFinished(outcome);
    accept();
}

void TfrmTws::sendCommand(const std::string& text) {
    link_.SendCommand(text);
}

void TfrmTws::setCursor(int row, int column) {
    grid_->setCursor(row, column);
}

void TfrmTws::showStoreCommand(const std::string& text) {
    sBarPanels[1]->setText(QString::fromStdString(text));
}

void TfrmTws::rowStarted(int /*row*/, int ordinal, int total) {
    pgWrite->setRange(0, std::max(total, 1));
    pgWrite->setValue(ordinal);
    pgWrite->setFormat(tr("%1 / %2 行").arg(ordinal).arg(total));
}

} // namespace quvan::table_ui
