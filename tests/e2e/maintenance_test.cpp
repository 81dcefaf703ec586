// Board maintenance in the real tool against quvan-sim: firmware updates
// whose received image is compared with the file byte for byte, the faults
// of the loader, the DIP switch setup, and the driver installer command.

#include "../frame/qstring_printer.h"
#include "../maintenance/hex_text.h"
#include "sim_process.h"
#include "test_program.h"

#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace quvan::app {
namespace {

using maintenance::DownloadState;
using maintenance::UpdateOutcome;
using test_support::ReadFileBytes;
using test_support::SimProcess;
using test_support::TempDir;

class Maintenance : public ::testing::Test {
  protected:
    Maintenance() {
        TfrmMsgBox::SetAnswerer([this](TfrmMsgBox& box) {
            shown.push_back(box.Text());
            box.CloseWithOk();
        });
    }
    ~Maintenance() override {
        program.reset();
        TfrmMsgBox::SetAnswerer(nullptr);
    }

    QString Path(const char* name) const {
        return QString::fromStdString((dir.path() / name).string());
    }
    // A simulator that logs what it receives and keeps the image it gets.
    std::unique_ptr<SimProcess> Board(QStringList extra = {}) {
        return std::make_unique<SimProcess>(
            QStringList{"--wire-log", Path("wire.log"), "--firmware-out", Path("image.bin")}
            << extra);
    }
    // The tool on the simulator's port, once its start sequence has run.
    Program& Start(const std::string& port) {
        options =
            test_support::TestProgramOptions("TAVIRO QUVAN-ARM Tool", dir, ports, silence, port);
        program = std::make_unique<Program>(options);
        program->frmMain().show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return program->frmMain().state().StartupDone; }, 5000));
        // The start sequence ends with "T" once the board has it.
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return ReadFileBytes(Path("wire.log")).endsWith("T\r\n"); }, 3000));
        return *program;
    }
    std::string WriteFile(const char* name, const std::string& text) {
        const std::string path = Path(name).toStdString();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    // Opens the firmware dialog on `hexPath` and clicks Download; returns
    // once the update has an outcome.
    maintenance::TfrmDownload& Update(const std::string& hexPath) {
        program->frmMain().state().settings.HexFilePath = hexPath;
        maintenance::TfrmDownload& dialog = program->frmDownload();
        dialog.hide(); // each showing starts from the settings' file
        dialog.show();
        dialog.edtRstWait->setText("0");
        dialog.btnDownload->click();
        EXPECT_TRUE(
            WaitUntil([&] { return dialog.firmware().outcome() != UpdateOutcome::None; }, 20000));
        return dialog;
    }
    // Waits in a plain event loop: the records go out one per pass of the
    // loop, and QTest::qWaitFor would sleep between passes.
    static bool WaitUntil(const std::function<bool()>& done, int ms) {
        QEventLoop loop;
        QTimer look;
        QObject::connect(&look, &QTimer::timeout, &loop, [&] {
            if (done())
                loop.quit();
        });
        look.start(5);
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        if (!done())
            loop.exec();
        return done();
    }
    // Acts inside a modal dialog's own loop once `ready` holds, as a user
    // would after it opened.
    static void WhenReady(std::function<bool()> ready, std::function<void()> act) {
        auto* look = new QTimer;
        QObject::connect(look, &QTimer::timeout, [look, ready, act] {
            if (!ready())
                return;
            look->stop();
            look->deleteLater();
            act();
        });
        look->start(20);
    }
    bool ImageArrives() {
        return QTest::qWaitFor([&] { return QFile::exists(Path("image.bin")); }, 3000);
    }
    int RecordsReceived() const { return ReadFileBytes(Path("wire.log")).count("\r\n:"); }

    TempDir dir;
    platform::FixedPortLister ports;
    test_support::Silence silence;
    ProgramOptions options;
    std::unique_ptr<Program> program;
    QStringList shown;
};

