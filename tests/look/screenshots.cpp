// Takes screenshots of the tool's windows for a look by eye:
//   quvan-screenshots OUTDIR
// Both editions: the main window as it starts, after learning remotes from
// the simulated board (zoom 1/200, then 1/50 with a sampling grid and both
// measuring marks), the message box, the settings dialog and the wave data
// dialog with a pattern range, the wave information editor filled from a
// learned row, and (Pro) the first page of the table print and of the
// waveform print, written as PDF files and rendered with pdftoppm. The
// standard edition adds the wave panel with an NEC capture's bits and bytes
// at 1/200 and 1/50 (with a measurement), and the diagnosis of a capture
// whose leader just misses its window and of an RC5 capture. Both show the
// firmware update (idle, erasing, and with its console after an update), the
// DIP switch setup, and a Flipper file imported with File → Import... and its
// summary, and the registration dialog and the read-back window while they
// run, and the table read back from the board. The settings dialog's port
// list shows a port held by another program and one this user may not open.
// Then the standard edition in English (main window, Actions menu,
// registration and settings dialogs) and the toolkit's file dialog in English
// and in Japanese. Run it under a real X server (scripts/screenshots.sh uses
// Xvfb). At 200 % scaling (QT_SCALE_FACTOR=2) it shoots the standard edition
// only, into files whose names end in "-2x".

#include "app/diagnosis_dialog.h"
#include "app/display_language.h"
#include "app/program.h"
#include "capture/view/wave_view.h"
#include "platform/print/print_service.h"
#include "table/ui/board_transfers.h"
#include "table/ui/grid_popup_menu.h"
#include "table/ui/read_back_driver.h"
#include "table/ui/read_back_progress.h"
#include "table/ui/signal_exchange_commands.h"
#include "table/ui/table_commands.h"
#include "table/ui/table_grid.h"
#include "table/ui/tws_dialog.h"
#include "tests/link/refusing_opener.h"
#include "tests/maintenance/hex_text.h"
#include "tools/wave_edit_dialog.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QProgressBar>
#include <QScreen>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <fstream>

using namespace quvan;

namespace {

class Silence final : public platform::SoundPlayer {
  public:
    void playAsync(const std::string&) override {}
};

// Waits for `done`; a shot taken anyway says so, so a wrong picture is not
// mistaken for the real thing.
template <typename Done> void WaitFor(Done done, int ms, const char* what) {
    if (!QTest::qWaitFor(done, ms)) {
        std::fprintf(stderr, "screenshots: gave up waiting for %s\n", what);
    }
}

// "-2x" at 200 % scaling, so both sets can share a folder.
QString gSuffix;

QString Named(QString path) {
    return path.insert(path.lastIndexOf('.'), gSuffix);
}

void Save(QWidget& widget, const QString& path) {
    QTest::qWait(300);
    widget.grab().save(Named(path));
}

// The dialog with its port list dropped down: a list is a window of its own,
// so the screen is taken where the two lie.
void SavePortList(link::TfrmCom& dialog, const QString& path) {
    dialog.cmbPort->showPopup();
    QTest::qWait(300);
    QWidget* list = dialog.cmbPort->view()->window();
    const QRect area = dialog.frameGeometry().united(list->frameGeometry());
    dialog.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()).save(Named(path));
    dialog.cmbPort->hidePopup();
}

// The simulated board, driven through its standard input.
class Board {
  public:
    explicit Board(bool pro) {
        process_.start(QDir(QCoreApplication::applicationDirPath()).filePath("quvan-sim"),
                       pro ? QStringList{"--pro", "--control", "-"}
                           : QStringList{"--control", "-"});
        process_.waitForStarted();
        while (!process_.canReadLine() && process_.waitForReadyRead(3000)) {
        }
        path_ = QString::fromLocal8Bit(process_.readLine()).trimmed().mid(4).toStdString();
    }
    ~Board() {
        control("quit");
        process_.waitForFinished(2000);
    }
    const std::string& path() const { return path_; }
    void control(const QByteArray& command) {
        process_.write(command + "\n");
        process_.waitForBytesWritten();
    }

  private:
    QProcess process_;
    std::string path_;
};

// A print as a PDF file beside the screenshots, and its first page as a PNG.
void PrintPage(const platform::PrintRequest& request, const QString& stem) {
    if (!platform::PrintToPdf(stem + ".pdf", request)) {
        std::fprintf(stderr, "screenshots: could not write %s.pdf\n", qPrintable(stem));
        return;
    }
    if (QProcess::execute("pdftoppm", {"-r", "100", "-f", "1", "-l", "1", "-png", "-singlefile",
                                       stem + ".pdf", stem}) != 0) {
        std::fprintf(stderr, "screenshots: pdftoppm (poppler-utils) failed on %s.pdf\n",
                     qPrintable(stem));
    }
}

