// Figures of moving a full table (250 rows of real remote signals) into the
// board and back, through the window (offscreen) against quvan-sim:
//   instant — the simulator answers at once: the tool's own time for
//             registration and read-back (goal: under 2 s each)
//   line    — the simulator paces its line at 115200 baud in both
//             directions: the measured time, the time the bytes need on the
//             line (10 bits a byte) and their ratio (goal: at most 1.05)
// Usage: transfer_bench [baud]   (baud 0: the instant board only)

#include "app/program.h"
#include "table/transfer/read_back_session.h"
#include "table/ui/board_transfers.h"
#include "table/ui/read_back_driver.h"
#include "table/ui/tws_dialog.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace quvan;

namespace {

class Silence final : public platform::SoundPlayer {
  public:
    void playAsync(const std::string&) override {}
};

struct Pattern {
    int high, width;
};

// Signals as learning leaves them: NEC with its repeat code, Sony 12 bits
// sent three times, Kaseikyo 48 bits, a 280-pulse air conditioner frame and
// an RC5-like biphase signal.
LearnedSignal Signal(int kind, int variant) {
    LearnedSignal r;
    std::vector<Pattern> patterns;
    std::vector<int> codes;
    auto bits = [&](unsigned long long value, int count, int zero, int one) {
        for (int i = 0; i < count; ++i)
            codes.push_back(((value >> i) & 1) ? one : zero);
    };
    switch (kind) {
    case 0: // NEC + repeat code
        r.Carry = 380;
        patterns = {{9000, 13500}, {560, 1120},   {560, 2250},
                    {560, 40500},  {9000, 11250}, {560, 96000}};
        codes.push_back(0);
        bits(0xEF10DF20ULL + static_cast<unsigned>(variant), 32, 1, 2);
        codes.insert(codes.end(), {3, 4, 5});
        r.RepeatBit = 34;
        break;
    case 1: // Sony 12, three frames
        r.Carry = 400;
        patterns = {{2400, 3000}, {600, 1200}, {1200, 1800}, {600, 26400}, {1200, 25800}};
        for (int frame = 0; frame < 3; ++frame) {
            codes.push_back(0);
            bits(0x095 + static_cast<unsigned>(variant), 11, 1, 2);
            codes.push_back(3);
        }
        break;
    case 2: // Kaseikyo 48 bits
        r.Carry = 367;
        patterns = {{3456, 5184}, {432, 864}, {432, 1728}, {432, 74000}};
        codes.push_back(0);
        bits(0x3DBD00802002ULL + static_cast<unsigned>(variant), 48, 1, 2);
        codes.push_back(3);
        break;
    case 3: // air conditioner: three frames of 88 bits with gaps
        r.Carry = 380;
        patterns = {{3500, 5250}, {430, 860}, {430, 1730}, {430, 30000}};
        for (int frame = 0; frame < 3; ++frame) {
            codes.push_back(0);
            bits(0x1234567890ABCDEFULL ^ static_cast<unsigned>(variant * 7 + frame), 64, 1, 2);
            bits(0xC0FFEEULL, 24, 1, 2);
            codes.push_back(3);
        }
        break;
    default: // biphase
        r.Carry = 360;
        patterns = {{889, 1778}, {889, 2667}, {1778, 2667}, {1778, 3556}, {889, 90000}};
        for (int i = 0; i < 24; ++i)
            codes.push_back((i * 7 + variant) % 4);
        codes.push_back(4);
        break;
    }
    for (std::size_t i = 0; i < patterns.size(); ++i) {
        r.PatternHigh[i] = patterns[i].high;
        r.PatternWidth[i] = patterns[i].width;
    }
    for (std::size_t i = 0; i < codes.size(); ++i)
        r.PatternCode[i] = static_cast<std::uint8_t>(codes[i]);
    r.DataBits = static_cast<int>(codes.size());
    return r;
}

void FillTable(LearningTable& table) {
    for (int row = 1; row <= table.rowCount(); ++row) {
        LearnedSignal& r = table.record(row);
        r = Signal(row % 5, row);
        char carry[16];
        std::snprintf(carry, sizeof carry, "%d.%dkHz", r.Carry / 10, r.Carry % 10);
        table.setCell(row, ColCarry, carry);
        table.setCell(row, ColFrames, "1");
    }
}

// Bytes the board sends for one entry of the read-back: "Twl:", "Twc:",
// "Twb:", "Twr:", sixteen "Twp:" and "Twd:", each line with CR LF.
long ReplyBytes(const LearnedSignal& r) {
    const int bits = r.DataBits;
    const long twb = 4 + (bits > 999 ? 4 : 3) + 2;
    return 9 + 9 + twb + 9 + 16 * 20 + (4 + bits + bits % 2 + 2);
}

struct Board {
    QProcess process;
    std::string path;
    bool start(const QStringList& arguments) {
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QDir(QCoreApplication::applicationDirPath()).filePath("quvan-sim"),
                      arguments);
        if (!process.waitForStarted(3000))
            return false;
        while (!process.canReadLine() && process.waitForReadyRead(3000)) {
        }
        const QString first = QString::fromLocal8Bit(process.readLine()).trimmed();
        path = first.mid(4).toStdString();
        return first.startsWith("PTY ");
    }
    ~Board() {
        process.terminate();
        process.waitForFinished(2000);
    }
};

void WaitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) {
        QEventLoop loop;
        QTimer::singleShot(1, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

qint64 FileSize(const QString& path) {
    return QFileInfo(path).size();
}

struct Figures {
    double registerMs = 0, readMs = 0;
    long registerBytes = 0, readBytes = 0;
    bool ok = false;
};

Figures Run(int baud) {
    Figures f;
    const QString dir = QDir::tempPath() + "/quvan-transfer-bench";
    QDir().mkpath(dir);
    const QString wire = dir + "/wire.log";
    QFile::remove(wire);
    QStringList arguments{"--wire-log", wire};
    if (baud > 0)
        arguments << "--baud" << QString::number(baud);
    Board board;
    if (!board.start(arguments)) {
        std::fprintf(stderr, "transfer_bench: the simulator did not start\n");
        return f;
    }
    platform::FixedPortLister ports;
    Silence silence;
    app::ProgramOptions options;
    options.title = "TAVIRO QUVAN-ARM Tool";
    options.settingsLocation =
        app::SettingsLocationFor((dir + "/quvan-tool").toStdString(), "", "");
    options.ports = &ports;
    options.sounds = &silence;
    options.port = board.path;
    app::TfrmMsgBox::SetAnswerer([](app::TfrmMsgBox& box) { box.CloseWithOk(); });
    app::Program program(options);
    program.frmMain().show();
    WaitFor([&] { return program.frmMain().state().StartupDone; }, 5000);
    WaitFor([&] { return QFile(wire).size() > 0; }, 1000);
    QEventLoop settle;
    QTimer::singleShot(300, &settle, &QEventLoop::quit);
    settle.exec();

    LearningTable& table = program.learningTable();
    FillTable(table);
    const LearningTable original = table;

    // Registration: from "登録実行" to the dialog closing.
    table_ui::TfrmTws& tws = program.frmTws();
    QElapsedTimer clock;
    qint64 sentBefore = FileSize(wire);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (tws.isVisible()) {
            poll.stop();
            clock.start();
            tws.btnExecute->click();
        }
    });
    poll.start(1);
    program.frmMain().widgets().btnTableWrite->click();
    f.registerMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    const transfer::RegistrationRun* run = tws.lastRun();
    if (run == nullptr || run->outcome() != transfer::TransferOutcome::Completed ||
        run->storedRows().size() != 250u) {
        std::fprintf(stderr, "transfer_bench: registration did not complete\n");
        return f;
    }
    WaitFor([&] { return FileSize(wire) > sentBefore; }, 1000);
    // Commands out (the flash write included), "ACK" CR LF back per row.
    f.registerBytes = static_cast<long>(FileSize(wire) - sentBefore) + 250 * 5;

    // Read-back: from the click to the board's "ZEM:off".
    table_ui::BoardTransfers& transfers = program.boardTransfers();
    sentBefore = FileSize(wire);
    bool finished = false;
    QObject::connect(&transfers.readBack(), &table_ui::ReadBackDriver::readBackFinished,
                     [&] { finished = true; });
    clock.start();
    program.frmMain().widgets().btnTableLoad->click();
    WaitFor([&] { return finished; }, 120000);
    f.readMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    const transfer::ReadBackSession* session = transfers.readBack().lastSession();
    if (!finished || session == nullptr ||
        session->outcome() != transfer::TransferOutcome::Completed) {
        std::fprintf(stderr, "transfer_bench: the read-back did not complete\n");
        return f;
    }
    long replies = 8 + 9; // "ZEM:on", "ZEM:off"
    for (int row = 1; row <= 250; ++row)
        replies += ReplyBytes(table.record(row));
    f.readBytes = static_cast<long>(FileSize(wire) - sentBefore) + replies;
    for (int row = 1; row <= 250; ++row) {
        const LearnedSignal& a = original.record(row);
        const LearnedSignal& b = table.record(row);
        if (a.DataBits != b.DataBits || a.Carry != b.Carry ||
            !std::equal(a.PatternCode.begin(), a.PatternCode.begin() + a.DataBits,
                        b.PatternCode.begin())) {
            std::fprintf(stderr, "transfer_bench: row %d came back different\n", row);
            return f;
        }
    }
    app::TfrmMsgBox::SetAnswerer(nullptr);
    f.ok = true;
    return f;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int baud = argc > 1 ? std::atoi(argv[1]) : 115200;

    const Figures instant = Run(0);
    if (!instant.ok)
        return 1;
    std::printf("instant board, 250 rows: register %.0f ms, read back %.0f ms  (goal < 2000 ms "
                "each)\n",
                instant.registerMs, instant.readMs);
    if (baud <= 0)
        return 0; // "transfer_bench 0": the instant board only

    const Figures line = Run(baud);
    if (!line.ok)
        return 1;
    const double registerLineMs = line.registerBytes * 10.0 * 1000.0 / baud;
    const double readLineMs = line.readBytes * 10.0 * 1000.0 / baud;
    std::printf("%d baud, register: %.0f ms for %ld bytes that need %.0f ms on the line, "
                "ratio %.3f  (goal <= 1.05)\n",
                baud, line.registerMs, line.registerBytes, registerLineMs,
                line.registerMs / registerLineMs);
    std::printf("%d baud, read back: %.0f ms for %ld bytes that need %.0f ms on the line, "
                "ratio %.3f  (goal <= 1.05)\n",
                baud, line.readMs, line.readBytes, readLineMs, line.readMs / readLineMs);
    return 0;
}
