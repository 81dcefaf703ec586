// Figures of the board link over a real pseudo-terminal:
//   idle     — processor time used with the port open and nothing arriving
//   flood    — wave lines framed and dispatched per second (handlers as hooks)
//   latency  — from the last byte of a CR LF line to its dispatch
// Usage: link_bench [--sim PATH | --no-sim]
// The flood comes from quvan-sim (built beside this program) unless --no-sim
// asks for an in-process writer on a pseudo-terminal.

#include "link/board_link.h"
#include "link/line_dispatcher.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/resource.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace quvan;
using Clock = std::chrono::steady_clock;

namespace {

class HookHandlers final : public link::LineHandlers {
  public:
    link::DispatchState state;
    std::atomic<long> lines{0};
    Clock::time_point lastDispatch;
    link::DispatchState dispatchState() const override { return state; }
    void HandleLoaderLine(const std::string&) override {}
    void HandleWaveLine(const std::string&) override { Count(); }
    void HandleAnalysisLine(const std::string&) override { Count(); }
    void HandleReadBackLine(const std::string&) override {}
    void HandleDswReply(const std::string&) override {}
    void SetLearningIndicator(bool) override { Count(); }
    void RecordBoardVersion(const std::string&) override {}
    void SetIrAck(bool) override {}
    int logLineCount() const override { return 0; }
    void clearLog() override {}
    void appendLog(const std::string&) override { Count(); }

  private:
    void Count() {
        lastDispatch = Clock::now();
        ++lines;
    }
};

void RunEventsFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool RunEventsUntil(const std::function<bool()>& done, int ms) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
    while (!done() && Clock::now() < deadline) {
        RunEventsFor(5);
    }
    return done();
}

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
           usage.ru_stime.tv_usec / 1e6;
}

struct Pty {
    int master = -1;
    int keeper = -1;
    std::string path;
    Pty() {
        char name[256] = {};
        openpty(&master, &keeper, name, nullptr, nullptr);
        termios tio{};
        tcgetattr(keeper, &tio);
        cfmakeraw(&tio);
        tcsetattr(keeper, TCSANOW, &tio);
        path = name;
    }
    ~Pty() {
        close(master);
        close(keeper);
    }
    void writeAll(const std::string& bytes) const {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = write(master, bytes.data() + done, bytes.size() - done);
            if (n > 0)
                done += static_cast<std::size_t>(n);
        }
    }
};

std::string WaveLines(int count) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(count) * 20);
    char line[32];
    for (int i = 0; i < count; ++i) {
        std::snprintf(line, sizeof line, "[%03d]:00560 001120\r\n", i % 1000);
        bytes += line;
    }
    return bytes;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const QStringList args = application.arguments();
    const int simAt = static_cast<int>(args.indexOf("--sim"));
    QString simPath = simAt > 0 && simAt + 1 < args.size() ? args[simAt + 1] : QString();
#ifdef QUVAN_SIM_PATH
    if (simPath.isEmpty() && !args.contains("--no-sim")) {
        simPath = QStringLiteral(QUVAN_SIM_PATH);
    }
#endif

    platform::PosixSerialPortOpener opener;
    HookHandlers handlers;
    handlers.state.startupDone = true;
    link::BoardLink boardLink(opener);
    boardLink.setHandlers(&handlers);

    Pty pty;
    boardLink.ComPort.PortName = pty.path;
    if (!boardLink.OpenPort(true)) {
        std::fprintf(stderr, "cannot open %s: %s\n", pty.path.c_str(),
                     boardLink.lastOpenError().c_str());
        return 1;
    }

    // Idle: port open, nothing arriving.
    RunEventsFor(200);
    const double cpu0 = CpuSeconds();
    const auto wall0 = Clock::now();
    RunEventsFor(5000);
    const double idleCpu = CpuSeconds() - cpu0;
    const double idleWall = std::chrono::duration<double>(Clock::now() - wall0).count();
    const double idlePercent = 100.0 * idleCpu / idleWall;

    // Latency: one line at a time, from the writer's last byte to the dispatch.
    std::vector<double> latencies;
    for (int i = 0; i < 300; ++i) {
        const long before = handlers.lines;
        const auto written = Clock::now();
        pty.writeAll("[000]:00560 001120\r\n");
        RunEventsUntil([&] { return handlers.lines > before; }, 1000);
        latencies.push_back(
            std::chrono::duration<double, std::milli>(handlers.lastDispatch - written).count());
        RunEventsFor(2);
    }
    std::sort(latencies.begin(), latencies.end());
    const double latencyMedian = latencies[latencies.size() / 2];
    const double latency95 = latencies[latencies.size() * 95 / 100];
    boardLink.ClosePort();

    // Flood: as many wave lines as the source can push.
    constexpr int kFloodLines = 200000;
    double floodRate = 0;
    const char* source = "in-process writer";
    QProcess simulator;
    if (!simPath.isEmpty()) {
        source = "quvan-sim";
        simulator.start(simPath, {"--control", "-"});
        simulator.waitForStarted();
        simulator.waitForReadyRead(3000);
        const QString first = QString::fromLocal8Bit(simulator.readLine()).trimmed();
        boardLink.ComPort.PortName = first.mid(4).toStdString();
        if (!boardLink.OpenPort(true)) {
            std::fprintf(stderr, "cannot open the simulator's port %s\n",
                         boardLink.ComPort.PortName.c_str());
            return 1;
        }
        handlers.lines = 0;
        const auto start = Clock::now();
        simulator.write(QByteArray("flood ") + QByteArray::number(kFloodLines) + "\n");
        simulator.waitForBytesWritten();
        RunEventsUntil([&] { return handlers.lines >= kFloodLines; }, 60000);
        floodRate =
            handlers.lines / std::chrono::duration<double>(handlers.lastDispatch - start).count();
        boardLink.ClosePort();
        simulator.write("quit\n");
        simulator.waitForFinished(2000);
    } else {
        boardLink.ComPort.PortName = pty.path;
        boardLink.OpenPort(true);
        handlers.lines = 0;
        const std::string bytes = WaveLines(kFloodLines);
        const auto start = Clock::now();
        std::thread writer([&] { pty.writeAll(bytes); });
        RunEventsUntil([&] { return handlers.lines >= kFloodLines; }, 60000);
        writer.join();
        floodRate =
            handlers.lines / std::chrono::duration<double>(handlers.lastDispatch - start).count();
        boardLink.ClosePort();
    }

    std::printf("idle:     %.3f %% of one core over %.1f s with the port open  (goal < 1 %%)\n",
                idlePercent, idleWall);
    std::printf("flood:    %.0f lines/s framed and dispatched (%s)  (goal >= 100000; "
                "a 115200-baud line carries ~600: ratio %.0fx)\n",
                floodRate, source, floodRate / 600.0);
    std::printf("latency:  median %.3f ms, 95th percentile %.3f ms from last byte to dispatch  "
                "(goal median < 5 ms)\n",
                latencyMedian, latency95);
    const bool ok = idlePercent < 1.0 && floodRate >= 100000 && latencyMedian < 5.0;
    return ok ? 0 : 2;
}
