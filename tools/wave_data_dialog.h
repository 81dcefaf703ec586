#pragma once
// The wave data dialog ("Wave Data"): the captured pulse pairs of every lane
// as numbers, and for a pattern number picked in the list the spread of the
// mark times and periods of that pattern's pairs.

#include "tools/wave_data_model.h"

#include <QDialog>
#include <array>
#include <functional>

class QGroupBox;
class QLabel;
class QTableView;

namespace quvan::tools {

class TfrmWave final : public QDialog {
    Q_OBJECT
  public:
    // lastIndexOf(lane) gives the lane's LastIndex (rows in use = LastIndex + 1).
    TfrmWave(int lanes, std::function<int(int)> lastIndexOf, QWidget* parent = nullptr);

    WaveDataModel& model() { return model_; }
    QTableView* sGridWave() { return grid_; }

    // The reaction to the user selecting a cell (grid row 1.. = model row 0..).
    void sGridWaveSelectCell(int column, int row);
    void ShowPatternRange(int lane);
    // Empties the twenty range panels.
    void ClearRangePanels();

    struct Frame {
        QGroupBox* box = nullptr;
        QLabel* pnlPno = nullptr;
        QLabel* pnlHmin = nullptr;
        QLabel* pnlHmax = nullptr;
        QLabel* pnlWmin = nullptr;
        QLabel* pnlWmax = nullptr;
    };
    const Frame& frame(int index) const { return frames_.at(static_cast<std::size_t>(index)); }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void BuildFrames(QWidget* bottom);

    int lanes_;
    std::function<int(int)> lastIndexOf_;
    WaveDataModel model_;
    QTableView* grid_ = nullptr;
    std::array<Frame, 4> frames_{};
};

} // namespace quvan::tools
