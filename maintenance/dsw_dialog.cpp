#include "maintenance/dsw_dialog.h"

#include "platform/user_text.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
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
        list->addItem(QString::fromStdString(user_text::Tr("DipSwitches", item)));
    list->setMinimumWidth(130);
    return list;
}

// The lines that join a group of switches to its list: a stroke from each
// switch, a bar down the group and one stroke on to the list.
class Joiner final : public QWidget {
  public:
    Joiner(std::vector<QWidget*> switches, QWidget* parent)
        : QWidget(parent), switches_(std::move(switches)) {
        setObjectName("lblJoin");
        setFixedWidth(28);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
        const int middle = width() / 2;
        int top = height();
        int bottom = 0;
        for (QWidget* s : switches_) {
            const int y = mapFromGlobal(s->mapToGlobal(QPoint(0, s->height() / 2))).y();
            painter.drawLine(0, y, middle, y);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
        painter.drawLine(middle, top, middle, bottom);
        const int centre = (top + bottom) / 2;
        painter.drawLine(middle, centre, width(), centre);
    }

  private:
    std::vector<QWidget*> switches_;
};

} // namespace

TfrmDsw::TfrmDsw(link::BoardLink& link, QWidget* mainWindow)
    : QDialog(mainWindow), link_(link), mainWindow_(mainWindow) {
    setObjectName("frmDsw");
    setWindowTitle(tr("DIP Switch Setup"));
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
    auto* grid = new QGridLayout(pnlBase);
    grid->setContentsMargins(12, 10, 12, 12);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);

    // The frame headed "DSW1" lies behind the switch numbers and toggles.
    pnlDswCaption = new QFrame(pnlBase);
    pnlDswCaption->setObjectName("pnlDswCaption");
    pnlDswCaption->setFrameStyle(QFrame::Box | QFrame::Plain);
    grid->addWidget(pnlDswCaption, 0, 0, 8, 2);
    auto* caption = new QLabel(tr("DSW1"), pnlBase);
    caption->setAlignment(Qt::AlignCenter);
    caption->setContentsMargins(0, 4, 0, 0);
    grid->addWidget(caption, 0, 0, 1, 2);
    for (int n = 1; n <= 7; ++n) {
        auto* number = new QLabel(QString::number(n), pnlBase);
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        number->setContentsMargins(8, 0, 0, 0);
        auto* toggle = new QPushButton(tr("off"), pnlBase);
        toggle->setObjectName(QStringLiteral("tgswNum%1").arg(n));
        toggle->setCheckable(true);
        toggle->setFixedWidth(48);
        // A switch that is on stands out from the ones that are off.
        toggle->setStyleSheet("QPushButton:checked { background: #6F5FB0; color: white; "
                              "font-weight: bold; }");
        toggle->setAccessibleName(QStringLiteral("DSW1-%1").arg(n));
        grid->addWidget(number, n, 0);
        grid->addWidget(toggle, n, 1, Qt::AlignLeft);
        tgswNum[static_cast<std::size_t>(n - 1)] = toggle;
        connect(toggle, &QPushButton::clicked, this,
                [this, n](bool checked) { SwitchClicked(n, checked); });
    }
    grid->setColumnMinimumWidth(1, 48 + 10);
    grid->setRowMinimumHeight(8, 6);

    cmbRSbps = PickList(pnlBase, "cmbRSbps", kRsBpsItems);
    cmbInputSel = PickList(pnlBase, "cmbInputSel", kInputSelItems);
    cmbFrameMax = PickList(pnlBase, "cmbFrameMax", kFrameMaxItems);
    cmbUSBbps = PickList(pnlBase, "cmbUSBbps", kUsbBpsItems);
    const auto group = [&](int first, int last, const QString& label, QComboBox* list) {
        std::vector<QWidget*> switches;
        for (int n = first; n <= last; ++n)
            switches.push_back(tgswNum[static_cast<std::size_t>(n - 1)]);
        const int rows = last - first + 1;
        grid->addWidget(new Joiner(switches, pnlBase), first, 2, rows, 1);
        grid->addWidget(new QLabel(label, pnlBase), first, 3, rows, 1);
        grid->addWidget(list, first, 4, rows, 1, Qt::AlignVCenter);
    };
    group(1, 3, tr("RS232C-通信速度"), cmbRSbps);
    group(4, 4, tr("パラレル入力選択"), cmbInputSel);
    group(5, 6, tr("赤外発射回数"), cmbFrameMax);
    group(7, 7, tr("USB-通信速度"), cmbUSBbps);
    outer->addWidget(pnlBase);

    for (DipList list : {DipList::RsBps, DipList::InputSel, DipList::FrameMax, DipList::UsbBps}) {
        connect(ListOf(list), &QComboBox::activated, this,
                [this, list](int index) { ListClosedUp(list, index); });
    }

    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    btnOk = new QPushButton(tr("OK"), this);
    btnOk->setObjectName("btnOk");
    btnCancel = new QPushButton(tr("Cancel"), this);
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
        toggle->setText(state_.on(n) ? tr("on") : tr("off"));
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
