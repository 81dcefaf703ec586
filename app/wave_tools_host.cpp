#include "app/wave_tools_host.h"

#include "app/learning_window.h"
#include "app/main_window.h"
#include "capture/view/wave_view.h"
#include "link/port_advice.h"
#include "table/ui/file_dialogs.h"
#include "table/ui/learning_table_model.h"
#include "table/ui/table_commands.h"
#include "table/ui/table_grid.h"

#include <QFileInfo>
#include <QTableView>

namespace quvan::app {

WaveToolsHost::WaveToolsHost(TfrmMain& main, QString applicationTitle)
    : main_(main), title_(std::move(applicationTitle)) {}

void WaveToolsHost::attach(table_ui::TableCommands& tableCommands, LearningWindow& learning) {
    tableCommands_ = &tableCommands;
    learning_ = &learning;
}

int WaveToolsHost::selectedRow() const {
    return tableCommands_->grid().cursorRow();
}

int WaveToolsHost::showMessage(int kind, const QString& caption, const QString& text) {
    return main_.messages().show(kind, caption, text);
}

void WaveToolsHost::selectRow(int row) {
    table_ui::TableGrid& grid = tableCommands_->grid();
    grid.setCursor(row, ColCarry);
    grid.view().setFocus();
}

QPoint WaveToolsHost::framesCellOnScreen(int row) const {
    QTableView& view = tableCommands_->grid().view();
    const QModelIndex cell = tableCommands_->model().index(row - 1, ColFrames);
    return view.viewport()->mapToGlobal(view.visualRect(cell).topLeft());
}

std::array<bool, 4> WaveToolsHost::outputs() const {
    const MainWidgets& w = main_.widgets();
    return {w.ckTp[0]->isChecked(), w.ckTp[1]->isChecked(), w.ckTp[2]->isChecked(),
            w.ckTp[3]->isChecked()};
}

bool WaveToolsHost::connectBoard() {
    return main_.boardLink().ComPort.PortOpen || main_.ConnectBoard();
}

QString WaveToolsHost::noBoardAdvice() const {
    return link::NoBoardAdvice(main_.boardLink());
}

void WaveToolsHost::sendCommand(const std::string& text) {
    main_.boardLink().SendCommand(text);
}

void WaveToolsHost::appendLog(const QString& line) {
    main_.appendLog(line);
}

void WaveToolsHost::setLearningIndicator(bool on) {
    main_.SetLearningIndicator(on);
}

void WaveToolsHost::setTableModified() {
    main_.SetTableModified(true);
}

QFont WaveToolsHost::documentFont() const {
    return main_.widgets().memoRecv->font();
}

QString WaveToolsHost::pathPanelText() const {
    return main_.statusPanelText(2);
}

int WaveToolsHost::waveZoom() const {
    return main_.widgets().imgWave->zoom();
}

tools::PrintMarks WaveToolsHost::printMarks() const {
    const MainWidgets& w = main_.widgets();
    if (w.ckEiritsu->isChecked())
        return tools::PrintMarks::Eiritsu;
    if (w.ckPhilips->isChecked() || w.ckSerial->isChecked())
        return tools::PrintMarks::PhilipsSerial;
    return tools::PrintMarks::None;
}

std::array<std::string, 3> WaveToolsHost::samplingTexts() const {
    const MainWidgets& w = main_.widgets();
    return {w.cmbTs->currentText().toStdString(), w.cmbTw->currentText().toStdString(),
            w.cmbBt->currentText().toStdString()};
}

int WaveToolsHost::waveLanes() const {
    return main_.state().WaveLanes;
}

const WaveLane* WaveToolsHost::lanes() const {
    return learning_->captureState().Lanes.data();
}

int WaveToolsHost::laneRow(int lane) const {
    return learning_->captureState().LaneRow.at(static_cast<std::size_t>(lane));
}

std::optional<QString> WaveToolsHost::chooseWaveTextFile() {
    // The main window's save dialog, on the text-file filter, in the folder
    // of the table file.
    table_ui::FileDialogRequest request;
    request.kind = table_ui::FileDialogKind::Save;
    request.filters = table_ui::SaveDialogFilters();
    request.filterIndex = table_ui::kFilterTxt;
    request.defaultSuffix = "Txt";
    const std::string& table = main_.state().settings.CsvFilePath;
    if (!table.empty())
        request.initialFileName =
            QFileInfo(QString::fromStdString(table)).absolutePath() + "/*.Txt";
    const std::optional<table_ui::FileDialogChoice> choice = tableCommands_->chooseFile(request);
    if (!choice)
        return std::nullopt;
    return choice->path;
}

} // namespace quvan::app
