// The wave information editor as a dialog: what it shows, the Enter key of
// the byte text, IR Out and OK, against a host that records what it is asked.

#include "table/learning_table.h"
#include "tools/wave_edit_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace quvan::tools {
namespace {

class RecordingHost final : public WaveEditHost {
  public:
    int row = 1;
    std::array<bool, 4> outs{true, true, true, true};
    bool boardReachable = true;
    int connectAttempts = 0;
    std::vector<int> selectedRows;
    std::vector<std::string> sent;
    QStringList log;
    std::vector<bool> indicator;
    struct Shown {
        int kind;
        QString caption;
        QString text;
    };
    std::vector<Shown> shown;
    int modified = 0;

    int selectedRow() const override { return row; }
    void selectRow(int r) override {
        selectedRows.push_back(r);
        row = r;
    }
    QPoint framesCellOnScreen(int) const override { return {120, 140}; }
    std::array<bool, 4> outputs() const override { return outs; }
    bool connectBoard() override {
        ++connectAttempts;
        return boardReachable;
    }
    void sendCommand(const std::string& text) override { sent.push_back(text); }
    void appendLog(const QString& line) override { log.append(line); }
    void setLearningIndicator(bool on) override { indicator.push_back(on); }
    int showMessage(int kind, const QString& caption, const QString& text) override {
        shown.push_back({kind, caption, text});
        return 1;
    }
    void setTableModified() override { ++modified; }
};

class WaveEditDialog : public ::testing::Test {
  protected:
    void FillRow(int r, int codes = 6) {
        table.setCell(r, ColCarry, "38.0kHz");
        table.setCell(r, ColFrames, "1");
        table.setCell(r, ColComments, "TV");
        table.setCell(r, ColResult, "Tm:NEC-32A    d:00FF 12ED");
        LearnedSignal& s = table.record(r);
        s.Carry = 380;
        s.DataBits = codes;
        s.RepeatBit = 2;
        s.PatternHigh = {9000, 560, 560, 560};
        s.PatternWidth = {13500, 1120, 2250, 40000};
        for (int i = 0; i < codes; ++i)
            s.PatternCode[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i % 4);
    }
    QString Cell(int r, int c) { return dialog.sGrid->item(r, c)->text(); }

    LearningTable table{kStdTableRows};
    RecordingHost host;
    TfrmWaveEdit dialog{table, host};
};

TEST_F(WaveEditDialog, OpensOnTheSelectedRowWithItsNumbers) {
    FillRow(3);
    host.row = 0; // no row selected: nothing opens
    dialog.OpenForSelectedRow();
    EXPECT_FALSE(dialog.isVisible());
    host.row = 3;
    dialog.OpenForSelectedRow();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.windowTitle(), "WaveEdit");
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(dialog.isModal());
    EXPECT_EQ(dialog.edtCarry->text(), "380");
    EXPECT_EQ(dialog.edtRepeatBit->text(), "   2");
    EXPECT_EQ(dialog.edtPcode->text(), "012301");
    EXPECT_EQ(dialog.edtDataBits->text().trimmed(), "6");
    EXPECT_EQ(Cell(0, 0), " Pcode");
    EXPECT_EQ(Cell(0, 2), " Width");
    EXPECT_EQ(Cell(16, 0), " Pcode:F");
    EXPECT_EQ(Cell(1, 1), " 9000");
    EXPECT_EQ(Cell(4, 2), " 40000");
    EXPECT_EQ(Cell(5, 1), "");
    EXPECT_EQ(dialog.lblPcode->text(), "0----+");
    EXPECT_EQ(dialog.edtByteCode->text(), "00FF 12ED");
    EXPECT_EQ(dialog.width(), TfrmWaveEdit::kClientWidth);
    // Nine characters would be 72 pixels; the box keeps room to type.
    EXPECT_GE(dialog.edtByteCode->width(), 72);
    EXPECT_EQ(dialog.pos(), QPoint(120, 140));
}

