// The two maintenance dialogs as forms: their controls, the status bar's
// click zones, the console, the file choice, and the switch bank kept in
// step with its lists through the widgets themselves.

#include "../frame/temp_dir.h"
#include "maintenance/download_dialog.h"
#include "maintenance/dsw_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <fstream>
#include <gtest/gtest.h>

namespace quvan::maintenance {
namespace {

class FakeHost final : public MaintenanceHost {
  public:
    std::string hexPath;
    std::optional<QString> pick;
    std::vector<std::pair<int, QString>> fileRequests;
    int settingsRuns = 0;
    QStringList messages;

    int showMessage(int, const QString&, const QString& text) override {
        messages << text;
        return 1;
    }
    bool messageShowing() const override { return false; }
    void answerMessageWithOk() override {}
    bool connectBoard() override { return false; }
    void communicationSettings() override { ++settingsRuns; }
    std::optional<QString> chooseFile(int filter, const QString& initial) override {
        fileRequests.emplace_back(filter, initial);
        return pick;
    }
    std::string hexFilePath() const override { return hexPath; }
    void setHexFilePath(const std::string& path) override { hexPath = path; }
    void playSound(FirmwareSound) override {}
};

class Dialogs : public ::testing::Test {
  protected:
    platform::PosixSerialPortOpener opener;
    link::BoardLink link{opener};
    FakeHost host;
    test_support::TempDir dir;
};

void ReleaseOnStatusBar(TfrmDownload& dialog, int x) {
    QTest::mousePress(dialog.sBar, Qt::LeftButton, {}, QPoint(x, 5));
    QTest::mouseRelease(dialog.sBar, Qt::LeftButton, {}, QPoint(x, 5));
}

TEST_F(Dialogs, FirmwareDialogShowsIdleWithItsConsoleFolded) {
    host.hexPath = "/nowhere/QUVAN-ARM_R251223.Hex";
    TfrmDownload dialog(link, host, nullptr);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.windowTitle(), "Firmware Update");
    EXPECT_EQ(dialog.btnDownload->text(), "Download");
    EXPECT_EQ(dialog.btnFile->text(), "File");
    EXPECT_EQ(dialog.btnClear->text(), "Log Clear");
    EXPECT_EQ(dialog.btnSend->text(), "Send");
    EXPECT_EQ(dialog.lblRstWait->text(), "Reset to Wait");
    EXPECT_EQ(dialog.lblRstWaitUnit->text(), "mS");
    EXPECT_EQ(dialog.pnlHex->text(), "/nowhere/QUVAN-ARM_R251223.Hex");
    EXPECT_EQ(dialog.edtRstWait->text(), "500");
    EXPECT_FALSE(dialog.pnlRecv->isVisible());
    EXPECT_FALSE(dialog.prgBar->isVisible());
    EXPECT_FALSE(dialog.lblMsg->isVisible());
    EXPECT_EQ(dialog.statusPanelText(0), "COM:OFF");
    EXPECT_EQ(dialog.statusPanelText(1), "115200bps");
    EXPECT_EQ(dialog.statusPanelText(3), "Can't open ... /nowhere/QUVAN-ARM_R251223.Hex");
    EXPECT_EQ(dialog.height(), dialog.pnlTop->height() + dialog.sBar->height());
    // pnlHex: 8 pixels right of the Download button, 16 left of File; the
    // progress bar shares its left edge and width.
    EXPECT_EQ(dialog.pnlHex->x(), dialog.btnDownload->geometry().right() + 1 + 8);
    EXPECT_EQ(dialog.btnFile->x(), dialog.pnlHex->geometry().right() + 1 + 16);
    EXPECT_EQ(dialog.prgBar->x(), dialog.pnlHex->x());
    EXPECT_EQ(dialog.prgBar->width(), dialog.pnlHex->width());
    EXPECT_EQ(dialog.state(), DownloadState::Idle);
}

TEST_F(Dialogs, StatusBarZonesOpenTheSettingsAndTheConsole) {
    TfrmDownload dialog(link, host, nullptr);
    dialog.show();
    const int panel2End = dialog.sBarPanels[1]->geometry().right() + 1;
    const int panel3End = dialog.sBarPanels[2]->geometry().right() + 1;
    ReleaseOnStatusBar(dialog, 5);
    EXPECT_EQ(host.settingsRuns, 1);
    ReleaseOnStatusBar(dialog, panel2End - 5); // between the zones: nothing
    ReleaseOnStatusBar(dialog, panel3End - 10);
    EXPECT_EQ(host.settingsRuns, 1);
    EXPECT_FALSE(dialog.consoleShown());
    ReleaseOnStatusBar(dialog, panel3End + 20);
    EXPECT_TRUE(dialog.consoleShown());
    EXPECT_TRUE(dialog.pnlRecv->isVisible());
    EXPECT_EQ(dialog.height(), 400);
    EXPECT_NE(dialog.minimumHeight(), dialog.maximumHeight()); // resizable
    ReleaseOnStatusBar(dialog, panel3End + 20);
    EXPECT_FALSE(dialog.consoleShown());
    EXPECT_EQ(dialog.minimumHeight(), dialog.maximumHeight());
}

TEST_F(Dialogs, ConsoleCommandHistoryAndKeys) {
    TfrmDownload dialog(link, host, nullptr);
    dialog.show();
    dialog.SetConsoleOpen(true);
    dialog.AddCommandHistory("Reset");
    dialog.AddCommandHistory("Ver");
    dialog.AddCommandHistory("Reset");
    dialog.AddCommandHistory("reset"); // another text: case counts
    ASSERT_EQ(dialog.cmbCmd->count(), 3);
    EXPECT_EQ(dialog.cmbCmd->itemText(2), "reset");
    dialog.cmbCmd->setFocus();
    QTest::keyClick(dialog.cmbCmd->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(dialog.focusWidget(), dialog.btnSend);
    // Sent without a port: nothing goes out, but the text joins the history.
    dialog.cmbCmd->setEditText("Download Ready ?");
    dialog.btnSend->click();
    EXPECT_EQ(dialog.cmbCmd->count(), 4);
    dialog.cmbCmd->setEditText("");
    dialog.btnSend->click();
    EXPECT_EQ(dialog.cmbCmd->count(), 4);
}

TEST_F(Dialogs, AChosenFileIsScannedAndKept) {
    const std::string path = (dir.path() / "fw.Hex").string();
    // 02+04+08+06 = 14 → EC; one byte at offset 0: 01 → FF.
    std::ofstream(path) << ":020000040806EC\r\n:0100000000FF\r\n:00000001FF\r\n";
    host.hexPath = "old.Hex";
    host.pick = QString::fromStdString(path);
    TfrmDownload dialog(link, host, nullptr);
    dialog.show();
    dialog.btnFile->click();
    ASSERT_EQ(host.fileRequests.size(), 1u);
    EXPECT_EQ(host.fileRequests[0].first, 3); // "Firmware File (*.Hex)"
    EXPECT_EQ(host.fileRequests[0].second, "old.Hex");
    EXPECT_EQ(dialog.pnlHex->text(), QString::fromStdString(path));
    EXPECT_EQ(host.hexPath, path);
    EXPECT_EQ(dialog.statusPanelText(3), "LastAdrs[0x0806:0000] EraseSector:7");
    EXPECT_EQ(dialog.firmware().lastEraseSector(), 7);
    // Without a board the click warns and sends nothing.
    dialog.btnDownload->click();
    EXPECT_EQ(host.messages.back(), QStringLiteral("QUVAN-ARM と通信出来ません。"));
    EXPECT_EQ(dialog.btnDownload->text(), "Download");
}

TEST_F(Dialogs, DipSwitchBankFollowsItsLists) {
    TfrmDsw dialog(link, nullptr);
    EXPECT_EQ(dialog.windowTitle(), "DIP Switch Setup");
    EXPECT_EQ(dialog.cmbRSbps->count(), 5);
    EXPECT_EQ(dialog.cmbRSbps->itemText(4), "9600bps");
    EXPECT_EQ(dialog.cmbInputSel->itemText(1), QStringLiteral("バイナリ入力"));
    EXPECT_EQ(dialog.cmbFrameMax->itemText(0), QStringLiteral("ストローブ優先"));
    EXPECT_EQ(dialog.cmbUSBbps->itemText(1), "57600bps");
    EXPECT_FALSE(dialog.cmbRSbps->isEditable());

    dialog.tgswNum[0]->click();
    EXPECT_EQ(dialog.tgswNum[0]->text(), "on");
    EXPECT_EQ(dialog.cmbRSbps->currentIndex(), 1);
    // Switch 1 and switch 3: no speed; back to 115200bps with all off.
    dialog.tgswNum[2]->click();
    EXPECT_EQ(dialog.cmbRSbps->currentIndex(), 0);
    for (int n = 0; n < 3; ++n)
        EXPECT_FALSE(dialog.tgswNum[static_cast<std::size_t>(n)]->isChecked());

    // A list closed up on an item sets its switches.
    emit dialog.cmbFrameMax->activated(3);
    EXPECT_TRUE(dialog.tgswNum[4]->isChecked());
    EXPECT_TRUE(dialog.tgswNum[5]->isChecked());
    dialog.tgswNum[3]->click();
    EXPECT_EQ(dialog.cmbInputSel->currentIndex(), 1);
    EXPECT_EQ(DipApplyCommands(dialog.switchState())[2], "Binary:6");

    // Replies out of range change nothing the user sees.
    dialog.show();
    const DipSwitchState before = dialog.switchState();
    dialog.HandleDswReply("BpsR:7");
    dialog.HandleDswReply("Bit16:9");
    EXPECT_EQ(dialog.switchState(), before);
    EXPECT_EQ(dialog.cmbFrameMax->currentIndex(), 3);
    dialog.HandleDswReply("BpsU:1");
    EXPECT_TRUE(dialog.tgswNum[6]->isChecked());
    EXPECT_EQ(dialog.tgswNum[6]->text(), "on");
}

} // namespace
} // namespace quvan::maintenance
