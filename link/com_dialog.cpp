#include "link/com_dialog.h"

#include "link/framing.h"
#include "link/port_advice.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTimer>
#include <algorithm>
#include <optional>

namespace quvan::link {
namespace {

QComboBox* ListBox(QWidget* parent, const char* name, QRect geometry, const QStringList& items) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(items);
    box->setGeometry(geometry);
    return box;
}

QLabel* Caption(QWidget* parent, const QString& text, QRect geometry) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    return label;
}

// The head or delimiter name the record keeps: the first item, "nothing",
// shows in the window's language but is stored as "無し" whatever the language.
std::string StoredName(const QComboBox* box) {
    if (box->currentIndex() == 0 && box->currentText() == box->itemText(0))
        return "無し";
    return box->currentText().toStdString();
}

// A decimal integer as the user typed it; nothing when it is not one.
std::optional<int> DecimalInteger(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

} // namespace

TfrmCom::TfrmCom(BoardLink& link, platform::PortLister& ports, QWidget* mainWindow)
    : QDialog(mainWindow), link_(link), ports_(ports), mainWindow_(mainWindow) {
    setObjectName("frmCom");
    setWindowTitle(tr("ComPort Setting"));
    BuildControls();
    FitPortField();
    connect(cmbPort, &QComboBox::editTextChanged, this, &TfrmCom::FitPortField);
    // A refused port is listed with its reason; however it is chosen (list,
    // keys), the field gets its bare name.
    connect(cmbPort, &QComboBox::editTextChanged, this, [this](const QString& text) {
        const int item = cmbPort->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
        const QVariant name = item >= 0 ? cmbPort->itemData(item) : QVariant();
        if (name.isValid() && name.toString() != text) {
            cmbPort->setEditText(name.toString());
        }
    });
    connect(btnOk, &QPushButton::clicked, this, &TfrmCom::btnOkClick);
    connect(btnEsc, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnPort, &QPushButton::clicked, this, &TfrmCom::btnPortClick);
}

void TfrmCom::BuildControls() {
    gbComPara_ = new QGroupBox(tr("通信条件"), this);
    QGroupBox* gbComPara = gbComPara_;
    gbComPara->setObjectName("gbComPara");
    gbComPara->setGeometry(8, 6, 170, 170);
    btnPort = new QPushButton(tr("接続ﾎﾟｰﾄ"), gbComPara);
    btnPort->setObjectName("btnPort");
    btnPort->setFlat(true);
    btnPort->setGeometry(6, 22, 74, 22);
    cmbPort = ListBox(gbComPara, "cmbPort", {84, 22, 78, 22},
                      {"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8"});
    Caption(gbComPara, tr("ﾎﾞｰﾚｰﾄ"), {10, 52, 70, 18});
    cmbBps =
        ListBox(gbComPara, "cmbBps", {84, 50, 78, 22},
                {"1200", "2400", "4800", "9600", "19200", "38400", "57600", "76800", "115200"});
    Caption(gbComPara, tr("ﾃﾞｰﾀﾋﾞｯﾄ"), {10, 80, 70, 18});
    cmbDataBit = ListBox(gbComPara, "cmbDataBit", {84, 78, 78, 22}, {"7", "8"});
    Caption(gbComPara, tr("ﾊﾟﾘﾃｨﾁｪｯｸ"), {10, 108, 74, 18});
    cmbParity = ListBox(gbComPara, "cmbParity", {84, 106, 78, 22}, {"NON", "ODD", "EVEN"});
    Caption(gbComPara, tr("ｽﾄｯﾌﾟﾋﾞｯﾄ"), {10, 136, 70, 18});
    cmbStopBit = ListBox(gbComPara, "cmbStopBit", {84, 134, 78, 22}, {"1", "2"});

    gbSend_ = new QGroupBox(tr("送信条件"), this);
    QGroupBox* gbSend = gbSend_;
    gbSend->setObjectName("gbSend");
    gbSend->setGeometry(184, 6, 168, 82);
    Caption(gbSend, tr("ﾍｯﾀﾞｰ"), {8, 24, 50, 18});
    // "無し" is what the record and the settings file keep for "nothing";
    // the list shows it in the window's language (see StoredName).
    cmbSendHead = ListBox(gbSend, "cmbSendHead", {60, 22, 70, 22}, {tr("無し"), "STX"});
    Caption(gbSend, tr("Hex"), {134, 24, 30, 18});
    Caption(gbSend, tr("ﾃﾞﾘﾐﾀ"), {8, 52, 50, 18});
    const QStringList delimiters{tr("無し"), "ETX", "CR", "LF", "CRLF"};
    cmbSendDlmt = ListBox(gbSend, "cmbSendDlmt", {60, 50, 70, 22}, delimiters);
    Caption(gbSend, tr("Hex"), {134, 52, 30, 18});

    gbRecv_ = new QGroupBox(tr("受信条件"), this);
    QGroupBox* gbRecv = gbRecv_;
    gbRecv->setObjectName("gbRecv");
    gbRecv->setGeometry(184, 94, 168, 82);
    Caption(gbRecv, tr("ﾃﾞﾘﾐﾀ"), {8, 24, 50, 18});
    cmbRecvDlmt = ListBox(gbRecv, "cmbRecvDlmt", {60, 22, 70, 22}, delimiters);
    Caption(gbRecv, tr("Hex"), {134, 24, 30, 18});
    Caption(gbRecv, tr("ﾀｲﾑｱｳﾄ"), {8, 52, 50, 18});
    edtRecvTout = new QLineEdit(gbRecv);
    edtRecvTout->setObjectName("edtRecvTout");
    edtRecvTout->setGeometry(60, 50, 70, 22);
    Caption(gbRecv, tr("mSec"), {134, 52, 34, 18});

    groupBox1_ = new QGroupBox(tr("赤外出力完了コード"), this);
    QGroupBox* groupBox1 = groupBox1_;
    groupBox1->setObjectName("GroupBox1");
    groupBox1->setGeometry(8, 182, 344, 82);
    rbACK = new QRadioButton(tr(" ACK (0x06)"), groupBox1);
    rbACK->setObjectName("rbACK");
    rbACK->setGeometry(12, 24, 320, 20);
    rbCRLF = new QRadioButton(tr("”ACK”+CRLF (0x0D,0x0A)"), groupBox1);
    rbCRLF->setObjectName("rbCRLF");
    rbCRLF->setGeometry(12, 50, 320, 20);

    btnOk = new QPushButton(tr("設定"), this);
    btnOk->setObjectName("btnOk");
    btnOk->setGeometry(186, 280, 80, 28);
    btnOk->setDefault(true);
    btnEsc = new QPushButton(tr("ｷｬﾝｾﾙ"), this);
    btnEsc->setObjectName("btnEsc");
    btnEsc->setGeometry(272, 280, 80, 28);
}