TEST_F(WaveEditDialog, ALongCodeWidensTheDialogToItsRuler) {
    FillRow(1, 80);
    dialog.OpenForSelectedRow();
    ASSERT_EQ(dialog.lblPcode->text().size(), 80);
    const int screenRoom = dialog.screen()->availableGeometry().width() - 16;
    EXPECT_EQ(dialog.width(), std::max(TfrmWaveEdit::kClientWidth,
                                       std::min(dialog.lblPcode->width() + 32, screenRoom)));
    EXPECT_GT(dialog.width(), TfrmWaveEdit::kClientWidth);
}

TEST_F(WaveEditDialog, EnterInTheByteTextConvertsAndKeepsTheDialogOpen) {
    FillRow(1); // pattern 2 is the longer: a 1 bit is "2"
    dialog.OpenForSelectedRow();
    dialog.edtByteCode->setText("A5");
    QTest::keyClick(dialog.edtByteCode, Qt::Key_Return);
    EXPECT_EQ(dialog.edtPcode->text(), "0212112123");
    EXPECT_EQ(dialog.edtDataBits->text(), "10");
    EXPECT_EQ(dialog.lblPcode->text(), "0----+----");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(host.modified, 0);
}

TEST_F(WaveEditDialog, IrOutWithoutCodeOrBoardOrWithABadCodeSendsNothing) {
    dialog.edtPcode->clear();
    dialog.btnIrOut->click();
    EXPECT_TRUE(host.sent.empty());
    EXPECT_TRUE(host.shown.empty());
    EXPECT_EQ(host.connectAttempts, 0);

    dialog.edtPcode->setText("0123");
    host.boardReachable = false;
    dialog.btnIrOut->click();
    EXPECT_TRUE(host.sent.empty());
    ASSERT_EQ(host.shown.size(), 1u);
    EXPECT_EQ(host.shown[0].caption, "Warning");
    EXPECT_EQ(host.shown[0].text, "QUVANと通信出来ません。");

    host.boardReachable = true;
    dialog.edtPcode->setText("01x3");
    dialog.btnIrOut->click();
    EXPECT_TRUE(host.sent.empty());
    ASSERT_EQ(host.shown.size(), 2u);
    EXPECT_TRUE(host.shown[1].text.contains("3 文字目「x」")) << host.shown[1].text.toStdString();
    EXPECT_TRUE(host.shown[1].text.contains("送信していません"));
}

TEST_F(WaveEditDialog, OkRefusesNumbersItCannotStoreAndChangesNothing) {
    FillRow(2);
    host.row = 2;
    dialog.OpenForSelectedRow();
    dialog.sGrid->item(3, 1)->setText("123456");
    dialog.btnOk->click();
    ASSERT_EQ(host.shown.size(), 1u);
    EXPECT_TRUE(host.shown[0].text.startsWith("Pcode:2 High は"))
        << host.shown[0].text.toStdString();
    EXPECT_TRUE(host.shown[0].text.contains("保存していません"));
    EXPECT_TRUE(host.selectedRows.empty());
    EXPECT_TRUE(table.isBlank(3));
    EXPECT_EQ(table.record(2).PatternHigh[2], 560);
    EXPECT_EQ(host.modified, 0);
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(WaveEditDialog, OkSaysWhenTheByteTextHasNoPlaceInTheResult) {
    FillRow(2);
    table.setCell(2, ColResult, "Code(  6bits): 012301");
    host.row = 2;
    dialog.OpenForSelectedRow();
    EXPECT_EQ(dialog.edtByteCode->text(), "");
    dialog.edtByteCode->setText("A5");
    dialog.btnOk->click();
    EXPECT_EQ(table.cell(3, ColResult), "Code(  6bits): 012301");
    ASSERT_EQ(host.shown.size(), 1u);
    EXPECT_EQ(host.shown[0].caption, "確認");
    EXPECT_TRUE(host.shown[0].text.contains("ByteCode"));
    EXPECT_EQ(host.modified, 1);
}

} // namespace
} // namespace quvan::tools
