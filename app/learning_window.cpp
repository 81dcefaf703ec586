#include "app/learning_window.h"

#include "app/diagnosis_dialog.h"
#include "app/main_line_handlers.h"
#include "app/main_window.h"
#include "app/msgbox/msg_box.h"
#include "capture/analysis_line.h"
#include "capture/learning_control.h"
#include "capture/view/wave_geometry.h"
#include "capture/wave_line.h"
#include "decode/capture_diagnosis.h"
#include "decode/show_result.h"
#include "link/port_advice.h"
#include "platform/sound/sound_player.h"
#include "table/learning_table.h"
#include "table/ui/grid_popup_menu.h"
#include "table/ui/table_commands.h"
#include "table/ui/table_grid.h"
#include "tools/wave_data_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QTableView>
#include <QToolButton>

namespace quvan::app {
namespace {

constexpr int kDiagnosisButtonWidth = 40;

// `value` as an item of `list`, added when the list lacks it; its text.
QString OfferNumber(QComboBox* list, int value) {
    const QString text = QString::number(value);
    if (list->findText(text, Qt::MatchExactly) < 0)
        list->addItem(text);
    return text;
}

} // namespace

LearningWindow::LearningWindow(TfrmMain& main, TfrmMsgBox& msgBox, platform::SoundPlayer& sounds,
                               LearningTable& table, table_ui::TableCommands& grid,
                               tools::TfrmWave& waveData)
    : QObject(&main), main_(main), msgBox_(msgBox), sounds_(sounds), table_(table), grid_(grid),
      waveData_(waveData), ctx_{state_, options_, table_, *this}, decoder_(ctx_) {
    state_.CurrentLane = main_.state().WaveLanes;
    RefreshOptions();
    Wire();
    WireDiagnosis();
}

void LearningWindow::RefreshOptions() {
    const MainWidgets& w = main_.widgets();
    const AppState& app = main_.state();
    options_.ProEdition = app.ProEdition;
    options_.WaveLanes = app.WaveLanes;
    options_.PortOpen = main_.boardLink().ComPort.PortOpen;
    options_.NoPortAdvice =
        options_.PortOpen ? std::string() : link::NoBoardAdvice(main_.boardLink()).toStdString();
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
    connect(w.mmLearning, &QAction::triggered, this, &LearningWindow::StartLearning);
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
    // Moved to a screen of another scaling: the picture starts afresh there.
    connect(
        w.imgWave, &WaveView::pixelRatioChanged, this,
        [this] { RedrawLanes(main_.widgets().imgWave->zoom()); }, Qt::QueuedConnection);
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
        if (const DecodeRecord* record = decoder_.record(lane))
            drawPulseMeanings(lane, record->Meanings);
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
        UpdateDiagnosisButtons(); // the captures they explained are gone
    };
    grid_.waveView.SetCurrentLane = [this](int lane) { state_.CurrentLane = lane; };
    grid_.waveView.ResetCaptureResult = [this] {
        state_.Result.RepeatBit = 0;
        state_.Result.DataBits = 0;
        state_.Result.Frames = 0;
    };
}

