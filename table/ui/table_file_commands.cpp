// File New, Open and Save, the path commands and the start-up load.

#include "link/board_link.h"
#include "platform/user_text.h"
#include "table/ui/grid_popup_menu.h"
#include "table/ui/table_commands.h"
#include "table/ui/table_grid.h"
#include "table/ui/table_host.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <filesystem>

namespace quvan::table_ui {
namespace {

constexpr int kMaxWarningsShown = 10;

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// One of the table file's own message texts, in the window's language.
QString TableFileText(std::string_view source) {
    return QString::fromStdString(user_text::Tr("TableFile", std::string(source).c_str()));
}

} // namespace

void TableCommands::FileNew() {
    if (host_.tableModified() &&
        ask(2, tr("警告"),
            tr("学習情報を新規作成します。\n現在の学習情報を破棄してもよろしいですか？")) != 1)
        return;
    table_.clearAll();
    grid_->setCursor(1, ColCarry);
    host_.clearLog();
    resetWaveView();
    host_.setTableModified(false);
    popup_->resetCopyMark();
    setPathPanel({});
    host_.setCsvFilePath({});
}

void TableCommands::FileOpen() {
    if (host_.tableModified() &&
        ask(2, tr("警告"), tr("現在の学習情報を保存していません。\n破棄してもよろしいですか？")) !=
            1)
        return;
    const std::optional<FileDialogChoice> choice = chooseFile(
        {FileDialogKind::Open, OpenDialogFilters(), kFilterCsv, "Csv", initialTableName()});
    if (!choice)
        return;
    const std::string path = choice->path.toStdString();
    const TableLoadResult result = loadFile(path);
    if (result.status == TableLoadStatus::CannotOpen)
        ask(1, tr("File Error"), tr("ファイルを開けません。") + '\n' + FromUtf8(result.error));
    if (result.status != TableLoadStatus::Loaded)
        return;
    opened(path, result);

    // The board is put back into transmit mode, as at start-up.
    if (!link_.ComPort.PortOpen)
        host_.connectBoard();
    if (link_.ComPort.PortOpen)
        link_.SendCommand("T");
}

bool TableCommands::LoadAtStart(const std::string& path) {
    const TableLoadResult result = loadFile(path);
    if (result.status == TableLoadStatus::Loaded)
        opened(path, result);
    // Forgotten without a box, as at every start; the log keeps the reason.
    if (result.status == TableLoadStatus::CannotOpen)
        host_.appendLog(tr("ファイルを開けません: %1").arg(FromUtf8(result.error)));
    return result.ok();
}

void TableCommands::opened(const std::string& path, const TableLoadResult& result) {
    clearWaveLanes();
    // A table that differs from its file (values limited, rows cut short)
    // counts as changed, so closing asks before the difference is kept.
    host_.setTableModified(!result.warnings.empty());
    setPathPanel(path);
    grid_->setCursor(1, ColCarry);
    popup_->resetCopyMark();
    host_.setCsvFilePath(path);
}

TableLoadResult TableCommands::loadFile(const std::string& path) {
    TableLoadOptions options;
    options.confirmNotTableFile = [this] {
        return ask(2, TableFileText(kNotTableFileCaption), TableFileText(kNotTableFileText)) == 1;
    };
    options.monitorDump = monitorMode();
    TableLoadResult result = LoadTable(path, table_, options);
    if (!result.ok())
        return result;

    applyHeader(result.header);
    host_.clearLog();
    for (const std::string& line : result.monitorLines)
        host_.appendLog(QString::fromStdString(line));
    showWarnings(result.warnings);
    if (result.partial()) {
        // The rows read so far are in the table, which now matches no file:
        // it counts as changed, and the current file stays the one it was.
        const std::string& message =
            result.conversionError ? result.conversionError->message : result.stop->message;
        ask(1, tr("Error"), FromUtf8(message));
        host_.setTableModified(true);
    }
    return result;
}

void TableCommands::applyHeader(const TableHeaderFound& found) {
    const TableControls& w = c_;
    // A load only ever ticks the options its file names.
    if (found.eiritsu)
        w.ckEiritsu->setChecked(true);
    if (found.serial)
        w.ckSerial->setChecked(true);
    if (found.philips)
        w.ckPhilips->setChecked(true);
    if (found.ts)
        w.cmbTs->setCurrentText(QString::fromStdString(*found.ts));
    if (found.tw)
        w.cmbTw->setCurrentText(QString::fromStdString(*found.tw));
    if (found.bits)
        w.cmbBt->setCurrentText(QString::fromStdString(*found.bits));
    if (w.ckEiritsu->isChecked() || w.ckSerial->isChecked() || w.ckPhilips->isChecked()) {
        w.pnlCont->setProperty("tag", 1);
        for (QWidget* widget :
             {static_cast<QWidget*>(w.btnTableLoad), static_cast<QWidget*>(w.ckEiritsu),
              static_cast<QWidget*>(w.ckPhilips), static_cast<QWidget*>(w.ckSerial)})
            widget->setVisible(true);
    }
}

TableHeaderOptions TableCommands::headerOptions() const {
    const TableControls& w = c_;
    TableHeaderOptions options;
    options.eiritsu = w.ckEiritsu->isChecked();
    options.serial = w.ckSerial->isChecked();
    options.philips = w.ckPhilips->isChecked();
    options.ts = w.cmbTs->currentText().toStdString();
    options.tw = w.cmbTw->currentText().toStdString();
    options.bits = w.cmbBt->currentText().toStdString();
    return options;
}

void TableCommands::showWarnings(const std::vector<std::string>& warnings) {
    if (warnings.empty())
        return;
    QString text = tr("次の値はファイルと同じにはなりません。") + '\n';
    const int shown = std::min<int>(kMaxWarningsShown, static_cast<int>(warnings.size()));
    for (int i = 0; i < shown; ++i)
        text += '\n' + QString::fromStdString(warnings[i]);
    if (static_cast<int>(warnings.size()) > shown)
        text += QStringLiteral("\n... (%1)").arg(warnings.size() - shown);
    ask(1, tr("Warning"), text);
}

void TableCommands::FileSave() {
    const std::optional<FileDialogChoice> choice = chooseFile(
        {FileDialogKind::Save, SaveDialogFilters(), kFilterCsv, "Csv", initialTableName()});
    if (!choice)
        return;
    if (choice->filterIndex == kFilterHex || choice->filterIndex == kFilterWav ||
        choice->filterIndex == kFilterBmp) {
        ask(1, tr("警告"), tr("選択されたファイル形式では保存出来ません。"));
        return;
    }
    const std::string path = choice->path.toStdString();
    const TableSaveResult result = SaveTable(path, table_, headerOptions());
    if (!result.ok) {
        // The old file is still whole; the window keeps naming it.
        host_.appendLog(tr("File Error: %1").arg(QString::fromStdString(result.error)));
        ask(1, TableFileText(kSaveErrorCaption), TableFileText(kSaveErrorText));
        return;
    }
    setPathPanel(path);
    host_.setTableModified(false);
    host_.setCsvFilePath(path);
    showWarnings(result.warnings);
}

void TableCommands::ChooseCsvFilePath() {
    const auto choice = chooseFile({FileDialogKind::Open, OpenDialogFilters(), kFilterCsv,
                                    QString(), QString::fromStdString(host_.csvFilePath())});
    if (!choice)
        return;
    const std::string csvPath = choice->path.toStdString();
    host_.setCsvFilePath(csvPath);
    setPathPanel(csvPath);
}

void TableCommands::ChooseHexFilePath() {
    const auto choice = chooseFile({FileDialogKind::Open, OpenDialogFilters(), kFilterHex,
                                    QString(), QString::fromStdString(host_.hexFilePath())});
    if (!choice)
        return;
    const std::string hexPath = choice->path.toStdString();
    host_.setHexFilePath(hexPath);
    setPathPanel(hexPath);
}

void TableCommands::ChooseSoundFolder() {
    const auto choice =
        chooseFile({FileDialogKind::Open, OpenDialogFilters(), kFilterWav, QString(),
                    QString::fromStdString(host_.soundFolder() + "*.Wav")});
    if (!choice)
        return;
    std::string folder = std::filesystem::path(choice->path.toStdString()).parent_path().string();
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    host_.setSoundFolder(folder);
    setPathPanel(folder);
}

QString TableCommands::initialTableName() const {
    // Without a current file the dialogs start in "Dat/" beside the program.
    // The pattern is only offered, not kept as the current file.
    const std::string csvPath = host_.csvFilePath();
    return QString::fromStdString(csvPath.empty() ? defaultTableLocation() : csvPath);
}

void TableCommands::setPathPanel(const std::string& path) {
    host_.showFilePath(QString::fromStdString(path));
}

void TableCommands::clearWaveLanes() {
    if (waveView.ClearLanes)
        waveView.ClearLanes(host_.waveLanes());
}

void TableCommands::resetWaveView() {
    const int lanes = host_.waveLanes();
    clearWaveLanes();
    if (waveView.ClearLaneData)
        waveView.ClearLaneData(lanes);
    if (waveView.SetCurrentLane)
        waveView.SetCurrentLane(lanes);
    if (waveView.ResetCaptureResult)
        waveView.ResetCaptureResult();
}

} // namespace quvan::table_ui
