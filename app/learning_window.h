#pragma once
// Learning in the main window: the glue between the learning logic (capture
// and decode, plain C++) and the window's widgets, the wave image, the wave
// data dialog, the table grid and the board link. It reads the option boxes
// and edit texts before every step and carries out what the logic asks for.

#include "capture/capture_state.h"
#include "capture/learning_context.h"
#include "decode/capture_decoder.h"

#include <QObject>
#include <array>
#include <memory>

class QToolButton;

namespace quvan {
class LearningTable;
}
namespace quvan::platform {
class SoundPlayer;
}
namespace quvan::table_ui {
class TableCommands;
}
namespace quvan::tools {
class TfrmWave;
}

namespace quvan::app {

class TfrmMain;
class TfrmMsgBox;
class DiagnosisDialog;

class LearningWindow final : public QObject, public LearningEffects {
    Q_OBJECT
  public:
    LearningWindow(TfrmMain& main, TfrmMsgBox& msgBox, platform::SoundPlayer& sounds,
                   LearningTable& table, table_ui::TableCommands& grid, tools::TfrmWave& waveData);

    CaptureState& captureState() { return state_; }
    const LearningOptions& options() const { return options_; }
    // The options read afresh from the window's boxes.
    const LearningOptions& currentOptions() {
        RefreshOptions();
        return options_;
    }

    // Board lines routed here by the dispatcher.
    void HandleWaveLine(const std::string& line);
    void HandleAnalysisLine(const std::string& line);

    // The learning panel was clicked.
    void StartLearning();
    // Zoom buttons: step -1 ("＜") or +1 ("＞").
    void Zoom(int step);
    void RedrawLanes(int zoom);
    void WaveClear();
    void MeasureAt(int x, int y);

    // "診断": explains the capture of a lane in its dialog.
    void ShowDiagnosis(int lane);
    // The lane whose capture was stored into a table row (-1: none still holds it).
    int LaneOfRow(int row) const;
    DiagnosisDialog& diagnosisDialog() { return *diagnosis_; }
    // The button over each lane that opens its diagnosis.
    QToolButton* diagnosisButton(int lane) const;
    const CaptureDecoder& decoder() const { return decoder_; }

    // LearningEffects
    void sendCommand(const std::string& text) override;
    void setLearningIndicator(bool on) override;
    void setTableModified() override;
    void playSound(Sound sound) override;
    void appendLog(const std::string& line) override;
    void clearLog() override;
    void reportError(const std::string& text) override;
    int showMessage(int kind, const std::string& caption, const std::string& text,
                    bool& dispOff) override;
    void setLearningMsgChecked(bool checked) override;
    void setProgressVisible(bool visible) override;
    void setProgress(int position) override;
    void drawPair(int lane, int index) override;
    void clearLanes(int lane) override;
    void clearWaveColumns(int lane) override;
    void clearPatternRangePanels() override;
    void setWaveCell(int col, int row, const std::string& text) override;
    void setWaveCurrentCell(int col, int row) override;
    void drawLaneLabel(int lane, const std::string& text) override;
    void drawSamplingOverlay(int lane, const std::vector<OverlayCell>& cells) override;
    void drawPulseMeanings(int lane, const PulseMeanings& meanings) override;
    int currentRow() const override;
    void setCurrentRow(int row) override;
    void setCurrentColumn(int col) override;
    void focusGrid() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void WireDiagnosis();
    void UpdateDiagnosisButtons();
    void PlaceDiagnosisButtons();
    bool HasDiagnosis(int lane) const;
    void RefreshOptions();
    void Wire();
    void FormatBoxToggled(QObject* box, bool ticked);
    void ToggleStripOptions();

    TfrmMain& main_;
    TfrmMsgBox& msgBox_;
    platform::SoundPlayer& sounds_;
    LearningTable& table_;
    table_ui::TableCommands& grid_;
    tools::TfrmWave& waveData_;
    CaptureState state_;
    LearningOptions options_;
    LearningContext ctx_;
    CaptureDecoder decoder_;
    // The carrier of each lane's capture: a redraw labels every lane with its
    // own carrier, not with the one of the last capture.
    std::array<std::int32_t, kLaneSlots> laneCarry_{};
    DiagnosisDialog* diagnosis_ = nullptr;
    std::array<QToolButton*, kLaneSlots> laneButtons_{};
};

} // namespace quvan::app