TEST_F(Maintenance, TheBoardReceivesTheFileByteForByte) {
    auto sim = Board();
    Start(sim->path());
    // 40 KiB from 0x08004000: the last record starts at 0x0800DFF0, sector 3.
    const std::string bytes = test_support::FirmwareBytes(40 * 1024);
    program->frmMain().state().settings.HexFilePath =
        WriteFile("fw.Hex", test_support::HexText(0x08004000, bytes));
    // Through the menu: the dialog opens modally, Download is clicked, and
    // the dialog closes itself after the outcome.
    maintenance::TfrmDownload& dialog = program->frmDownload();
    WhenReady([&] { return dialog.isVisible(); }, [&] { dialog.btnDownload->click(); });
    program->frmMain().widgets().mmFirmware->trigger();
    EXPECT_EQ(dialog.firmware().outcome(), UpdateOutcome::Completed);
    EXPECT_EQ(shown.back(), "Completed");
    EXPECT_EQ(dialog.statusPanelText(3), "Completed");
    EXPECT_FALSE(dialog.isVisible()); // closed with the console folded
    ASSERT_TRUE(ImageArrives());
    EXPECT_TRUE(ReadFileBytes(Path("image.bin")).toStdString() == bytes);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return ReadFileBytes(Path("wire.log")).endsWith(":00000001FF\r\nReset\r\n"); },
        2000));
    const QByteArray wire = ReadFileBytes(Path("wire.log"));
    EXPECT_TRUE(wire.contains("Ver\r\nReset\r\n3:Last Sector to Erase\r\nDownload Ready ?\r\n"))
        << wire.left(300).toStdString();

    // A file smaller than 100 bytes goes the same way.
    QFile::remove(Path("image.bin"));
    const std::string tiny = "tiny firmware";
    Update(WriteFile("tiny.Hex", test_support::HexText(0x08008000, tiny)));
    EXPECT_EQ(dialog.firmware().outcome(), UpdateOutcome::Completed);
    ASSERT_TRUE(ImageArrives());
    EXPECT_TRUE(ReadFileBytes(Path("image.bin")).toStdString() == tiny);
}

TEST_F(Maintenance, ALoaderErrorEndsTheSendWithFailure) {
    auto sim = Board({"--loader-error-at", "5"});
    Start(sim->path());
    // More records than the terminal holds: the error stops the send well
    // before its end.
    maintenance::TfrmDownload& dialog = Update(
        WriteFile("fw.Hex", test_support::HexText(0x08008000, test_support::FirmwareBytes(65536))));
    EXPECT_EQ(dialog.firmware().outcome(), UpdateOutcome::Failure);
    EXPECT_TRUE(shown.back().startsWith("Failure\nRecord error")) << shown.back().toStdString();
    EXPECT_LT(RecordsReceived(), 65536 / 16);
    // The simulator logs what it reads; under load it may not have read the
    // closing "Reset" yet when the dialog has its outcome.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return ReadFileBytes(Path("wire.log")).endsWith("Reset\r\n"); }, 3000));
}

TEST_F(Maintenance, ALineThatHangsUpMidSendIsAFailure) {
    auto sim = Board({"--loader-hangup-after", "20"});
    Start(sim->path());
    maintenance::TfrmDownload& dialog = Update(
        WriteFile("fw.Hex", test_support::HexText(0x08008000, test_support::FirmwareBytes(65536))));
    EXPECT_EQ(dialog.firmware().outcome(), UpdateOutcome::Failure);
    EXPECT_TRUE(
        shown.contains("Failure") ||
        std::any_of(shown.begin(), shown.end(), [](auto& t) { return t.startsWith("Failure\n"); }))
        << shown.join("|").toStdString();
    EXPECT_FALSE(QFile::exists(Path("image.bin")));
}

TEST_F(Maintenance, ASilentLoaderIsReportedAndARetryWorks) {
    auto sim = Board({"--loader-silent"});
    Start(sim->path());
    program->frmDownload().firmware().setLoaderWaitMs(1500);
    const std::string bytes = test_support::FirmwareBytes(2048);
    const std::string hex = WriteFile("fw.Hex", test_support::HexText(0x08008000, bytes));
    maintenance::TfrmDownload& dialog = Update(hex);
    EXPECT_EQ(dialog.firmware().outcome(), UpdateOutcome::NoLoader);
    EXPECT_TRUE(shown.back().startsWith("QUVAN-Loader が 2 秒以内に応答しませんでした。"));
    EXPECT_EQ(dialog.state(), DownloadState::Idle);
    EXPECT_EQ(dialog.btnDownload->text(), "Download");
    EXPECT_TRUE(dialog.isVisible());

    // The loader hands over to the application by itself; then the retry.
    sim->control("fault off");
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return dialog.logText().count("QUVAN-ARM Ver.") >= 2; }, 5000))
        << dialog.logText().toStdString();
    Update(hex);
    EXPECT_EQ(dialog.firmware().outcome(), UpdateOutcome::Completed);
    ASSERT_TRUE(ImageArrives());
    EXPECT_TRUE(ReadFileBytes(Path("image.bin")).toStdString() == bytes);
}