void Learn(app::Program& program, Board& board, const QByteArray& press, int row) {
    board.control(press);
    WaitFor([&] { return !program.learningTable().cell(row, ColResult).empty(); }, 8000,
            "a learned row");
    WaitFor([&] { return program.frmMain().state().LearningOn; }, 3000, "learning to restart");
}

// An NEC frame (20 DF 10 EF) for the board's "raw" command, three times,
// with the leader's mark shortened to 8050 µs: 50 µs under the window of the
// NEC timing (8100..10800), so that the capture comes out "Unknown".
QByteArray NearMissNec() {
    QByteArray raw = "raw";
    for (int frame = 0; frame < 3; ++frame) {
        raw += " 8050/12550";
        int used = 12550;
        for (int byte : {0x20, 0xDF, 0x10, 0xEF}) {
            for (int bit = 0; bit < 8; ++bit) {
                const int period = (byte >> bit) & 1 ? 2250 : 1125;
                raw += " 560/" + QByteArray::number(period);
                used += period;
            }
        }
        raw += " 560/" + QByteArray::number(108000 - used);
    }
    return raw;
}

void ShootDiagnosis(app::Program& program, int lane, const QString& path) {
    program.learning().ShowDiagnosis(lane);
    app::DiagnosisDialog& dialog = program.learning().diagnosisDialog();
    Save(dialog, path);
    dialog.hide();
}

// Runs `act` once `widget` shows, from the event loop of a modal exec().
void WhenShown(QWidget& widget, std::function<void()> act) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, &widget, act] {
        if (widget.isVisible()) {
            poll->stop();
            poll->deleteLater();
            act();
        }
    });
    poll->start(5);
}

// The registration dialog and the read-back window while they run, and the
// table the board gave back.
void ShootTransfers(app::Program& program, Board& board, const QString& tag,
                    const QString& outDir) {
    table_ui::TfrmTws& tws = program.frmTws();
    board.control("fault delay 600");
    WhenShown(tws, [&] {
        tws.btnExecute->click();
        WaitFor([&] { return tws.pgWrite->value() >= 1; }, 2000, "the registration to start");
        Save(tws, outDir + "/register-running-" + tag + ".png");
        tws.btnCancel->click(); // the row on its way is finished, then it ends
    });
    program.frmMain().widgets().btnTableWrite->click();
    board.control("fault delay 40");
    program.frmMain().widgets().btnTableLoad->click();
    table_ui::ReadBackProgress* progress = program.boardTransfers().readBack().progressDialog();
    if (progress != nullptr) {
        WaitFor([&] { return progress->pgLoad->value() >= 6; }, 5000, "the read-back to run");
        Save(*progress, outDir + "/readback-running-" + tag + ".png");
    }
    board.control("fault off");
    WaitFor([&] { return !program.boardTransfers().readBackRunning(); }, 15000,
            "the read-back to end");
    Save(program.frmMain(), outDir + "/readback-done-" + tag + ".png");
}