void LearningWindow::WireDiagnosis() {
    MainWidgets& w = main_.widgets();
    const int lanes = main_.state().WaveLanes;
    diagnosis_ = new DiagnosisDialog(lanes, &main_);
    diagnosis_->setWindowFlag(Qt::Tool);
    connect(diagnosis_, &DiagnosisDialog::laneChosen, this, &LearningWindow::ShowDiagnosis);
    connect(diagnosis_, &DiagnosisDialog::applyRanges, this, [this](int h, int wr) {
        main_.widgets().edtHrange->setText(QString::number(h));
        main_.widgets().edtWrange->setText(QString::number(wr));
    });
    connect(diagnosis_, &DiagnosisDialog::applyPhilips, this, [this](int ts, int tw, int bits) {
        MainWidgets& mw = main_.widgets();
        mw.ckPhilips->setChecked(true);
        for (auto [list, value] : {std::pair{mw.cmbTs, ts}, {mw.cmbTw, tw}, {mw.cmbBt, bits}})
            list->setCurrentText(OfferNumber(list, value));
    });
    for (int lane = 0; lane < lanes && lane < kLaneSlots; ++lane) {
        auto* button = new QToolButton(w.waveViewport);
        button->setObjectName(QStringLiteral("btnDiagnosis%1").arg(lane + 1));
        button->setText(tr("診断"));
        button->setAutoRaise(false);
        button->setFocusPolicy(Qt::NoFocus);
        QFont small = button->font();
        small.setPixelSize(10);
        button->setFont(small);
        button->setFixedSize(kDiagnosisButtonWidth, 16);
        button->hide();
        connect(button, &QToolButton::clicked, this, [this, lane] { ShowDiagnosis(lane); });
        laneButtons_[static_cast<std::size_t>(lane)] = button;
    }
    w.waveViewport->installEventFilter(this);
    PlaceDiagnosisButtons();
    table_ui::GridPopupMenu& popup = grid_.popupMenu();
    popup.openDiagnosis = [this](int row) {
        const int lane = LaneOfRow(row);
        if (lane >= 0)
            ShowDiagnosis(lane);
    };
    popup.hasDiagnosis = [this](int row) { return LaneOfRow(row) >= 0; };
}

bool LearningWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == main_.widgets().waveViewport && event->type() == QEvent::Resize)
        PlaceDiagnosisButtons();
    return QObject::eventFilter(watched, event);
}

void LearningWindow::PlaceDiagnosisButtons() {
    // At the right end of each lane, over its label line: they stay put
    // while the image scrolls beneath them.
    const int width = main_.widgets().waveViewport->width();
    for (std::size_t lane = 0; lane < laneButtons_.size(); ++lane) {
        if (QToolButton* button = laneButtons_[lane]) {
            button->move(width - button->width() - 4, static_cast<int>(lane) * kLaneHeight + 3);
            button->raise();
        }
    }
}

bool LearningWindow::HasDiagnosis(int lane) const {
    if (lane < 0 || lane >= kLaneSlots || lane >= main_.state().WaveLanes)
        return false;
    const WaveLane& data = state_.Lanes[static_cast<std::size_t>(lane)];
    // A capture refused for its pulse shapes has no decoder record, but
    // deserves an explanation all the more.
    return data.LastIndex > 0 &&
           (decoder_.record(lane) != nullptr || data.PatternCount > kPatternWindows);
}

int LearningWindow::LaneOfRow(int row) const {
    if (row <= 0)
        return -1;
    const int current = state_.CurrentLane;
    if (current >= 0 && current < kLaneSlots &&
        state_.LaneRow[static_cast<std::size_t>(current)] == row && HasDiagnosis(current))
        return current;
    for (int lane = 0; lane < kLaneSlots; ++lane) {
        if (state_.LaneRow[static_cast<std::size_t>(lane)] == row && HasDiagnosis(lane))
            return lane;
    }
    return -1;
}

QToolButton* LearningWindow::diagnosisButton(int lane) const {
    return lane >= 0 && lane < kLaneSlots ? laneButtons_[static_cast<std::size_t>(lane)] : nullptr;
}