int TfrmCom::Message(int kind, const QString& caption, const QString& text) {
    return showMessage_ ? showMessage_(kind, caption, text) : 2;
}

void TfrmCom::LoadFromRecord() {
    const RS232C& port = link_.ComPort;
    cmbPort->setCurrentText(QString::fromStdString(port.PortName));
    cmbBps->setCurrentText(QString::number(port.BaudRate));
    cmbDataBit->setCurrentText(QString::number(port.ByteSize));
    cmbStopBit->setCurrentText(QString::number(port.StopBits));
    cmbParity->setCurrentText(QString::fromStdString(port.Parity));
    cmbSendHead->setCurrentIndex(HeadIndex(port.SendHead));
    cmbSendDlmt->setCurrentIndex(DlmtIndex(port.SendDlmt));
    cmbRecvDlmt->setCurrentIndex(DlmtIndex(port.RecvDlmt));
    edtRecvTout->setText(QString::number(port.RecvTout));
}

void TfrmCom::FitPortField() {
    // Port names on this system are paths ("/dev/ttyUSB0", "/dev/pts/3",
    // "/dev/serial/by-id/..."): the field widens, and the dialog with it, so
    // that the whole name shows rather than its last characters.
    constexpr int kFieldWidth = 78;
    QStyleOptionComboBox option;
    option.initFrom(cmbPort);
    option.editable = true;
    option.rect = QRect(0, 0, kFieldWidth, cmbPort->height());
    const QRect edit = cmbPort->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                        QStyle::SC_ComboBoxEditField, cmbPort);
    // The line edit keeps a small margin on each side and room for the cursor.
    const int chrome = kFieldWidth - edit.width() + 8;
    int needed = cmbPort->fontMetrics().horizontalAdvance(cmbPort->currentText()) + chrome;
    if (const QScreen* screen = this->screen())
        needed = std::min(needed, screen->availableGeometry().width() - 360);
    const int extra = std::max(0, needed - kFieldWidth);
    cmbPort->resize(kFieldWidth + extra, cmbPort->height());
    cmbPort->setToolTip(cmbPort->currentText());
    gbComPara_->resize(170 + extra, gbComPara_->height());
    gbSend_->move(184 + extra, gbSend_->y());
    gbRecv_->move(184 + extra, gbRecv_->y());
    groupBox1_->resize(344 + extra, groupBox1_->height());
    btnOk->move(186 + extra, btnOk->y());
    btnEsc->move(272 + extra, btnEsc->y());
    setFixedSize(360 + extra, 318);
}

