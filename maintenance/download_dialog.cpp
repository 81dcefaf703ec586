#include "maintenance/download_dialog.h"

#include "link/board_text.h"
#include "link/port_advice.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace quvan::maintenance {
namespace {

constexpr int kDialogWidth = 560;
constexpr int kConsoleHeight = 400;
// Where the status bar's click zones end, from the right edges of panels 2
// and 3: panel 1 and most of panel 2 open the communication settings, the
// end of panel 3 and panel 4 open or fold the console. With panels of 60, 70
// and 100 pixels these are 120 and 220.
constexpr int kZoneInset = 10;
// While someone else's message box is up, the send waits this long between looks.
constexpr int kForeignMessagePauseMs = 100;

QTimer* SingleShot(QObject* parent, int ms = 0) {
    auto* timer = new QTimer(parent);
    timer->setSingleShot(true);
    timer->setInterval(ms);
    return timer;
}

} // namespace

void DownloadStatusBar::mousePressEvent(QMouseEvent* event) {
    event->accept(); // so the release comes here too
}

void DownloadStatusBar::mouseReleaseEvent(QMouseEvent* event) {
    emit released(event->position().toPoint().x());
}

TfrmDownload::TfrmDownload(link::BoardLink& link, MaintenanceHost& host, QWidget* mainWindow)
    : QDialog(mainWindow), link_(link), host_(host), firmware_(*this) {
    setObjectName("frmDownload");
    setWindowTitle(tr("Firmware Update"));
    BuildControls();

    // FormCreate
    memoDownload->clear();
    cmbCmd->clear();

    tmAutoStart = SingleShot(this, FirmwareUpdate::kAutoStartMs);
    tmAutoStart->setObjectName("tmAutoStart");
    startWait_ = SingleShot(this);
    loaderWait_ = SingleShot(this);
    nextRecord_ = SingleShot(this);
    drain_ = SingleShot(this);
    connect(drain_, &QTimer::timeout, this, [this] { firmware_.TimerFired(FirmwareTimer::Drain); });
    connect(tmAutoStart, &QTimer::timeout, this,
            [this] { firmware_.TimerFired(FirmwareTimer::AutoStart); });
    connect(startWait_, &QTimer::timeout, this,
            [this] { firmware_.TimerFired(FirmwareTimer::StartWait); });
    connect(loaderWait_, &QTimer::timeout, this,
            [this] { firmware_.TimerFired(FirmwareTimer::LoaderWait); });
    connect(nextRecord_, &QTimer::timeout, this, [this] {
        // A message box of the main window (a lost port, say) is answered
        // before the next record goes out.
        if (host_.messageShowing()) {
            nextRecord_->start(kForeignMessagePauseMs);
            return;
        }
        firmware_.TimerFired(FirmwareTimer::NextRecord);
    });

    connect(btnDownload, &QPushButton::clicked, this, &TfrmDownload::btnDownloadClick);
    connect(btnFile, &QPushButton::clicked, this, &TfrmDownload::btnFileClick);
    connect(btnSend, &QPushButton::clicked, this, &TfrmDownload::btnSendClick);
    connect(btnClear, &QPushButton::clicked, memoDownload, &QPlainTextEdit::clear);
    connect(sBar, &DownloadStatusBar::released, this, &TfrmDownload::sBarMouseUp);
    connect(&link_, &link::BoardLink::portStatusChanged, sBarPanels[0],
            [this](const QString& text) {
                sBarPanels[0]->setText(text);
                sBarPanels[0]->setToolTip(text);
            });
    connect(&link_, &link::BoardLink::deviceRemoved, this, [this] {
        if (isVisible())
            firmware_.LineLost();
    });
    hide();
}

TfrmDownload::~TfrmDownload() = default;

