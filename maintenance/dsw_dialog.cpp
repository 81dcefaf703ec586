#include "maintenance/dsw_dialog.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

namespace quvan::maintenance {
namespace {

template <std::size_t N>
QComboBox* PickList(QWidget* parent, const char* name, const std::array<const char*, N>& items) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setEditable(false);
    for (const char* item : items)
        list->addItem(QString::fromUtf8(item));
    list->setMinimumWidth(130);
    return list;
}

QLabel* Joiner(QWidget* parent, const char* text) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName("lblJoin");
    return label;
}

} // namespace

TfrmDsw::TfrmDsw(link::BoardLink& link, QWidget* mainWindow)
    : QDialog(mainWindow), link_(link), mainWindow_(mainWindow) {
    setObjectName("frmDsw");
    setWindowTitle("DIP Switch Setup");
    BuildControls();
    replyWait_ = new QTimer(this);
    replyWait_->setSingleShot(true);
    replyWait_->setInterval(kDipReplyWaitMs);
    connect(replyWait_, &QTimer::timeout, this, &TfrmDsw::NextQuery);
    ShowState();
    hide();
}

void TfrmDsw::BuildControls() {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(2, 2, 3, 8);
    pnlBase = new QFrame(this);
    pnlBase->setObjectName("pnlBase");
    pnlBase->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* base = new QHBoxLayout(pnlBase);
    base->setContentsMargins(10, 10, 10, 10);

    pnlDswCaption = new QFrame(pnlBase);
    pnlDswCaption->setObjectName("pnlDswCaption");
    pnlDswCaption->setFrameStyle(QFrame::Box | QFrame::Plain);
    auto* bank = new QGridLayout(pnlDswCaption);
    bank->setContentsMargins(8, 6, 8, 8);
    bank->setVerticalSpacing(4);
    auto* caption = new QLabel("DSW1", pnlDswCaption);
    caption->setAlignment(Qt::AlignCenter);
    bank->addWidget(caption, 0, 0, 1, 2);
    for (int n = 1; n <= 7; ++n) {
        auto* number = new QLabel(QString::number(n), pnlDswCaption);
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* toggle = new QPushButton("off", pnlDswCaption);
        toggle->setObjectName(QStringLiteral("tgswNum%1").arg(n));
        toggle->setCheckable(true);
        toggle->setFixedWidth(48);
        toggle->setAccessibleName(QStringLiteral("DSW1-%1").arg(n));
        bank->addWidget(number, n, 0);
        bank->addWidget(toggle, n, 1);
        tgswNum[static_cast<std::size_t>(n - 1)] = toggle;
        connect(toggle, &QPushButton::clicked, this,
                [this, n](bool checked) { SwitchClicked(n, checked); });
    }
    base->addWidget(pnlDswCaption);

    // Box-drawing joiners lead from each group of switches to its list.
    auto* lists = new QGridLayout();
    lists->setVerticalSpacing(4);
    lists->setHorizontalSpacing(4);
    lists->setRowMinimumHeight(0, caption->sizeHint().height() + 6);
    cmbRSbps = PickList(pnlBase, "cmbRSbps", kRsBpsItems);
    cmbInputSel = PickList(pnlBase, "cmbInputSel", kInputSelItems);
    cmbFrameMax = PickList(pnlBase, "cmbFrameMax", kFrameMaxItems);
    cmbUSBbps = PickList(pnlBase, "cmbUSBbps", kUsbBpsItems);
    const auto row = [&](int switchRow, const char* join, const char* label, QComboBox* list) {
        lists->addWidget(Joiner(pnlBase, join), switchRow, 0);
        if (list != nullptr) {
            lists->addWidget(new QLabel(QString::fromUtf8(label), pnlBase), switchRow, 1);
            lists->addWidget(list, switchRow, 2);
        }
    };
    row(1, "─┐", nullptr, nullptr);
    row(2, "─┼──", "RS232C-通信速度", cmbRSbps);
    row(3, "─┘", nullptr, nullptr);
    row(4, "────", "パラレル入力選択", cmbInputSel);
    row(5, "─┐", nullptr, nullptr);
    lists->addWidget(Joiner(pnlBase, "─┘"), 6, 0);
    auto* frameLabel = new QLabel(QString::fromUtf8("赤外発射回数"), pnlBase);
    lists->addWidget(frameLabel, 5, 1, 2, 1);
    lists->addWidget(cmbFrameMax, 5, 2, 2, 1, Qt::AlignVCenter);
    row(7, "────", "USB-通信速度", cmbUSBbps);
    lists->setRowStretch(8, 1);
    base->addLayout(lists);
    outer->addWidget(pnlBase);

    for (DipList list : {DipList::RsBps, DipList::InputSel, DipList::FrameMax, DipList::UsbBps}) {
        connect(ListOf(list), &QComboBox::activated, this,
                [this, list](int index) { ListClosedUp(list, index); });
    }

    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    btnOk = new QPushButton("OK", this);
    btnOk->setObjectName("btnOk");
    btnCancel = new QPushButton("Cancel", this);
    btnCancel->setObjectName("btnCancel");
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    outer->addLayout(buttons);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

QComboBox* TfrmDsw::ListOf(DipList list) const {
    switch (list) {
    case DipList::RsBps:
        return cmbRSbps;
    case DipList::UsbBps:
        return cmbUSBbps;
    case DipList::InputSel:
        return cmbInputSel;
    case DipList::FrameMax:
        return cmbFrameMax;
    }
    return nullptr;
}

void TfrmDsw::ShowState() {
    for (DipList list : {DipList::RsBps, DipList::InputSel, DipList::FrameMax, DipList::UsbBps}) {
        const QSignalBlocker quiet(ListOf(list));
        const int index = list == DipList::RsBps      ? state_.rsBps
                          : list == DipList::UsbBps   ? state_.usbBps
                          : list == DipList::InputSel ? state_.inputSel
                                                      : state_.frameMax;
        ListOf(list)->setCurrentIndex(index);
    }
    for (int n = 1; n <= 7; ++n) {
        QPushButton* toggle = tgswNum[static_cast<std::size_t>(n - 1)];
        const QSignalBlocker quiet(toggle);
        toggle->setChecked(state_.on(n));
        toggle->setText(state_.on(n) ? "on" : "off");
    }
}

void TfrmDsw::SwitchClicked(int number, bool on) {
    state_.SwitchClicked(number, on);
    ShowState();
    btnOk->setFocus();
}

void TfrmDsw::ListClosedUp(DipList list, int index) {
    state_.SetList(list, index);
    ShowState();
    btnOk->setFocus();
}

void TfrmDsw::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (mainWindow_ != nullptr) {
        const QRect main = mainWindow_->frameGeometry();
        move(main.x() + (main.width() - frameGeometry().width()) / 2,
             main.y() + (main.height() - frameGeometry().height()) / 2);
    }
    btnCancel->setFocus();
    // The replies come while the dialog is on screen; each query waits for
    // its reply, or half a second, before the next goes out.
    queryIndex_ = -1;
    NextQuery();
}

void TfrmDsw::hideEvent(QHideEvent* event) {
    replyWait_->stop();
    queryIndex_ = -1;
    QDialog::hideEvent(event);
}

void TfrmDsw::NextQuery() {
    const std::vector<std::string> queries = DipQueryCommands();
    ++queryIndex_;
    if (queryIndex_ >= static_cast<int>(queries.size())) {
        queryIndex_ = -1;
        return;
    }
    link_.SendCommand(queries[static_cast<std::size_t>(queryIndex_)]);
    replyWait_->start();
}

void TfrmDsw::HandleDswReply(const std::string& line) {
    if (!ApplyDipReply(state_, line).isReply)
        return;
    link_.SetResponseFlag();
    ShowState();
    if (queryIndex_ >= 0 && replyWait_->isActive()) {
        replyWait_->stop();
        NextQuery();
    }
}

void TfrmDsw::ApplyDipSwitches() {
    for (const std::string& command : DipApplyCommands(state_)) {
        link_.SendCommand(command);
        link_.WaitResponse(kDipReplyWaitMs);
    }
    // The board restarts with the new settings.
    link_.SendCommand("Reset");
}

} // namespace quvan::maintenance