void Shoot(const QString& title, bool pro, const QString& outDir) {
    const QString tag = pro ? "pro" : "std";
    Board board(pro);
    // The board's port and two that cannot be had, for the settings dialog.
    platform::FixedPortLister ports;
    ports.names = {"ttyS0", "ttyUSB0", board.path()};
    test_support::RefusingOpener opener;
    opener.refused["ttyS0"] = {platform::OpenFailure::InUse};
    opener.refused["ttyUSB0"] = {};
    Silence silence;
    app::ProgramOptions options;
    options.title = title;
    options.settingsLocation =
        app::SettingsLocationFor((QDir::tempPath() + "/quvan-shot/" + tag).toStdString(), "", "");
    options.ports = &ports;
    options.opener = &opener;
    options.sounds = &silence;
    options.port = board.path();
    app::Program program(options);
    app::TfrmMain& main = program.frmMain();
    app::MainWidgets& w = main.widgets();
    main.show();
    WaitFor([&] { return main.state().StartupDone; }, 5000, "the start sequence");
    Save(main, outDir + "/main-" + tag + ".png");

    program.frmMsgBox().Prepare(
        2, QStringLiteral("確認"),
        QStringLiteral("学習情報を保存していません。\n破棄して終了してもよろしいですか？"));
    program.frmMsgBox().show();
    Save(program.frmMsgBox(), outDir + "/msgbox-" + tag + ".png");
    program.frmMsgBox().hide();
    program.frmCom().show();
    Save(program.frmCom(), outDir + "/comsettings-" + tag + ".png");
    WaitFor([&] { return program.frmCom().cmbPort->count() == 3; }, 3000, "the port search");
    SavePortList(program.frmCom(), outDir + "/comsettings-ports-" + tag + ".png");
    program.frmCom().hide();
    WaitFor([&] { return program.boardLink().ComPort.PortOpen.load(); }, 3000, "the port");

    // Learning: NEC into row 1 and Sony into row 2.
    QTest::mouseClick(w.pnlAnalyze, Qt::LeftButton);
    WaitFor([&] { return main.state().LearningOn; }, 2000, "learning on");
    Learn(program, board, "press nec 20DF10EF jitter=3 bias=40", 1);
    Learn(program, board, "press sony12 1501 jitter=3", 2);
    if (pro) {
        // A Philips (RC5) capture decoded by time sampling, for its grid.
        QTest::mouseDClick(w.pnlCont, Qt::LeftButton, {}, QPoint(700, 50));
        w.ckPhilips->setChecked(true);
        w.cmbTs->setCurrentText("444");
        w.cmbTw->setCurrentText("1778");
        w.cmbBt->setCurrentText("16");
        Learn(program, board, "press rc5 050C", 3);
    }
    QTest::mouseClick(w.pnlAnalyze, Qt::LeftButton); // learning off
    Save(main, outDir + "/learned-" + tag + "-zoom200.png");
    if (!pro)
        Save(*w.pnlWave, outDir + "/wave-nec-bits-zoom200.png");

    program.learning().RedrawLanes(50);
    QTest::mouseClick(w.imgWave, Qt::RightButton, {}, QPoint(190, 10));
    QTest::mouseClick(w.imgWave, Qt::LeftButton, {}, QPoint(420, 10));
    Save(main, outDir + "/learned-" + tag + "-zoom50-marks.png");
    if (!pro) {
        Save(*w.pnlWave, outDir + "/wave-nec-bits-zoom50.png");
        // The marks keep their times through a zoom step.
        program.learning().Zoom(+1);
        Save(*w.pnlWave, outDir + "/wave-nec-bits-zoom100-marks-kept.png");
        program.learning().RedrawLanes(200);

        // Two captures that come out "Unknown", and what the tool says about them.
        QTest::mouseClick(w.pnlAnalyze, Qt::LeftButton);
        WaitFor([&] { return main.state().LearningOn; }, 2000, "learning on");
        Learn(program, board, NearMissNec(), 3);
        Learn(program, board, "press rc5 050C", 4);
        QTest::mouseClick(w.pnlAnalyze, Qt::LeftButton);
        Save(main, outDir + "/learned-std-unknown.png");
        ShootDiagnosis(program, 0, outDir + "/diagnosis-near-miss.png");
        ShootDiagnosis(program, 1, outDir + "/diagnosis-rc5.png");
    }

    if (pro) {
        PrintPage(program.waveOutputs().WavePrintRequest(), outDir + "/print-wave-" + tag);
        program.learningTable().setCell(1, ColComments, "Living room TV");
        program.learningTable().setCell(2, ColComments, "テレビ 電源");
        PrintPage(program.waveOutputs().TablePrintRequest(), outDir + "/print-table-" + tag);
        // The preview the "Table 印刷" button opens, closed again once shot.
        QTimer::singleShot(1500, [outDir, tag] {
            if (QWidget* preview = QApplication::activeModalWidget()) {
                preview->grab().save(Named(outDir + "/print-preview-" + tag + ".png"));
                preview->close();
            }
        });
        w.btnTablePrint->click();
    }

    // The wave information editor on the learned NEC row.
    program.tableCommands().grid().setCursor(1, ColCarry);
    program.tableCommands().popupMenu().ppWaveEdit->trigger();
    Save(program.frmWaveEdit(), outDir + "/waveedit-" + tag + ".png");
    program.frmWaveEdit().hide();

    tools::TfrmWave& dialog = program.frmWave();
    dialog.show();
    dialog.sGridWave()->setCurrentIndex(dialog.model().index(3, 3));
    Save(dialog, outDir + "/wavedata-" + tag + ".png");
    dialog.hide();

    // Board maintenance: a small firmware file sent to the simulated loader.
    QDir().mkpath(QDir::tempPath() + "/quvan-shot/" + tag);
    const std::string hex =
        (QDir::tempPath() + "/quvan-shot/" + tag + "/QUVAN-ARM.Hex").toStdString();
    std::ofstream(hex, std::ios::binary)
        << test_support::HexText(0x08008000, test_support::FirmwareBytes(4096));
    main.state().settings.HexFilePath = hex;
    maintenance::TfrmDownload& download = program.frmDownload();
    download.show();
    Save(download, outDir + "/firmware-" + tag + ".png");
    download.btnDownload->click();
    WaitFor([&] { return download.lblMsg->isVisible(); }, 3000, "the erase notice");
    Save(download, outDir + "/firmware-" + tag + "-erasing.png");
    WaitFor([&] { return !download.isVisible(); }, 10000, "the update to end");
    download.show();
    download.SetConsoleOpen(true);
    download.btnDownload->click();
    WaitFor([&] { return download.statusPanelText(3) == "Completed"; }, 10000,
            "the update with the console open");
    download.cmbCmd->setEditText("Ver");
    Save(download, outDir + "/firmware-" + tag + "-console.png");
    download.hide();

    maintenance::TfrmDsw& dsw = program.frmDsw();
    dsw.show();
    WaitFor([&] { return !dsw.querying(); }, 3000, "the DIP switch queries");
    dsw.tgswNum[0]->click(); // 57600bps
    dsw.tgswNum[3]->click(); // binary input
    Save(dsw, outDir + "/dipswitch-" + tag + ".png");
    dsw.hide();
    // File → Import... of a sample file, from the first blank row on; the
    // summary box is photographed before it is answered.
    program.tableCommands().grid().setCursor(1, ColCarry);
    program.signalExchange().hooks().chooseFile = [](const table_ui::FileDialogRequest&,
                                                     const QString&) {
        return std::optional<table_ui::FileDialogChoice>(
            {QStringLiteral(QUVAN_TEST_DATA "/ir-remotes/Friedrich_4235h.ir"), 1});
    };
    app::TfrmMsgBox::SetAnswerer([&](app::TfrmMsgBox& box) {
        box.show();
        Save(main, outDir + "/import-" + tag + ".png");
        Save(box, outDir + "/import-summary-" + tag + ".png");
        box.CloseWithOk();
    });
    w.mmImport->trigger();
    app::TfrmMsgBox::SetAnswerer([](app::TfrmMsgBox& box) { box.CloseWithOk(); });

    // Registration while it runs: slow ACKs keep it on its first row.
    ShootTransfers(program, board, tag, outDir);
    program.boardLink().ClosePort();
}

