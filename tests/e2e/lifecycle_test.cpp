// The main window's life: its shape per edition, resizing, closing with
// unsaved changes or while learning, and settings that survive a restart.

#include "../frame/qstring_printer.h"
#include "sim_process.h"
#include "test_program.h"

#include <QScreen>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace quvan::app {
namespace {

using test_support::ReadFileBytes;
using test_support::SimProcess;
using test_support::TempDir;

class Lifecycle : public ::testing::Test {
  protected:
    Lifecycle() {
        TfrmMsgBox::SetAnswerer([this](TfrmMsgBox& box) {
            shown.push_back(box.Text());
            if (sayNo)
                box.btnNo->click();
            else
                box.CloseWithOk();
        });
    }
    ~Lifecycle() override {
        program.reset();
        TfrmMsgBox::SetAnswerer(nullptr);
    }

    Program& Start(const QString& title,
                   std::optional<std::string> port = std::string("/dev/quvan-none")) {
        program.reset();
        program = std::make_unique<Program>(
            test_support::TestProgramOptions(title, dir, ports, silence, std::move(port)));
        return *program;
    }
    std::string IniText() const {
        std::ifstream in(dir.path() / "quvan-tool.ini");
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    TempDir dir;
    platform::FixedPortLister ports;
    test_support::Silence silence;
    std::unique_ptr<Program> program;
    QStringList shown;
    bool sayNo = false;
};

TEST_F(Lifecycle, EditionsDifferInSizeAndControls) {
    const int screenHeight = QGuiApplication::primaryScreen()->geometry().height();
    TfrmMain& std = Start("TAVIRO QUVAN-ARM Tool").frmMain();
    EXPECT_EQ(std.width(), 1000);
    EXPECT_EQ(std.height(), std::min(750, screenHeight - 50));
    EXPECT_EQ(std.y(), 0);
    MainWidgets& w = std.widgets();
    EXPECT_TRUE(w.ckLearningMsg->isChecked());
    for (QWidget* hidden : std::initializer_list<QWidget*>{
             w.ckRF_ID, w.ckPcode, w.ckCodeCheck, w.ckFullCode, w.btnWavePrint, w.btnWaveSave,
             w.btnTablePrint, w.pnlWaveData, w.ckEiritsu, w.ckMultiHeader, w.cmbTs, w.cmbSBit,
             w.pgBar}) {
        EXPECT_TRUE(hidden->isHidden()) << hidden->objectName().toStdString();
    }
    EXPECT_EQ(w.pnlCont->height(), w.pnlWaveData->geometry().bottom() + 1 + 4);
    EXPECT_EQ(w.pgBar->geometry().right() + 1, w.btnWaveClear->x() - 8);
    EXPECT_EQ(w.pnlWave->height(), w.pnlCont->height() + 2 * 50 + w.scrBar->height() + 2);
    EXPECT_EQ(w.imgWave->width(), 20000);
    EXPECT_EQ(w.imgWave->height(), 2 * 50 - 2);
    EXPECT_EQ(w.pnlZoom->text(), "1/200");
    EXPECT_EQ(w.cmbTs->currentText(), "250");
    EXPECT_EQ(w.cmbTw->count(), 4);
    EXPECT_EQ(w.cmbBt->itemText(5), "64");
    EXPECT_EQ(w.cmbSBit->currentText(), "3");
    EXPECT_FALSE(w.mmSystemPath->menuAction()->isVisible());
    EXPECT_EQ(w.edtLtime->text(), "500");

    TfrmMain& pro = Start("TAVIRO QUVAN-Pro Tool").frmMain();
    EXPECT_EQ(pro.height(), std::min(900, screenHeight - 50));
    MainWidgets& p = pro.widgets();
    EXPECT_FALSE(p.ckLearningMsg->isChecked());
    EXPECT_FALSE(p.ckRF_ID->isHidden());
    EXPECT_FALSE(p.pnlWaveData->isHidden());
    EXPECT_TRUE(p.ckEiritsu->isHidden());
    EXPECT_EQ(p.imgWave->height(), 4 * 50 - 2);
    // No table file yet: the title says so before the program's name.
    EXPECT_EQ(pro.windowTitle(), "無題[*] — TAVIRO QUVAN-Pro Tool  [ Ver.20251223 ]");
}

TEST_F(Lifecycle, LearningTimeShowsWholeMilliseconds) {
    {
        std::ofstream ini(dir.path() / "quvan-tool.ini");
        ini << "[WAVE]\nL_Time__=1999\nH_Range_=0\n[FILE]\nHexFile_=/opt/fw.hex\n";
    }
    TfrmMain& main = Start("TAVIRO QUVAN-ARM Tool").frmMain();
    EXPECT_EQ(main.widgets().edtLtime->text(), "1");
    EXPECT_EQ(main.widgets().edtHrange->text(), "20");
    EXPECT_EQ(main.state().settings.HexFilePath, "/opt/fw.hex");
}

TEST_F(Lifecycle, ResizingKeepsTheMinimumAndSplitsTheGrid) {
    TfrmMain& main = Start("TAVIRO QUVAN-ARM Tool").frmMain();
    main.show();
    main.resize(300, 200);
    QTest::qWait(50);
    EXPECT_GE(main.width(), 500);
    EXPECT_GE(main.height(), 400);
    EXPECT_EQ(main.state().WaveScrollExtent,
              main.widgets().scrBar->width() - main.widgets().imgWave->width() - 20);
}

TEST_F(Lifecycle, ClosingWithUnsavedChangesAsksFirst) {
    TfrmMain& main = Start("TAVIRO QUVAN-ARM Tool").frmMain();
    main.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return main.state().StartupDone; }, 3000));
    main.SetTableModified(true);
    EXPECT_EQ(main.statusPanelText(1), "変更");
    sayNo = true;
    EXPECT_FALSE(main.close());
    EXPECT_TRUE(main.isVisible());
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0], "学習情報を保存していません。\n破棄して終了してもよろしいですか？");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "quvan-tool.ini"));

    sayNo = false;
    EXPECT_TRUE(main.close());
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "quvan-tool.ini"));
}