void TfrmDownload::BuildControls() {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    pnlTop = new QWidget(this);
    pnlTop->setObjectName("pnlTop");
    auto* top = new QGridLayout(pnlTop);
    top->setContentsMargins(8, 8, 8, 6);
    top->setHorizontalSpacing(0);
    top->setVerticalSpacing(6);
    btnDownload = new QPushButton(tr("Download"), pnlTop);
    btnDownload->setObjectName("btnDownload");
    btnDownload->setMinimumWidth(90);
    pnlHex = new QLabel(pnlTop);
    pnlHex->setObjectName("pnlHex");
    pnlHex->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pnlHex->setTextInteractionFlags(Qt::TextSelectableByMouse);
    pnlHex->setMinimumWidth(120);
    btnFile = new QPushButton(tr("File"), pnlTop);
    btnFile->setObjectName("btnFile");
    lblMsg = new QLabel(tr("Now Erasing ..."), pnlTop);
    lblMsg->setObjectName("lblMsg");
    lblMsg->setStyleSheet("color: red;");
    prgBar = new QProgressBar(pnlTop);
    prgBar->setObjectName("prgBar");
    prgBar->setTextVisible(false);
    // pnlHex sits 8 pixels right of btnDownload with its right edge 16
    // pixels left of btnFile; the progress bar shares its left edge and width.
    top->addWidget(btnDownload, 0, 0);
    top->setColumnMinimumWidth(1, 8);
    top->addWidget(pnlHex, 0, 2);
    top->setColumnMinimumWidth(3, 16);
    top->addWidget(btnFile, 0, 4);
    top->setColumnStretch(2, 1);
    top->addWidget(lblMsg, 1, 2);
    top->addWidget(prgBar, 1, 2);
    // They come and go during an update; the panel keeps its shape meanwhile.
    for (QWidget* shifting : {static_cast<QWidget*>(lblMsg), static_cast<QWidget*>(prgBar)}) {
        QSizePolicy policy = shifting->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        shifting->setSizePolicy(policy);
    }
    top->setRowMinimumHeight(1, prgBar->sizeHint().height());
    outer->addWidget(pnlTop);

    pnlRecv = new QWidget(this);
    pnlRecv->setObjectName("pnlRecv");
    auto* console = new QHBoxLayout(pnlRecv);
    console->setContentsMargins(8, 2, 8, 4);
    btnClear = new QPushButton(tr("Log Clear"), pnlRecv);
    btnClear->setObjectName("btnClear");
    btnSend = new QPushButton(tr("Send"), pnlRecv);
    btnSend->setObjectName("btnSend");
    cmbCmd = new QComboBox(pnlRecv);
    cmbCmd->setObjectName("cmbCmd");
    cmbCmd->setEditable(true);
    cmbCmd->setInsertPolicy(QComboBox::NoInsert);
    cmbCmd->lineEdit()->installEventFilter(this);
    lblRstWait = new QLabel(tr("Reset to Wait"), pnlRecv);
    edtRstWait = new QLineEdit(pnlRecv);
    edtRstWait->setObjectName("edtRstWait");
    edtRstWait->setFixedWidth(50);
    edtRstWait->setAlignment(Qt::AlignRight);
    lblRstWaitUnit = new QLabel(tr("mS"), pnlRecv);
    console->addWidget(btnClear);
    console->addWidget(btnSend);
    console->addWidget(cmbCmd, 1);
    console->addSpacing(8);
    console->addWidget(lblRstWait);
    console->addWidget(edtRstWait);
    console->addWidget(lblRstWaitUnit);
    outer->addWidget(pnlRecv);

    memoDownload = new QPlainTextEdit(this);
    memoDownload->setObjectName("memoDownload");
    memoDownload->setReadOnly(true);
    memoDownload->setLineWrapMode(QPlainTextEdit::NoWrap);
    outer->addWidget(memoDownload, 1);

    sBar = new DownloadStatusBar(this);
    sBar->setObjectName("sBar");
    sBar->setSizeGripEnabled(false);
    // Panels 1 and 2 are wider than 60 and 70 pixels so that Linux port
    // names (ttyUSB0, a simulator's /dev/pts/5) and the speed fit.
    const std::array<int, 4> widths = {90, 80, 100, 50};
    const std::array<const char*, 4> texts = {"COM6", "115200bps", "", ""};
    for (std::size_t i = 0; i < sBarPanels.size(); ++i) {
        auto* panel = new QLabel(QString::fromLatin1(texts[i]), sBar);
        panel->setObjectName(QStringLiteral("sBarPanel%1").arg(i + 1));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setMinimumWidth(widths[i]);
        panel->setMargin(1);
        if (i + 1 < sBarPanels.size())
            panel->setFixedWidth(widths[i]);
        // Clicks belong to the bar, which decides by position.
        panel->setAttribute(Qt::WA_TransparentForMouseEvents);
        sBar->addWidget(panel, i + 1 == sBarPanels.size() ? 1 : 0);
        sBarPanels[i] = panel;
    }
    outer->addWidget(sBar);
    setTabOrder(btnDownload, btnFile);
}