void LearningWindow::UpdateDiagnosisButtons() {
    MainWidgets& w = main_.widgets();
    for (int lane = 0; lane < kLaneSlots; ++lane) {
        QToolButton* button = laneButtons_[static_cast<std::size_t>(lane)];
        if (button == nullptr)
            continue;
        if (!HasDiagnosis(lane)) {
            button->hide();
            continue;
        }
        DiagnosisOptions o;
        o.ProEdition = options_.ProEdition;
        o.SearchRanges = false; // the full search waits until the user asks
        const DecodeRecord* record = decoder_.record(lane);
        const CaptureDiagnosis d =
            DiagnoseCapture(state_.Lanes[static_cast<std::size_t>(lane)], record, o);
        // Only format recognition can fail to recognise: a time-sampling or
        // pattern-code result is what the user asked for.
        const bool attention =
            d.TooManyPatterns ||
            (record != nullptr && record->Mode == DecoderMode::Patterns && !d.Recognised);
        button->setText(attention ? tr("診断 ?") : tr("診断"));
        // Wide enough for the caption in the window's language.
        button->setFixedWidth(std::max(
            kDiagnosisButtonWidth, button->fontMetrics().horizontalAdvance(button->text()) + 8));
        button->setStyleSheet(attention ? QStringLiteral("QToolButton { color: #b03000; }")
                                        : QString());
        button->setToolTip(QString::fromStdString(d.Summary) + '\n' + tr("(クリックで診断)"));
        button->show();
        if (d.Philips) {
            // A bi-phase code: offer the sampling settings that read it.
            for (auto [list, value] : {std::pair{w.cmbTs, d.Philips->Params.Start},
                                       {w.cmbTw, d.Philips->Params.Cell},
                                       {w.cmbBt, d.Philips->Params.CellsPerFrame}})
                OfferNumber(list, value);
        }
    }
    PlaceDiagnosisButtons();
}

void LearningWindow::ShowDiagnosis(int lane) {
    if (lane < 0 || lane >= main_.state().WaveLanes || lane >= kLaneSlots)
        return;
    RefreshOptions();
    DiagnosisOptions o;
    o.ProEdition = options_.ProEdition;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const CaptureDiagnosis d =
        DiagnoseCapture(state_.Lanes[static_cast<std::size_t>(lane)], decoder_.record(lane), o);
    QApplication::restoreOverrideCursor();
    DiagnosisDialog::Content c;
    c.lane = lane;
    c.summary = QString::fromStdString(d.Summary);
    for (const std::string& line : d.Lines)
        c.lines << QString::fromStdString(line);
    if (d.Ranges) {
        c.offerRanges = true;
        c.hRange = d.Ranges->HRange;
        c.wRange = d.Ranges->WRange;
    }
    if (d.Philips) {
        c.offerPhilips = true;
        c.ts = d.Philips->Params.Start;
        c.tw = d.Philips->Params.Cell;
        c.bits = d.Philips->Params.CellsPerFrame;
    }
    diagnosis_->Show(c);
    diagnosis_->show();
    diagnosis_->raise();
    diagnosis_->activateWindow();
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
    UpdateDiagnosisButtons();
    if (diagnosis_->isVisible() && diagnosis_->lane() == lane)
        ShowDiagnosis(lane);
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
    UpdateDiagnosisButtons();
}

void LearningWindow::MeasureAt(int x, int y) {
    const WaveView& view = *main_.widgets().imgWave;
    const int lane = std::clamp(y / kLaneHeight, 0, main_.state().WaveLanes - 1);
    const Span span =
        MeasureSpan(state_.Lanes[static_cast<std::size_t>(lane)], view.startMark(), x, view.zoom());
    appendLog(SpanText(span.micros));
    setWaveCurrentCell(lane * 5 + 2, span.row);
    main_.widgets().imgWave->ShowMeasurement(
        {lane, span.startMicros, span.endMicros, QString::fromStdString(SpanText(span.micros))});
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
    main_.messages().show(1, tr("Error"), QString::fromStdString(text));
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
    if (index == 0)
        UpdateDiagnosisButtons(); // a new capture has nothing to explain yet
}

void LearningWindow::clearLanes(int lane) {
    main_.widgets().imgWave->ClearLanes(lane);
    UpdateDiagnosisButtons();
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

void LearningWindow::drawPulseMeanings(int lane, const PulseMeanings& meanings) {
    if (lane < 0 || lane >= kLaneSlots)
        return;
    main_.widgets().imgWave->DrawMeanings(lane, state_.Lanes[static_cast<std::size_t>(lane)],
                                          meanings);
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