void TfrmCom::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        LoadFromRecord();
        SetAdvancedEnabled(false);
        (*irAck_ ? rbACK : rbCRLF)->setChecked(true);
        if (mainWindow_ != nullptr) {
            const QRect main = mainWindow_->frameGeometry();
            move(main.left() + (main.width() - width()) / 2,
                 main.top() + (main.height() - height()) / 2);
        }
    }
    QDialog::showEvent(event);
    // Each showing searches the ports once, as soon as the dialog is up.
    if (searchTag_ == 0) {
        QTimer::singleShot(0, this, [this] {
            if (searchTag_ == 0 && isVisible()) {
                searchTag_ = 1;
                SearchPort(true);
            }
        });
    }
}

void TfrmCom::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous()) {
        searchTag_ = 0;
    }
}

void TfrmCom::mouseDoubleClickEvent(QMouseEvent* event) {
    QDialog::mouseDoubleClickEvent(event);
    SetAdvancedEnabled(!cmbDataBit->isEnabled());
}

void TfrmCom::SetAdvancedEnabled(bool on) {
    for (QWidget* widget :
         std::initializer_list<QWidget*>{cmbDataBit, cmbStopBit, cmbParity, cmbSendHead,
                                         cmbSendDlmt, cmbRecvDlmt, edtRecvTout}) {
        widget->setEnabled(on);
    }
    if (systemPathVisible_) {
        systemPathVisible_(on);
    }
}

bool TfrmCom::SearchPort(bool fillList) {
    SearchCallbacks callbacks;
    const QString typed = cmbPort->currentText();
    link_.forgetPermissionRefusal(); // a new attempt to reach the board
    if (fillList) {
        cmbPort->clear();
        cmbPort->setCurrentText(typed);
        callbacks.portOpened = [this](const std::string& name) {
            cmbPort->addItem(QString::fromStdString(name));
        };
        // A port that is there but cannot be had is listed as such, so the
        // user sees why the board on it is not found.
        callbacks.portRefused = [this](const std::string& name, const platform::OpenError& why) {
            cmbPort->addItem(RefusedPortLabel(name, why), QString::fromStdString(name));
            const int item = cmbPort->count() - 1;
            cmbPort->setItemData(item, OpenFailureAdvice(why), Qt::ToolTipRole);
            cmbPort->setItemData(item, palette().color(QPalette::Disabled, QPalette::Text),
                                 Qt::ForegroundRole);
        };
    }
    callbacks.boardFound = boardFound_;
    const bool found = link::SearchPort(link_, ports_, callbacks);
    cmbPort->setCurrentText(typed); // the search leaves the typed port alone
    if (fillList) {
        // The drop-down list is as wide as its longest entry, so that a
        // reason such as "(アクセス権なし)" is read whole, not elided.
        int widest = 0;
        for (int i = 0; i < cmbPort->count(); ++i)
            widest = std::max(widest, cmbPort->fontMetrics().horizontalAdvance(cmbPort->itemText(i)));
        const int margins = cmbPort->view()->frameWidth() * 2 + 16 +
                            cmbPort->view()->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        cmbPort->view()->setMinimumWidth(widest + margins);
    }
    return found;
}

void TfrmCom::btnOkClick() {
    RS232C& port = link_.ComPort;
    port.PortName = cmbPort->currentText().toStdString();
    // Each number is taken as soon as it converts; a bad one stops here and
    // leaves the ones before it changed, with the dialog still open.
    const std::pair<QComboBox*, int*> numbers[] = {
        {cmbBps, &port.BaudRate}, {cmbDataBit, &port.ByteSize}, {cmbStopBit, &port.StopBits}};
    for (const auto& [box, field] : numbers) {
        const std::optional<int> value = DecimalInteger(box->currentText());
        if (!value) {
            Message(1, tr("Error"),
                    tr("'%1' is not a valid integer value").arg(box->currentText()));
            return;
        }
        *field = *value;
    }
    port.Parity = cmbParity->currentText().toStdString();
    port.SendHead = StoredName(cmbSendHead);
    port.SendDlmt = StoredName(cmbSendDlmt);
    port.RecvDlmt = StoredName(cmbRecvDlmt);
    port.RecvTout = DecimalInteger(edtRecvTout->text()).value_or(100);
    *irAck_ = rbACK->isChecked();

    if (link_.OpenPort(true)) {
        accept();
        return;
    }
    Message(1, tr("警告"),
            WithAdvice(tr("%1 を設定出来ません。").arg(QString::fromStdString(port.PortName)),
                       OpenFailureAdvice(link_.lastOpenFailure())));
}

void TfrmCom::btnPortClick() {
    if (Message(2, tr("COM Port Search"), tr("Connect the USB to Serial Cable")) != 1) {
        return;
    }
    SearchPort(false);
    Message(1, tr("Completed"),
            link_.ComPort.PortOpen
                ? tr("The connection port is %1").arg(QString::fromStdString(link_.ComPort.PortName))
                : WithAdvice(tr("Unknown COM port !"), NoBoardAdvice(link_)));
}

} // namespace quvan::link