void TfrmDownload::showEvent(QShowEvent* event) {
    // FormShow: every showing starts idle, with the console folded.
    firmware_.Show(host_.hexFilePath());
    setWindowTitle(tr("Firmware Update"));
    pnlHex->setText(QString::fromStdString(firmware_.hexPath()));
    sBarPanels[0]->setText(link_.ComPort.PortOpen ? QString::fromStdString(link_.ComPort.PortName)
                                                  : tr("COM:OFF"));
    sBarPanels[0]->setToolTip(sBarPanels[0]->text());
    Fold();
    edtRstWait->setText("500");
    QDialog::showEvent(event);
    btnDownload->setFocus();
}

void TfrmDownload::reject() {
    // Closing halfway through the records would leave the board half
    // written: the send has to end (or be stopped) first.
    if (firmware_.sending()) {
        return;
    }
    firmware_.Abandon();
    QDialog::reject();
}

bool TfrmDownload::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cmbCmd->lineEdit() && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            btnSend->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmDownload::Fold() {
    SetConsoleOpen(false);
}

void TfrmDownload::SetConsoleOpen(bool open) {
    consoleOpen_ = open;
    pnlRecv->setVisible(open);
    memoDownload->setVisible(open);
    layout()->activate();
    if (open) {
        setMinimumSize(kDialogWidth, pnlTop->sizeHint().height() + sBar->sizeHint().height() + 80);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        resize(std::max(width(), kDialogWidth), kConsoleHeight);
    } else {
        // The log has no room: the dialog is the top panel and the status bar.
        const int height = pnlTop->sizeHint().height() + sBar->sizeHint().height();
        setFixedSize(std::max(width(), kDialogWidth), height);
    }
}

void TfrmDownload::AddCommandHistory(const QString& text) {
    for (int i = 0; i < cmbCmd->count(); ++i)
        if (cmbCmd->itemText(i) == text)
            return;
    cmbCmd->addItem(text);
}

QString TfrmDownload::statusPanelText(int panel) const {
    return sBarPanels.at(static_cast<std::size_t>(panel))->text();
}

QString TfrmDownload::logText() const {
    return memoDownload->toPlainText();
}

void TfrmDownload::HandleLoaderLine(const std::string& line) {
    firmware_.HandleLoaderLine(line);
}

void TfrmDownload::btnDownloadClick() {
    firmware_.DownloadClick();
}

void TfrmDownload::btnFileClick() {
    const std::optional<QString> chosen = host_.chooseFile(kFirmwareFileFilter, pnlHex->text());
    if (chosen) {
        pnlHex->setText(*chosen);
        const std::string path = chosen->toStdString();
        host_.setHexFilePath(path);
        firmware_.FileChosen(path);
    }
    btnDownload->setFocus();
}

