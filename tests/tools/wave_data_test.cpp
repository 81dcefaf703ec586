#include "tools/wave_data_dialog.h"

#include <QAbstractItemModelTester>
#include <QGroupBox>
#include <QLabel>
#include <gtest/gtest.h>

namespace quvan::tools {
namespace {

// Writes pair rows the way the capture does: "%7d " texts.
void WritePair(WaveDataModel& model, int lane, int pair, int high, int width, int pattern) {
    const int base = lane * 5;
    model.setCell(base + 1, pair + 1, QString::asprintf("%7d ", high));
    model.setCell(base + 2, pair + 1, QString::asprintf("%7d ", width));
    model.setCell(base + 3, pair + 1, QString::asprintf("%4d ", pattern));
}

TEST(WaveDataModel, LayoutOfTheGrid) {
    WaveDataModel model(2);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(model.columnCount(), 10);
    EXPECT_EQ(model.rowCount(), 4096);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "Wno:1 ");
    EXPECT_EQ(model.headerData(5, Qt::Horizontal).toString(), "Wno:2 ");
    EXPECT_EQ(model.headerData(8, Qt::Horizontal).toString(), "Pno ");
    EXPECT_EQ(model.headerData(9, Qt::Horizontal).toString(), "Logic");
    EXPECT_EQ(model.cell(0, 1), "[    0 ] ");
    EXPECT_EQ(model.cell(5, 4096), "[ 4095 ] ");
    // Out of range is ignored, not a crash.
    model.setCell(10, 1, "x");
    model.setCell(1, 4097, "x");
    EXPECT_EQ(model.cell(10, 1), "");
}

TEST(WaveDataModel, ClearingALaneStopsAtTheFirstEmptyRow) {
    WaveDataModel model(2);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    for (int pair = 0; pair < 3; ++pair)
        WritePair(model, 1, pair, 560, 1120, 0);
    WritePair(model, 1, 4, 600, 1200, 1); // beyond a gap
    WritePair(model, 0, 0, 9000, 13500, 0);
    model.setCell(9, 1, "1"); // Logic
    model.clearLaneColumns(1);
    EXPECT_EQ(model.cell(6, 1), "");
    EXPECT_EQ(model.cell(9, 1), "");
    EXPECT_EQ(model.cell(6, 5), "    600 ");  // past the first empty row
    EXPECT_EQ(model.cell(5, 1), "[    0 ] "); // labels stay
    EXPECT_EQ(model.cell(1, 1), "   9000 ");  // other lanes untouched
}

class Dialog : public ::testing::Test {
  protected:
    int lastIndex[4] = {0, 0, 0, 0};
    TfrmWave dialog{2, [this](int lane) { return lastIndex[lane]; }};
};

TEST_F(Dialog, OnlyTheLanesInUseHaveFrames) {
    EXPECT_FALSE(dialog.frame(0).box->isHidden());
    EXPECT_FALSE(dialog.frame(1).box->isHidden());
    EXPECT_TRUE(dialog.frame(2).box->isHidden());
    EXPECT_TRUE(dialog.frame(3).box->isHidden());
    EXPECT_EQ(dialog.windowTitle(), "Wave Data");
    dialog.show();
    EXPECT_EQ(dialog.width(), 500);
    EXPECT_EQ(dialog.height(), 600);
    dialog.hide();
}

TEST_F(Dialog, PatternRangeOfTheChosenPattern) {
    WaveDataModel& model = dialog.model();
    WritePair(model, 1, 0, 9000, 13500, 0);
    WritePair(model, 1, 1, 1010, 1120, 1);
    WritePair(model, 1, 2, 560, 2250, 2);
    WritePair(model, 1, 3, 990, 1130, 1);
    WritePair(model, 1, 4, 1000, 1100, 1); // the last pair of the lane counts too
    WritePair(model, 1, 5, 2000, 9999, 1); // beyond LastIndex: stale, not in use
    lastIndex[1] = 4;

    dialog.sGridWaveSelectCell(8, 2); // the "Pno " cell of pair 1 in lane 1
    const TfrmWave::Frame& f = dialog.frame(1);
    EXPECT_EQ(f.pnlPno->text(), "1");
    EXPECT_EQ(f.pnlHmin->text(), "990");
    EXPECT_EQ(f.pnlHmax->text(), "1010");
    EXPECT_EQ(f.pnlWmin->text(), "1100");
    EXPECT_EQ(f.pnlWmax->text(), "1130");
    EXPECT_EQ(dialog.frame(0).pnlPno->text(), "");

    // Clicking a High or Width cell or a row label changes nothing.
    dialog.sGridWaveSelectCell(6, 1);
    dialog.sGridWaveSelectCell(7, 3);
    dialog.sGridWaveSelectCell(5, 3);
    EXPECT_EQ(f.pnlPno->text(), "1");

    // A pattern no row in use carries empties the range panels.
    f.pnlPno->setText("7");
    dialog.ShowPatternRange(1);
    EXPECT_EQ(f.pnlHmin->text(), "");
    EXPECT_EQ(f.pnlWmax->text(), "");
    dialog.ClearRangePanels();
    EXPECT_EQ(f.pnlPno->text(), "");
}

TEST_F(Dialog, AnEmptyLaneOrCellDoesNothing) {
    dialog.sGridWaveSelectCell(3, 1);
    EXPECT_EQ(dialog.frame(0).pnlPno->text(), "");
    dialog.frame(0).pnlPno->setText("0");
    dialog.ShowPatternRange(0); // no pairs: High of row 1 empty
    EXPECT_EQ(dialog.frame(0).pnlHmin->text(), "");
}

} // namespace
} // namespace quvan::tools
