#pragma once
// The main window as the wave tools see it: the editor's and the outputs'
// host interfaces implemented over the window's widgets, the learning table's
// grid and the capture of the learning run.

#include "tools/wave_edit_dialog.h"
#include "tools/wave_output_commands.h"

namespace quvan::table_ui {
class TableCommands;
}

namespace quvan::app {

class LearningWindow;
class TfrmMain;

class WaveToolsHost final : public tools::WaveEditHost, public tools::WaveOutputHost {
  public:
    // The editor is created with the other dialogs, before the table
    // commands and the learning run exist; they are attached once they do.
    WaveToolsHost(TfrmMain& main, QString applicationTitle);
    void attach(table_ui::TableCommands& tableCommands, LearningWindow& learning);

    // WaveEditHost and WaveOutputHost
    int selectedRow() const override;
    int showMessage(int kind, const QString& caption, const QString& text) override;

    // WaveEditHost
    void selectRow(int row) override;
    QPoint framesCellOnScreen(int row) const override;
    std::array<bool, 4> outputs() const override;
    bool connectBoard() override;
    QString noBoardAdvice() const override;
    void sendCommand(const std::string& text) override;
    void appendLog(const QString& line) override;
    void setLearningIndicator(bool on) override;
    void setTableModified() override;

    // WaveOutputHost
    QString applicationTitle() const override { return title_; }
    QFont documentFont() const override;
    QString pathPanelText() const override;
    int waveZoom() const override;
    tools::PrintMarks printMarks() const override;
    std::array<std::string, 3> samplingTexts() const override;
    int waveLanes() const override;
    const WaveLane* lanes() const override;
    int laneRow(int lane) const override;
    std::optional<QString> chooseWaveTextFile() override;

  private:
    TfrmMain& main_;
    table_ui::TableCommands* tableCommands_ = nullptr;
    LearningWindow* learning_ = nullptr;
    QString title_;
};

} // namespace quvan::app
