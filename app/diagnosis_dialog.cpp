#include "app/diagnosis_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace quvan::app {

DiagnosisDialog::DiagnosisDialog(int lanes, QWidget* parent) : QDialog(parent) {
    setObjectName("frmDiagnosis");
    setWindowTitle(tr("診断"));
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(tr("波形:"), this));
    laneBox_ = new QComboBox(this);
    laneBox_->setObjectName("cmbDiagnosisLane");
    laneBox_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    // Its own width, whatever the summary beside it wraps to.
    laneBox_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    laneBox_->setToolTip(tr("診断する波形"));
    for (int i = 0; i < lanes; ++i)
        laneBox_->addItem(tr("Wno:%1").arg(i + 1));
    // Under the window's style sheet the box asks for too little: its frame
    // leaves the drop-down arrow out, and the number was cut off.
    laneBox_->setMinimumWidth(laneBox_->sizeHint().width() +
                              style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    top->addWidget(laneBox_);
    summary_ = new QLabel(this);
    summary_->setObjectName("lblDiagnosisSummary");
    summary_->setWordWrap(true);
    QFont bold = summary_->font();
    bold.setBold(true);
    summary_->setFont(bold);
    top->addWidget(summary_, 1);
    layout->addLayout(top);

    text_ = new QPlainTextEdit(this);
    text_->setObjectName("memoDiagnosis");
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // The pattern table lines up in columns.
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(text_, 1);

    auto* buttons = new QDialogButtonBox(this);
    ranges_ = buttons->addButton(QString(), QDialogButtonBox::ActionRole);
    ranges_->setObjectName("btnDiagnosisRanges");
    philips_ = buttons->addButton(QString(), QDialogButtonBox::ActionRole);
    philips_->setObjectName("btnDiagnosisPhilips");
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setText(tr("閉じる"));
    layout->addWidget(buttons);

    connect(close, &QPushButton::clicked, this, &QDialog::hide);
    connect(laneBox_, &QComboBox::activated, this, [this](int lane) { emit laneChosen(lane); });
    connect(ranges_, &QPushButton::clicked, this,
            [this] { emit applyRanges(content_.hRange, content_.wRange); });
    connect(philips_, &QPushButton::clicked, this,
            [this] { emit applyPhilips(content_.ts, content_.tw, content_.bits); });
    resize(780, 480);
}

void DiagnosisDialog::Show(const Content& content) {
    content_ = content;
    laneBox_->setCurrentIndex(content.lane);
    summary_->setText(content.summary);
    text_->setPlainText(content.lines.join(QLatin1Char('\n')));
    ranges_->setVisible(content.offerRanges);
    ranges_->setText(tr("H:%1 W:%2 にする").arg(content.hRange).arg(content.wRange));
    ranges_->setToolTip(tr("次の学習の許容誤差を変えます（この波形はそのままです）"));
    philips_->setVisible(content.offerPhilips);
    philips_->setText(tr("Philips (Ts:%1 Tw:%2 Bits:%3) にする")
                          .arg(content.ts)
                          .arg(content.tw)
                          .arg(content.bits));
    philips_->setToolTip(tr("次の学習のために Philips をチェックし、Ts, Tw, Bits を設定します"));
}

int DiagnosisDialog::lane() const {
    return content_.lane;
}

QString DiagnosisDialog::text() const {
    return text_->toPlainText();
}

} // namespace quvan::app
