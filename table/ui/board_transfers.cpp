#include "table/ui/board_transfers.h"

#include "link/board_link.h"
#include "link/port_advice.h"
#include "table/ui/read_back_driver.h"
#include "table/ui/transfer_host.h"
#include "table/ui/tws_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace quvan::table_ui {

BoardTransfers::BoardTransfers(link::BoardLink& link, LearningTable& table, TableCommands& commands,
                               TfrmTws& frmTws, TransferHost& host, TransferControls controls,
                               QWidget& window)
    : QObject(&window), link_(link), table_(table), commands_(commands), frmTws_(frmTws),
      host_(host), c_(controls),
      readBack_(new ReadBackDriver(link, table, commands, host, *controls.btnTableLoad,
                                   *controls.ckPcode, window)) {
    wire();
}

BoardTransfers::~BoardTransfers() = default;

void BoardTransfers::wire() {
    connect(c_.btnTableWrite, &QPushButton::clicked, this, &BoardTransfers::RegisterTable);
    connect(c_.btnTableLoad, &QPushButton::clicked, this, &BoardTransfers::ReadTableFromBoard);
    connect(c_.btnTest, &QPushButton::clicked, this, &BoardTransfers::TestFire);
    connect(c_.btnSend, &QPushButton::clicked, this, &BoardTransfers::SendText);
    connect(c_.btnRecvClear, &QPushButton::clicked, this, [this] { host_.clearLog(); });
    // Enter in the command box moves the focus here; the next Enter sends.
    c_.btnSend->setAutoDefault(true);
    c_.cmbSendText->installEventFilter(this);
    if (QLineEdit* edit = c_.cmbSendText->lineEdit()) {
        edit->installEventFilter(this);
    }
    c_.memoRecv->viewport()->installEventFilter(this);
}

bool BoardTransfers::readBackRunning() const {
    return readBack_->running();
}

void BoardTransfers::HandleReadBackLine(const std::string& line) {
    readBack_->HandleReadBackLine(line);
}

bool BoardTransfers::portOpenOrWarn() {
    if (link_.ComPort.PortOpen) {
        return true;
    }
    host_.showMessage(1, tr("Warning"),
                      link::WithAdvice(tr("QUVANと通信出来ません。"), link::NoBoardAdvice(link_)));
    return false;
}

void BoardTransfers::RegisterTable() {
    if (readBack_->running() || !portOpenOrWarn()) {
        return;
    }
    host_.clearLog();
    host_.setLearningIndicator(false);
    frmTws_.rbWriteAll->setChecked(true);
    frmTws_.rbSpcSkip->setChecked(true);
    frmTws_.exec();
}

void BoardTransfers::ReadTableFromBoard() {
    readBack_->ReadTableFromBoard();
}

bool BoardTransfers::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        (watched == c_.cmbSendText || watched == c_.cmbSendText->lineEdit())) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            SendTextEntered();
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonDblClick && watched == c_.memoRecv->viewport()) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        const int position = c_.memoRecv->cursorForPosition(at).position();
        // The log handles the double-click first (it selects a word); the
        // firing command replaces that selection afterwards.
        QTimer::singleShot(0, this, [this, position] { LogDoubleClicked(position); });
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quvan::table_ui