TEST_F(Maintenance, DipSwitchesAreReadKeptAndWrittenBack) {
    const std::string flash =
        WriteFile("flash.txt", "QUVAN-SIM FLASH 1\nBpsR:2\nBpsU:1\nBinary:4\n");
    auto sim = Board({"--flash", QString::fromStdString(flash)});
    Start(sim->path());
    maintenance::TfrmDsw& dsw = program->frmDsw();
    dsw.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dsw.querying(); }, 3000));
    EXPECT_EQ(dsw.cmbRSbps->currentIndex(), 2);
    EXPECT_EQ(dsw.cmbUSBbps->currentIndex(), 1);
    EXPECT_EQ(dsw.cmbInputSel->currentIndex(), 1);
    // Four emissions are stored; the board answers "Binary:3", the third choice.
    EXPECT_EQ(dsw.cmbFrameMax->currentIndex(), 2);
    const std::array<bool, 7> on = {false, true, false, true, false, true, true};
    for (std::size_t i = 0; i < on.size(); ++i)
        EXPECT_EQ(dsw.tgswNum[i]->isChecked(), on[i]) << i + 1;

    // A reply out of range while the dialog is open changes nothing.
    link::BoardLink& link = program->boardLink();
    link.SendCommand(""); // clears the reply flag; the board ignores it
    sim->control("send BpsR:7");
    ASSERT_TRUE(QTest::qWaitFor([&] { return link.ResponseFlag(); }, 2000));
    EXPECT_EQ(dsw.cmbRSbps->currentIndex(), 2);
    EXPECT_TRUE(dsw.tgswNum[1]->isChecked());

    dsw.hide();

    // Through the menu: "6回発射" stays with binary input; OK sends Binary:6,
    // then Reset.
    WhenReady([&] { return dsw.isVisible() && !dsw.querying(); },
              [&] {
                  emit dsw.cmbFrameMax->activated(3);
                  dsw.btnOk->click();
              });
    program->frmMain().widgets().mmOptionDipsw->trigger();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return ReadFileBytes(Path("wire.log"))
                .endsWith("BpsR:2\r\nBpsU:1\r\nBinary:6\r\nReset\r\n");
        },
        2000));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return ReadFileBytes(QString::fromStdString(flash)).contains("Binary:6"); }, 3000));
}

TEST_F(Maintenance, TheInstallerCommandRunsWaitsAndReports) {
    namespace fs = std::filesystem;
    const fs::path opened = dir.path() / "opened.txt";
    const std::string opener =
        WriteFile("opener.sh", "#!/bin/sh\necho \"$1\" > " + opened.string() + "\nexit $EXIT\n");
    fs::permissions(opener, fs::perms::owner_all);
    platform::DesktopShell shell(opener);
    options = test_support::TestProgramOptions("TAVIRO QUVAN-ARM Tool", dir, ports, silence,
                                               std::string("/dev/quvan-none"));
    options.shell = &shell;
    program = std::make_unique<Program>(options);
    TfrmMain& main = program->frmMain();
    std::optional<QString> pick;
    program->tableCommands().chooseFile = [&](const table_ui::FileDialogRequest& request) {
        EXPECT_EQ(request.filterIndex, 6); // "USB Driver File (*.Exe)"
        return pick ? std::optional(table_ui::FileDialogChoice{*pick, 6}) : std::nullopt;
    };

    // A setup script that exits: confirmed, run, waited for.
    const std::string script = WriteFile("setup.sh", "#!/bin/sh\nsleep 0.2\necho done > " +
                                                         (dir.path() / "ran.txt").string() + "\n");
    fs::permissions(script, fs::perms::owner_all);
    main.state().settings.UsbDriverPath = script;
    main.widgets().mmUsbDriver->trigger();
    EXPECT_EQ(shown, (QStringList{"USB Driver [ setup.sh ] Install", "Installation completed"}));
    EXPECT_TRUE(fs::exists(dir.path() / "ran.txt"));

    // A file the desktop cannot open: "Canceled the process".
    shown.clear();
    const std::string document = WriteFile("PL23XX_Driver.exe", "MZ");
    main.state().settings.UsbDriverPath = document;
    qputenv("EXIT", "3");
    main.widgets().mmUsbDriver->trigger();
    qunsetenv("EXIT");
    EXPECT_EQ(shown.back(), "Canceled the process");
    EXPECT_TRUE(fs::exists(opened));

    // A missing file and a cancelled file dialog: nothing at all.
    shown.clear();
    main.state().settings.UsbDriverPath = (dir.path() / "gone.exe").string();
    main.widgets().mmUsbDriver->trigger();
    EXPECT_TRUE(shown.isEmpty());

    // A missing file and another one chosen: that one is run and shown.
    pick = QString::fromStdString(script);
    main.widgets().mmUsbDriver->trigger();
    EXPECT_EQ(main.state().settings.UsbDriverPath, script);
    EXPECT_EQ(main.statusPanelText(2), QString::fromStdString(script));
    EXPECT_EQ(shown.back(), "Installation completed");
}

} // namespace
} // namespace quvan::app
