// Takes screenshots of the tool's windows for a look by eye:
//   quvan-screenshots OUTDIR
// Both editions: the main window as it starts, after learning remotes from
// the simulated board (zoom 1/200, then 1/50 with a sampling grid and both
// measuring marks), the message box, the settings dialog and the wave data
// dialog with a pattern range, and a Flipper file imported with File →
// Import... and its summary. Run it under a real X server
// (scripts/screenshots.sh uses Xvfb).

#include "app/program.h"
#include "capture/view/wave_view.h"
#include "table/ui/signal_exchange_commands.h"
#include "table/ui/table_commands.h"
#include "table/ui/table_grid.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTableView>
#include <QTest>
#include <cstdio>

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

void Save(QWidget& widget, const QString& path) {
    QTest::qWait(300);
    widget.grab().save(path);
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

void Learn(app::Program& program, Board& board, const QByteArray& press, int row) {
    board.control(press);
    WaitFor([&] { return !program.learningTable().cell(row, ColResult).empty(); }, 8000, "a learned row");
    WaitFor([&] { return program.frmMain().state().LearningOn; }, 3000, "learning to restart");
}

void Shoot(const QString& title, bool pro, const QString& outDir) {
    const QString tag = pro ? "pro" : "std";
    Board board(pro);
    platform::FixedPortLister ports;
    Silence silence;
    app::ProgramOptions options;
    options.title = title;
    options.settingsLocation =
        app::SettingsLocationFor((QDir::tempPath() + "/quvan-shot/" + tag).toStdString(), "", "");
    options.ports = &ports;
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

    program.learning().RedrawLanes(50);
    QTest::mouseClick(w.imgWave, Qt::RightButton, {}, QPoint(190, 10));
    QTest::mouseClick(w.imgWave, Qt::LeftButton, {}, QPoint(420, 10));
    Save(main, outDir + "/learned-" + tag + "-zoom50-marks.png");

    tools::TfrmWave& dialog = program.frmWave();
    dialog.show();
    dialog.sGridWave()->setCurrentIndex(dialog.model().index(3, 3));
    Save(dialog, outDir + "/wavedata-" + tag + ".png");
    dialog.hide();

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
    program.boardLink().ClosePort();
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    app::ApplyLavenderClassico(application);
    app::TfrmMsgBox::SetAnswerer([](app::TfrmMsgBox& box) { box.CloseWithOk(); });
    const QString outDir =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(outDir);
    Shoot("TAVIRO QUVAN-ARM Tool", false, outDir);
    Shoot("TAVIRO QUVAN-Pro Tool", true, outDir);
    return 0;
}
