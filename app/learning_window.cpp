#include "app/learning_window.h"

#include "app/main_line_handlers.h"
#include "app/main_window.h"
#include "app/msgbox/msg_box.h"
#include "capture/analysis_line.h"
#include "capture/learning_control.h"
#include "capture/view/wave_geometry.h"
#include "capture/wave_line.h"
#include "decode/show_result.h"
#include "platform/sound/sound_player.h"
#include "table/learning_table.h"
#include "table/ui/table_commands.h"
#include "table/ui/table_grid.h"
#include "tools/wave_data_dialog.h"

#include <QLineEdit>
#include <QTableView>

namespace quvan::app {

LearningWindow::LearningWindow(TfrmMain& main, TfrmMsgBox& msgBox, platform::SoundPlayer& sounds,
                               LearningTable& table, table_ui::TableCommands& grid,
                               tools::TfrmWave& waveData)
    : QObject(&main), main_(main), msgBox_(msgBox), sounds_(sounds), table_(table), grid_(grid),
      waveData_(waveData), ctx_{state_, options_, table_, *this}, decoder_(ctx_) {
    state_.CurrentLane = main_.state().WaveLanes;
    RefreshOptions();
    Wire();
}

void LearningWindow::RefreshOptions() {
    const MainWidgets& w = main_.widgets();
    const AppState& app = main_.state();
    options_.ProEdition = app.ProEdition;
    options_.WaveLanes = app.WaveLanes;
    options_.PortOpen = main_.boardLink().ComPort.PortOpen;
    options_.CursorAuto = w.ckCursor->isChecked();
    options_.HrangeText = w.edtHrange->text().toStdString();
    options_.WrangeText = w.edtWrange->text().toStdString();
    options_.LtimeText = w.edtLtime->text().toStdString();
    options_.LearningMsg = w.ckLearningMsg->isChecked();
    options_.CodeCheck = w.ckCodeCheck->isChecked();
    options_.MonitorMode = w.sBar->property("monitor").toBool();
    options_.Eiritsu = w.ckEiritsu->isChecked();
    options_.Philips = w.ckPhilips->isChecked();
    options_.Serial = w.ckSerial->isChecked();
    options_.MultiHeader = w.ckMultiHeader->isChecked();
    options_.PCode = w.ckPcode->isChecked();
    options_.FullCode = w.ckFullCode->isChecked();
    options_.TsText = w.cmbTs->currentText().toStdString();
    options_.TwText = w.cmbTw->currentText().toStdString();
    options_.BtText = w.cmbBt->currentText().toStdString();
    options_.SBitText = w.cmbSBit->currentText().toStdString();
    options_.WaveZoom = w.imgWave->zoom();
    options_.WaveImageWidth = kWaveImageWidth;
}

void LearningWindow::Wire() {
    MainWidgets& w = main_.widgets();
    MainLineHandlers& lines = main_.lineHandlers();
    lines.waveLine = [this](const std::string& line) { HandleWaveLine(line); };
    lines.analysisLine = [this](const std::string& line) { HandleAnalysisLine(line); };

    connect(w.pnlAnalyze, &ClickPanel::clicked, this, &LearningWindow::StartLearning);
    connect(w.ckRF_ID, &QCheckBox::clicked, this,
            [this](bool ticked) { sendCommand(ticked ? "Ri:on" : "Ri:off"); });
    connect(w.btnZoomLeft, &QPushButton::clicked, this, [this] { Zoom(-1); });
    connect(w.btnZoomRight, &QPushButton::clicked, this, [this] { Zoom(+1); });
    connect(w.btnWaveClear, &QPushButton::clicked, this, &LearningWindow::WaveClear);
    connect(w.btnWaveData, &QPushButton::clicked, this, [this] {
        waveData_.show();
        waveData_.raise();
    });
    connect(w.imgWave, &WaveView::measureRequested, this, &LearningWindow::MeasureAt);
    w.imgWave->laneRedrawn = [this](int lane) {
        decoder_.SamplingOverlay(lane);
        const int row = state_.LaneRow[static_cast<std::size_t>(lane)];
        const std::string text = options_.CodeCheck || !table_.validRow(row)
                                     ? std::string()
                                     : table_.cell(row, ColResult);
        const std::int32_t lastCarry = state_.Result.Carry;
        state_.Result.Carry = laneCarry_[static_cast<std::size_t>(lane)];
        ShowResult(ctx_, lane, text);
        state_.Result.Carry = lastCarry;
    };

    for (QCheckBox* box : {w.ckEiritsu, w.ckPhilips, w.ckSerial, w.ckMultiHeader}) {
        connect(box, &QCheckBox::toggled, this,
                [this, box](bool ticked) { FormatBoxToggled(box, ticked); });
    }
    connect(w.pnlCont, &ClickPanel::doubleClicked, this, &LearningWindow::ToggleStripOptions);
    for (QComboBox* list : {w.cmbTs, w.cmbTw}) {
        connect(list->lineEdit(), &QLineEdit::returnPressed, this, [list] {
            if (list->findText(list->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive) <
                0) {
                list->addItem(list->currentText());
            }
        });
    }

    // New and Open reset the wave view through these.
    grid_.waveView.ClearLanes = [this](int lanes) { main_.widgets().imgWave->ClearLanes(lanes); };
    grid_.waveView.ClearLaneData = [this](int lanes) {
        RefreshOptions();
        ClearLaneData(ctx_, lanes);
    };
    grid_.waveView.SetCurrentLane = [this](int lane) { state_.CurrentLane = lane; };
    grid_.waveView.ResetCaptureResult = [this] {
        state_.Result.RepeatBit = 0;
        state_.Result.DataBits = 0;
        state_.Result.Frames = 0;
    };
}

void LearningWindow::FormatBoxToggled(QObject* box, bool ticked) {
    MainWidgets& w = main_.widgets();
    const std::initializer_list<QWidget*> parameters{w.lblTs, w.lblTw, w.lblBt,  w.cmbTs,
                                                     w.cmbTw, w.cmbBt, w.cmbSBit};
    auto showParameters = [&](bool tsTwBits, bool symbolSize) {
        for (QWidget* widget : parameters) {
            widget->setVisible(tsTwBits);
        }
        w.cmbSBit->setVisible(symbolSize);
    };
    if (!ticked) {
        if (box == w.ckPhilips || box == w.ckSerial) {
            showParameters(false, false);
        }
        return;
    }
    // Only one decoder option at a time: untick the others first.
    for (QCheckBox* other : {w.ckEiritsu, w.ckPhilips, w.ckSerial, w.ckMultiHeader}) {
        if (other != box) {
            other->setChecked(false);
        }
    }
    if (box == w.ckPhilips) {
        showParameters(true, false);
    } else if (box == w.ckSerial) {
        RedrawLanes(50);
        showParameters(true, true);
    } else {
        showParameters(false, false);
    }
}

void LearningWindow::ToggleStripOptions() {
    MainWidgets& w = main_.widgets();
    if (main_.state().ProEdition) {
        const bool shown = w.pnlCont->property("tag").toInt() == 1;
        for (QCheckBox* box : {w.ckEiritsu, w.ckPhilips, w.ckSerial, w.ckMultiHeader}) {
            box->setVisible(!shown);
        }
        if (shown) {
            w.ckSerial->setChecked(false);
        }
        w.pnlCont->setProperty("tag", shown ? 0 : 1);
        return;
    }
    const bool show = w.pnlWaveData->isHidden();
    w.pnlWaveData->setVisible(show);
    w.pnlWaveData->setProperty("tag", show ? 1 : 0);
    const int end = show ? w.pnlWaveData->x() : w.btnWaveClear->x();
    w.pgBar->resize(end - w.pgBar->x() - 8, w.pgBar->height());
}

void LearningWindow::HandleWaveLine(const std::string& line) {
    RefreshOptions();
    quvan::HandleWaveLine(ctx_, line);
}

void LearningWindow::HandleAnalysisLine(const std::string& line) {
    RefreshOptions();
    const int lane = state_.CurrentLane;
    const AnalysisLineResult result = quvan::HandleAnalysisLine(ctx_, decoder_, line);
    if (result.Outcome == AnalysisOutcome::Stored || result.Outcome == AnalysisOutcome::Checked) {
        if (lane >= 0 && lane < kLaneSlots) {
            laneCarry_[static_cast<std::size_t>(lane)] = state_.Result.Carry;
        }
    }
}

void LearningWindow::StartLearning() {
    RefreshOptions();
    quvan::StartLearning(ctx_, main_.state().LearningOn);
}

void LearningWindow::Zoom(int step) {
    RedrawLanes(NextZoom(main_.widgets().imgWave->zoom(), step));
}

void LearningWindow::RedrawLanes(int zoom) {
    MainWidgets& w = main_.widgets();
    w.pnlZoom->setText(QStringLiteral("1/%1").arg(zoom));
    RefreshOptions();
    options_.WaveZoom = zoom;
    w.imgWave->RedrawLanes(zoom, state_.Lanes);
}

void LearningWindow::WaveClear() {
    RefreshOptions();
    main_.clearLog();
    main_.widgets().imgWave->ClearLanes(options_.WaveLanes);
    ClearLaneData(ctx_, options_.WaveLanes);
    state_.CurrentLane = options_.WaveLanes;
}

void LearningWindow::MeasureAt(int x, int y) {
    const WaveView& view = *main_.widgets().imgWave;
    const int lane = std::clamp(y / kLaneHeight, 0, main_.state().WaveLanes - 1);
    const Span span =
        MeasureSpan(state_.Lanes[static_cast<std::size_t>(lane)], view.startMark(), x, view.zoom());
    appendLog(SpanText(span.micros));
    setWaveCurrentCell(lane * 5 + 2, span.row);
}

void LearningWindow::sendCommand(const std::string& text) {
    main_.boardLink().SendCommand(text);
}

void LearningWindow::setLearningIndicator(bool on) {
    main_.SetLearningIndicator(on);
}

void LearningWindow::setTableModified() {
    main_.SetTableModified(true);
}

void LearningWindow::playSound(Sound sound) {
    const SoundPaths& paths = main_.state().settings.Sounds;
    sounds_.playAsync(sound == Sound::Chimes  ? paths.SoundChimes
                      : sound == Sound::Chord ? paths.SoundChord
                                              : paths.SoundTada);
}

void LearningWindow::appendLog(const std::string& line) {
    main_.appendLog(QString::fromStdString(line));
}

void LearningWindow::clearLog() {
    main_.clearLog();
}

void LearningWindow::reportError(const std::string& text) {
    main_.messages().show(1, QStringLiteral("Error"), QString::fromStdString(text));
}

int LearningWindow::showMessage(int kind, const std::string& caption, const std::string& text,
                                bool& dispOff) {
    msgBox_.Prepare(kind, caption, text);
    if (kind == 0) {
        msgBox_.SetDispOff(false);
    }
    const int result = msgBox_.ShowModal();
    dispOff = msgBox_.DispOffChecked();
    return result;
}

void LearningWindow::setLearningMsgChecked(bool checked) {
    main_.widgets().ckLearningMsg->setChecked(checked);
}

void LearningWindow::setProgressVisible(bool visible) {
    main_.widgets().pgBar->setVisible(visible);
}

void LearningWindow::setProgress(int position) {
    QProgressBar* bar = main_.widgets().pgBar;
    bar->setValue(std::min(position, bar->maximum()));
}

void LearningWindow::drawPair(int lane, int index) {
    main_.widgets().imgWave->DrawPair(lane, index, state_.Lanes[static_cast<std::size_t>(lane)]);
}

void LearningWindow::clearLanes(int lane) {
    main_.widgets().imgWave->ClearLanes(lane);
}

void LearningWindow::clearWaveColumns(int lane) {
    const int lanes = main_.state().WaveLanes;
    if (lane < lanes) {
        waveData_.model().clearLaneColumns(lane);
        return;
    }
    for (int i = 0; i < lanes; ++i) {
        waveData_.model().clearLaneColumns(i);
    }
}

void LearningWindow::clearPatternRangePanels() {
    waveData_.ClearRangePanels();
}

void LearningWindow::setWaveCell(int col, int row, const std::string& text) {
    waveData_.model().setCell(col, row, QString::fromStdString(text));
}

void LearningWindow::setWaveCurrentCell(int col, int row) {
    QTableView* grid = waveData_.sGridWave();
    const QModelIndex index = waveData_.model().index(row - 1, col);
    if (index.isValid()) {
        grid->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    }
}

void LearningWindow::drawLaneLabel(int lane, const std::string& text) {
    main_.widgets().imgWave->DrawLabel(lane, QString::fromStdString(text));
}

void LearningWindow::drawSamplingOverlay(int lane, const std::vector<OverlayCell>& cells) {
    std::vector<WaveView::SampleMark> marks;
    marks.reserve(cells.size());
    for (const OverlayCell& cell : cells) {
        marks.push_back({cell.x, cell.value});
    }
    main_.widgets().imgWave->DrawSamplingGrid(lane, marks);
}

int LearningWindow::currentRow() const {
    return grid_.grid().cursorRow();
}

void LearningWindow::setCurrentRow(int row) {
    grid_.grid().setCursor(row, std::max(1, grid_.grid().cursorColumn()));
}

void LearningWindow::setCurrentColumn(int col) {
    grid_.grid().setCursor(grid_.grid().cursorRow(), col);
}

void LearningWindow::focusGrid() {
    grid_.grid().view().setFocus();
}

} // namespace quvan::app
