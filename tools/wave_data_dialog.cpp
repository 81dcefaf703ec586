#include "tools/wave_data_dialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>
#include <optional>

namespace quvan::tools {
namespace {

constexpr int kFrameWidth = 240;

QLabel* SunkenPanel(QWidget* parent, const QString& name, QRect geometry) {
    auto* panel = new QLabel(parent);
    panel->setObjectName(name);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    panel->setGeometry(geometry);
    return panel;
}

std::optional<long> Number(const QString& text) {
    bool ok = false;
    const long value = text.trimmed().toLong(&ok, 10);
    return ok ? std::optional<long>(value) : std::nullopt;
}

} // namespace

TfrmWave::TfrmWave(int lanes, std::function<int(int)> lastIndexOf, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint),
      lanes_(lanes), lastIndexOf_(std::move(lastIndexOf)), model_(lanes) {
    setObjectName("frmWave");
    setWindowTitle(tr("Wave Data"));
    setModal(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    grid_ = new QTableView(this);
    grid_->setObjectName("sGridWave");
    grid_->setModel(&model_);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setDefaultSectionSize(16);
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    static constexpr int kWidths[] = {50, 54, 54, 38, 38};
    for (int column = 0; column < model_.columnCount(); ++column) {
        grid_->setColumnWidth(column, kWidths[column % WaveDataModel::kColumnsPerLane]);
    }
    layout->addWidget(grid_, 1);
    auto* bottom = new QWidget(this);
    bottom->setFixedHeight(112);
    BuildFrames(bottom);
    layout->addWidget(bottom);

    connect(grid_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) {
                    sGridWaveSelectCell(current.column(), current.row() + 1);
                }
            });
}

void TfrmWave::BuildFrames(QWidget* bottom) {
    for (int i = 0; i < 4; ++i) {
        Frame& f = frames_[static_cast<std::size_t>(i)];
        const QString n = QString::number(i + 1);
        f.box = new QGroupBox(tr("WaveData%1").arg(n), bottom);
        f.box->setObjectName("pnlWaveData" + n);
        f.box->setGeometry(i * (kFrameWidth + 4) + 4, 0, kFrameWidth, 108);
        auto* pno = new QLabel(tr("Pno"), f.box);
        pno->setGeometry(8, 22, 40, 20);
        auto* high = new QLabel(tr("High"), f.box);
        high->setGeometry(8, 50, 40, 20);
        auto* width = new QLabel(tr("Width"), f.box);
        width->setGeometry(8, 78, 40, 20);
        f.pnlPno = SunkenPanel(f.box, "pnlPno" + n, {52, 20, 60, 22});
        f.pnlHmin = SunkenPanel(f.box, "pnlHmin" + n, {52, 48, 86, 22});
        f.pnlHmax = SunkenPanel(f.box, "pnlHmax" + n, {144, 48, 86, 22});
        f.pnlWmin = SunkenPanel(f.box, "pnlWmin" + n, {52, 76, 86, 22});
        f.pnlWmax = SunkenPanel(f.box, "pnlWmax" + n, {144, 76, 86, 22});
        f.box->setVisible(i < lanes_);
    }
}

void TfrmWave::showEvent(QShowEvent* event) {
    resize((kFrameWidth + 4) * lanes_ + 12, 600);
    QDialog::showEvent(event);
}

void TfrmWave::ClearRangePanels() {
    for (Frame& f : frames_) {
        for (QLabel* panel : {f.pnlPno, f.pnlHmin, f.pnlHmax, f.pnlWmin, f.pnlWmax}) {
            panel->clear();
        }
    }
}

void TfrmWave::sGridWaveSelectCell(int column, int row) {
    if (column < 3 || (column - 3) % WaveDataModel::kColumnsPerLane != 0) {
        return; // only the "Pno " columns react
    }
    const QString text = model_.cell(column, row).trimmed();
    if (text.isEmpty()) {
        return;
    }
    const int lane = (column - 1) / WaveDataModel::kColumnsPerLane;
    frames_[static_cast<std::size_t>(lane)].pnlPno->setText(text);
    ShowPatternRange(lane);
}

void TfrmWave::ShowPatternRange(int lane) {
    if (lane < 0 || lane >= lanes_) {
        return;
    }
    const int high = lane * WaveDataModel::kColumnsPerLane + 1;
    if (model_.cell(high, 1).trimmed().isEmpty()) {
        return;
    }
    Frame& f = frames_[static_cast<std::size_t>(lane)];
    const long pattern = Number(f.pnlPno->text()).value_or(0);
    const int rowsInUse =
        std::min((lastIndexOf_ ? lastIndexOf_(lane) : 0) + 1, WaveDataModel::kPairRows);

    struct Extreme {
        long value;
        QString text;
    };
    std::optional<Extreme> hMin, hMax, wMin, wMax;
    for (int row = 1; row <= rowsInUse; ++row) {
        if (Number(model_.cell(high + 2, row)).value_or(0) != pattern) {
            continue;
        }
        const QString hText = model_.cell(high, row).trimmed();
        const QString wText = model_.cell(high + 1, row).trimmed();
        const long h = Number(hText).value_or(0);
        const long w = Number(wText).value_or(0);
        if (!hMin || h < hMin->value)
            hMin = Extreme{h, hText};
        if (!hMax || h > hMax->value)
            hMax = Extreme{h, hText};
        if (!wMin || w < wMin->value)
            wMin = Extreme{w, wText};
        if (!wMax || w > wMax->value)
            wMax = Extreme{w, wText};
    }
    f.pnlHmin->setText(hMin ? hMin->text : QString());
    f.pnlHmax->setText(hMax ? hMax->text : QString());
    f.pnlWmin->setText(wMin ? wMin->text : QString());
    f.pnlWmax->setText(wMax ? wMax->text : QString());
}

} // namespace quvan::tools