// The window in English (--lang en): the main window after one capture, its
// Actions menu with the shortcuts, the registration dialog and the
// communication settings; and the toolkit's own file dialog in each language.
void ShootEnglish(const QString& outDir) {
    app::InstallUiLanguage(*QCoreApplication::instance(), app::UiLanguage::English);
    Board board(false);
    platform::FixedPortLister ports;
    Silence silence;
    app::ProgramOptions options;
    options.title = "TAVIRO QUVAN-ARM Tool";
    options.settingsLocation =
        app::SettingsLocationFor((QDir::tempPath() + "/quvan-shot/en").toStdString(), "", "");
    options.ports = &ports;
    options.sounds = &silence;
    options.port = board.path();
    app::Program program(options);
    app::TfrmMain& main = program.frmMain();
    app::MainWidgets& w = main.widgets();
    main.show();
    WaitFor([&] { return main.state().StartupDone; }, 5000, "the start sequence");
    w.mmLearning->trigger();
    WaitFor([&] { return main.state().LearningOn; }, 2000, "learning on");
    Learn(program, board, "press nec 20DF10EF jitter=3", 1);
    w.mmLearning->trigger();
    Save(main, outDir + "/main-en.png");

    w.mmAction->popup(main.mapToGlobal(QPoint(60, 20)));
    QTest::qWait(300);
    w.mmAction->grab().save(outDir + "/menu-actions-en.png");
    w.mmAction->hide();

    table_ui::TfrmTws& tws = program.frmTws();
    WhenShown(tws, [&] {
        Save(tws, outDir + "/register-en.png");
        tws.btnCancel->click();
    });
    w.btnTableWrite->click();
    program.frmCom().show();
    Save(program.frmCom(), outDir + "/comsettings-en.png");
    program.frmCom().hide();
    program.boardLink().ClosePort();
    main.SetTableModified(false);
    main.close();

    // The toolkit's dialogs follow the language too (qtbase_ja.qm).
    for (const app::UiLanguage language : {app::UiLanguage::English, app::UiLanguage::Japanese}) {
        app::InstallUiLanguage(*QCoreApplication::instance(), language);
        QFileDialog dialog(nullptr, QString(), QDir::tempPath());
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.show();
        Save(dialog, outDir + "/filedialog-" + app::CodeOf(language) + ".png");
    }
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    app::ApplyLavenderClassico(application);
    app::InstallUiLanguage(application, app::UiLanguage::Japanese);
    app::TfrmMsgBox::SetAnswerer([](app::TfrmMsgBox& box) { box.CloseWithOk(); });
    const QString outDir =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(outDir);
    if (application.devicePixelRatio() > 1.0) {
        gSuffix = "-2x";
        Shoot("TAVIRO QUVAN-ARM Tool", false, outDir);
        return 0;
    }
    Shoot("TAVIRO QUVAN-ARM Tool", false, outDir);
    Shoot("TAVIRO QUVAN-Pro Tool", true, outDir);
    ShootEnglish(outDir);
    return 0;
}