TEST_F(Lifecycle, ClosingWhileLearningStopsTheBoardFirst) {
    const QString wire = QString::fromStdString((dir.path() / "wire.log").string());
    SimProcess sim({"--wire-log", wire});
    Program& p = Start("TAVIRO QUVAN-ARM Tool", sim.path());
    TfrmMain& main = p.frmMain();
    main.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return main.state().StartupDone; }, 5000));
    p.boardLink().SendCommand("A");
    ASSERT_TRUE(QTest::qWaitFor([&] { return main.state().LearningOn; }, 2000));
    EXPECT_TRUE(main.close());
    EXPECT_FALSE(p.boardLink().ComPort.PortOpen);
    EXPECT_TRUE(ReadFileBytes(wire).endsWith("A\r\nT\r\n"));
    EXPECT_FALSE(main.state().LearningOn); // the board's "Trans Mode" ended the wait
}

TEST_F(Lifecycle, SettingsSurviveARestartButAPortForOneRunDoesNot) {
    {
        Program& p = Start("TAVIRO QUVAN-ARM Tool", std::nullopt);
        p.boardLink().ComPort.PortName = "ttyUSB7";
        p.boardLink().ComPort.BaudRate = 38400;
        p.frmMain().state().settings.IrAck = false;
        p.frmMain().SaveSettings();
    }
    EXPECT_NE(IniText().find("PortName=ttyUSB7"), std::string::npos);
    EXPECT_NE(IniText().find("IrAck___=0"), std::string::npos);
    Program& again = Start("TAVIRO QUVAN-Pro Tool", std::string("/dev/pts/99"));
    EXPECT_EQ(again.boardLink().ComPort.PortName, "/dev/pts/99");
    EXPECT_EQ(again.boardLink().ComPort.BaudRate, 38400);
    EXPECT_FALSE(again.frmMain().state().settings.IrAck);
    again.frmMain().SaveSettings();
    EXPECT_NE(IniText().find("PortName=ttyUSB7"), std::string::npos);
}

TEST_F(Lifecycle, ASettingsFileThatCannotBeWrittenShowsNg) {
    // A folder standing where the file should be: even root cannot write it.
    std::filesystem::create_directories(dir.path() / "quvan-tool.ini");
    Program& p = Start("TAVIRO QUVAN-ARM Tool");
    p.frmMain().SaveSettings();
    EXPECT_TRUE(p.frmMain().statusPanelText(2).startsWith("NG ... "));
    EXPECT_TRUE(p.frmMain().statusPanelText(2).contains("quvan-tool.ini"));
}

} // namespace
} // namespace quvan::app
