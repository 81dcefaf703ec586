#include "table/ui/read_back_progress.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace quvan::table_ui {

ReadBackProgress::ReadBackProgress(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName("dlgTableLoad");
    setWindowTitle(tr("QUVAN読込み"));
    setWindowModality(Qt::WindowModal);
    lblStatus = new QLabel(this);
    lblStatus->setObjectName("lblStatus");
    lblStatus->setMinimumWidth(300);
    pgLoad = new QProgressBar(this);
    pgLoad->setObjectName("pgLoad");
    btnStop = new QPushButton(tr("中止"), this);
    btnStop->setObjectName("btnStop");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnStop);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblStatus);
    layout->addWidget(pgLoad);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(btnStop, &QPushButton::clicked, this, &ReadBackProgress::stopRequested);
}

void ReadBackProgress::begin(int total) {
    stopping_ = false;
    btnStop->setEnabled(true);
    pgLoad->setRange(0, total);
    pgLoad->setValue(0);
    pgLoad->setFormat(QStringLiteral("%v / %m"));
    lblStatus->setText(tr("QUVANのテーブル情報を読込んでいます…"));
    show();
    btnStop->setFocus();
}

void ReadBackProgress::showEntry(int entry, int total) {
    pgLoad->setMaximum(total);
    // The bar counts the entries done; the text names the one on its way.
    pgLoad->setValue(entry - 1);
    if (!stopping_) {
        lblStatus->setText(
            tr("QUVANのテーブル情報を読込んでいます…\nエントリー %1 / %2").arg(entry).arg(total));
    }
}

void ReadBackProgress::showStopping() {
    stopping_ = true;
    btnStop->setEnabled(false);
    lblStatus->setText(tr("読込みを中止しています…"));
}

void ReadBackProgress::reject() {
    if (isVisible() && !stopping_) {
        emit stopRequested();
    }
}

} // namespace quvan::table_ui
