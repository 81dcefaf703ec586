#include "tools/wave_output_commands.h"

#include "table/learning_table.h"
#include "tools/core/wave_text.h"

#include <QWidget>

namespace quvan::tools {

WaveOutputCommands::WaveOutputCommands(const LearningTable& table, WaveOutputHost& host,
                                       QWidget* dialogParent)
    : QObject(dialogParent), table_(table), host_(host) {
    runPrint = [dialogParent](const platform::PrintRequest& request) {
        return platform::PreviewAndPrint(dialogParent, request);
    };
}

platform::PrintRequest WaveOutputCommands::TablePrintRequest() const {
    TablePrintInput input;
    input.pathPanel = host_.pathPanelText().toStdString();
    input.date = today().toString("yyyy/MM/dd").toStdString();
    input.table = &table_;
    platform::PrintRequest request;
    request.jobTitle =
        QString::fromStdString(TablePrintTitle(host_.applicationTitle().toStdString()));
    request.font = host_.documentFont();
    request.draw = [input](platform::PrintSurface& surface) { PrintTable(surface, input); };
    return request;
}

platform::PrintRequest WaveOutputCommands::WavePrintRequest() const {
    WavePrintInput input;
    input.zoom = host_.waveZoom();
    input.marks = host_.printMarks();
    const std::array<std::string, 3> sampling = host_.samplingTexts();
    input.ts = sampling[0];
    input.tw = sampling[1];
    input.bt = sampling[2];
    const WaveLane* lanes = host_.lanes();
    for (int l = 0; l < host_.waveLanes(); ++l) {
        WavePrintLane lane;
        lane.lane = &lanes[l];
        lane.row = host_.laneRow(l);
        if (table_.validRow(lane.row)) {
            lane.comments = table_.cell(lane.row, ColComments);
            lane.result = table_.cell(lane.row, ColResult);
        }
        input.lanes.push_back(std::move(lane));
    }
    platform::PrintRequest request;
    request.jobTitle =
        QString::fromStdString(WavePrintTitle(host_.applicationTitle().toStdString()));
    request.font = host_.documentFont();
    // The lanes are drawn from the capture as it stands when the document is
    // drawn; the preview redraws it whenever the page setup changes.
    request.draw = [input](platform::PrintSurface& surface) { PrintWaves(surface, input); };
    return request;
}

void WaveOutputCommands::btnTablePrintClick() {
    runPrint(TablePrintRequest());
}

void WaveOutputCommands::btnWavePrintClick() {
    runPrint(WavePrintRequest());
}

void WaveOutputCommands::btnWaveSaveClick() {
    const std::optional<QString> path = host_.chooseWaveTextFile();
    if (path)
        SaveWaveText(*path);
}

bool WaveOutputCommands::SaveWaveText(const QString& path) {
    const std::string bytes = WaveTextBytes(
        WindowWaveTextBlocks(table_, host_.selectedRow(), host_.lanes(), host_.waveLanes()));
    const std::string failure = tools::SaveWaveText(path.toStdString(), bytes);
    if (failure.empty())
        return true;
    host_.showMessage(1, tr("確認"), tr("Can't Save"));
    return false;
}

} // namespace quvan::tools