void TfrmDownload::btnSendClick() {
    const QString text = cmbCmd->currentText();
    if (text.isEmpty())
        return;
    link_.SendCommand(text.toStdString());
    AddCommandHistory(text);
}

void TfrmDownload::sBarMouseUp(int x) {
    const int settingsZoneEnd = sBarPanels[1]->geometry().right() + 1 - kZoneInset;
    const int consoleZoneStart = sBarPanels[2]->geometry().right() + 1 - kZoneInset;
    if (x < settingsZoneEnd)
        host_.communicationSettings();
    else if (x > consoleZoneStart)
        SetConsoleOpen(!consoleOpen_);
}

QTimer* TfrmDownload::TimerOf(FirmwareTimer timer) const {
    switch (timer) {
    case FirmwareTimer::StartWait:
        return startWait_;
    case FirmwareTimer::AutoStart:
        return tmAutoStart;
    case FirmwareTimer::LoaderWait:
        return loaderWait_;
    case FirmwareTimer::NextRecord:
        return nextRecord_;
    case FirmwareTimer::Drain:
        return drain_;
    }
    return nullptr;
}

bool TfrmDownload::portOpen() const {
    return link_.ComPort.PortOpen;
}

bool TfrmDownload::connectBoard() {
    return host_.connectBoard();
}

std::string TfrmDownload::noBoardAdvice() const {
    return link::NoBoardAdvice(link_).toStdString();
}

bool TfrmDownload::sendCommand(const std::string& text) {
    return link_.SendCommand(text) && !link_.ComPort.CommError;
}

bool TfrmDownload::portSearchActive() const {
    return link_.PortSearchActive();
}

int TfrmDownload::outputPending() {
    return link_.OutputPending();
}

void TfrmDownload::setResponseFlag() {
    link_.SetResponseFlag();
}

void TfrmDownload::startTimer(FirmwareTimer timer, int ms) {
    TimerOf(timer)->start(ms);
}

void TfrmDownload::stopTimer(FirmwareTimer timer) {
    TimerOf(timer)->stop();
}

std::string TfrmDownload::resetWaitText() const {
    return edtRstWait->text().toStdString();
}

void TfrmDownload::setBusy(bool busy) {
    btnDownload->setText(busy ? tr("Busy") : tr("Download"));
    btnDownload->setStyleSheet(busy ? "color: blue;" : "");
}

void TfrmDownload::setFileEnabled(bool enabled) {
    btnFile->setEnabled(enabled);
}

void TfrmDownload::setEraseNoticeVisible(bool visible) {
    lblMsg->setVisible(visible);
}

void TfrmDownload::setProgressVisible(bool visible) {
    prgBar->setVisible(visible);
}

void TfrmDownload::setProgressRange(int maximum) {
    prgBar->setRange(0, maximum);
}

void TfrmDownload::setProgress(int position) {
    prgBar->setValue(position);
}

void TfrmDownload::setLoadAddress(const std::string& text) {
    sBarPanels[2]->setText(link::BoardLineText(text));
}

void TfrmDownload::setStatus(const std::string& text) {
    sBarPanels[3]->setText(link::BoardLineText(text));
    sBarPanels[3]->setToolTip(sBarPanels[3]->text());
}

void TfrmDownload::appendLog(const std::string& line) {
    memoDownload->appendPlainText(link::BoardLineText(line));
}

void TfrmDownload::clearLog() {
    memoDownload->clear();
}

void TfrmDownload::closeDialog() {
    accept();
}

void TfrmDownload::playSound(FirmwareSound sound) {
    host_.playSound(sound);
}

int TfrmDownload::showMessage(int kind, const std::string& caption, const std::string& text) {
    return host_.showMessage(kind, QString::fromStdString(caption), QString::fromStdString(text));
}

void TfrmDownload::answerMessageWithOk() {
    host_.answerMessageWithOk();
}

} // namespace quvan::maintenance
