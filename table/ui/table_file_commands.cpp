// File New, Open and Save, the path commands and the start-up load.

#include "app/core/settings_file.h"
#include "app/main_window.h"
#include "platform/user_text.h"
#include "table/ui/grid_popup_menu.h"
#include "table/ui/table_commands.h"
#include "table/ui/table_grid.h"

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
    if (main_.state().TableModified &&
        ask(2, tr("警告"),
            tr("学習情報を新規作成します。\n現在の学習情報を破棄してもよろしいですか？")) != 1)
        return;
    table_.clearAll();
    grid_->setCursor(1, ColCarry);
    main_.clearLog();
    resetWaveView();
    main_.SetTableModified(false);
    popup_->resetCopyMark();
    setPathPanel({});
    main_.state().settings.CsvFilePath.clear();
}

void TableCommands::FileOpen() {
    if (main_.state().TableModified &&
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
    link::BoardLink& link = main_.boardLink();
    if (!link.ComPort.PortOpen)
        main_.ConnectBoard();
    if (link.ComPort.PortOpen)
        link.SendCommand("T");
}

bool TableCommands::LoadAtStart(const std::string& path) {
    const TableLoadResult result = loadFile(path);
    if (result.status == TableLoadStatus::Loaded)
        opened(path, result);
    // Forgotten without a box, as at every start; the log keeps the reason.
    if (result.status == TableLoadStatus::CannotOpen)
        main_.appendLog(tr("ファイルを開けません: %1").arg(FromUtf8(result.error)));
    return result.ok();
}

void TableCommands::opened(const std::string& path, const TableLoadResult& result) {
    clearWaveLanes();
    // A table that differs from its file (values limited, rows cut short)
    // counts as changed, so closing asks before the difference is kept.
    main_.SetTableModified(!result.warnings.empty());
    setPathPanel(path);
    grid_->setCursor(1, ColCarry);
    popup_->resetCopyMark();
    main_.state().settings.CsvFilePath = path;
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
    main_.clearLog();
    for (const std::string& line : result.monitorLines)
        main_.appendLog(QString::fromStdString(line));
    showWarnings(result.warnings);
    if (result.partial()) {
        // The rows read so far are in the table, which now matches no file:
        // it counts as changed, and the current file stays the one it was.
        const std::string& message =
            result.conversionError ? result.conversionError->message : result.stop->message;
        ask(1, tr("Error"), FromUtf8(message));
        main_.SetTableModified(true);
    }
    return result;
}

void TableCommands::applyHeader(const TableHeaderFound& found) {
    app::MainWidgets& w = main_.widgets();
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
    const app::MainWidgets& w = main_.widgets();
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
        main_.appendLog(tr("File Error: %1").arg(QString::fromStdString(result.error)));
        ask(1, TableFileText(kSaveErrorCaption), TableFileText(kSaveErrorText));
        return;
    }
    setPathPanel(path);
    main_.SetTableModified(false);
    main_.state().settings.CsvFilePath = path;
    showWarnings(result.warnings);
}

void TableCommands::ChooseCsvFilePath() {
    std::string& csvPath = main_.state().settings.CsvFilePath;
    const auto choice = chooseFile({FileDialogKind::Open, OpenDialogFilters(), kFilterCsv,
                                    QString(), QString::fromStdString(csvPath)});
    if (!choice)
        return;
    csvPath = choice->path.toStdString();
    setPathPanel(csvPath);
}

void TableCommands::ChooseHexFilePath() {
    std::string& hexPath = main_.state().settings.HexFilePath;
    const auto choice = chooseFile({FileDialogKind::Open, OpenDialogFilters(), kFilterHex,
                                    QString(), QString::fromStdString(hexPath)});
    if (!choice)
        return;
    hexPath = choice->path.toStdString();
    setPathPanel(hexPath);
}

void TableCommands::ChooseSoundFolder() {
    app::AppSettings& settings = main_.state().settings;
    const auto choice =
        chooseFile({FileDialogKind::Open, OpenDialogFilters(), kFilterWav, QString(),
                    QString::fromStdString(settings.SoundFolder + "*.Wav")});
    if (!choice)
        return;
    std::string folder = std::filesystem::path(choice->path.toStdString()).parent_path().string();
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    settings.SoundFolder = folder;
    app::BuildSoundPaths(settings, executableDir_);
    setPathPanel(settings.SoundFolder);
}

QString TableCommands::initialTableName() const {
    // Without a current file the dialogs start in "Dat/" beside the program.
    // The pattern is only offered, not kept as the current file.
    const std::string& csvPath = main_.state().settings.CsvFilePath;
    return QString::fromStdString(csvPath.empty() ? defaultTableLocation() : csvPath);
}

void TableCommands::setPathPanel(const std::string& path) {
    main_.widgets().sBarPanels[2]->setText(QString::fromStdString(path));
}

void TableCommands::clearWaveLanes() {
    if (waveView.ClearLanes)
        waveView.ClearLanes(main_.state().WaveLanes);
}

void TableCommands::resetWaveView() {
    const int lanes = main_.state().WaveLanes;
    clearWaveLanes();
    if (waveView.ClearLaneData)
        waveView.ClearLaneData(lanes);
    if (waveView.SetCurrentLane)
        waveView.SetCurrentLane(lanes);
    if (waveView.ResetCaptureResult)
        waveView.ResetCaptureResult();
}

} // namespace quvan::table_ui
