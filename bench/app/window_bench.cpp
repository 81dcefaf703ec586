// Figures of learning in the main window (offscreen, Pro edition):
//   wave line — one board wave line handled in the window: parse, classify,
//               draw, wave data grid write (a 4096-pair capture)
//   redraw    — all four lanes of 4096 pairs drawn again after a zoom, first
//               as captured, then decoded with the bit of every pulse and
//               the bytes drawn over them
//   dialog    — the wave data dialog shown with four full lanes
// Usage: window_bench

#include "app/program.h"
#include "capture/view/wave_geometry.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

using namespace quvan;

namespace {

class Silence final : public platform::SoundPlayer {
  public:
    void playAsync(const std::string&) override {}
};

// Processor time of this thread: on a machine shared with other work the
// wall clock says more about the others than about the redraw.
double ThreadMillis() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    platform::FixedPortLister ports;
    Silence silence;
    app::ProgramOptions options;
    options.title = "TAVIRO QUVAN-Pro Tool";
    options.settingsLocation =
        app::SettingsLocationFor("/tmp/quvan-window-bench/quvan-tool", "", "");
    options.ports = &ports;
    options.sounds = &silence;
    options.port = "/dev/quvan-none";
    app::Program program(options);
    program.frmMain().show();
    QApplication::processEvents();

    // A long capture with a handful of patterns, as a real remote gives. The
    // learning time is set past the capture's length so that every line is
    // handled in full instead of being dropped once the capture closes.
    program.frmMain().widgets().edtLtime->setText("99999");
    app::LearningWindow& learning = program.learning();
    std::vector<double> lineMicros;
    for (int round = 0; round < 4; ++round) {
        learning.captureState().Result = {};
        learning.captureState().CurrentLane = 3;
        for (int i = 0; i <= kMaxPairIndex; ++i) {
            char line[40];
            const int high = i % 3 == 0 ? 560 : 600;
            const int width = i % 2 == 0 ? 1120 : 2250;
            std::snprintf(line, sizeof line, i > 999 ? "[%04d]:%05d %07d" : "[%03d]:%05d %06d", i,
                          high, width);
            QElapsedTimer clock;
            clock.start();
            learning.HandleWaveLine(line);
            lineMicros.push_back(clock.nsecsElapsed() / 1000.0);
        }
    }
    const auto& lanes = learning.captureState().Lanes;
    if (lanes[0].LastIndex != kMaxPairIndex) {
        std::fprintf(stderr, "the capture closed early at pair %d\n", lanes[0].LastIndex);
        return 1;
    }

    struct Times {
        std::vector<double> wall, cpu;
    };
    auto timeRedraws = [&] {
        Times times;
        for (int i = 0; i < 10; ++i) {
            QElapsedTimer clock;
            clock.start();
            const double cpu = ThreadMillis();
            learning.RedrawLanes(i % 2 == 0 ? 25 : 200);
            times.cpu.push_back(ThreadMillis() - cpu);
            times.wall.push_back(clock.nsecsElapsed() / 1e6);
        }
        return times;
    };
    for (auto& lane : learning.captureState().Lanes) {
        lane = lanes[0];
        lane.LastIndex = kMaxPairIndex;
    }
    const Times redrawTimes = timeRedraws();

    // The same captures decoded: each lane learnt in turn and closed by the
    // board's analysis line, so that every pulse carries a bit to draw.
    for (int lane = 0; lane < 4; ++lane) {
        learning.captureState().Result = {};
        learning.captureState().CurrentLane = lane == 0 ? 3 : lane - 1;
        for (int i = 0; i <= kMaxPairIndex; ++i) {
            char line[40];
            std::snprintf(line, sizeof line, i > 999 ? "[%04d]:%05d %07d" : "[%03d]:%05d %06d", i,
                          i % 3 == 0 ? 560 : 600, i % 2 == 0 ? 1120 : 2250);
            learning.HandleWaveLine(line);
        }
        learning.HandleAnalysisLine("Ave.Freq = 38.0kHz");
        const DecodeRecord* record = learning.decoder().record(lane);
        if (record == nullptr || record->Meanings.empty()) {
            std::fprintf(stderr, "lane %d was not decoded\n", lane);
            return 1;
        }
    }
    const Times decodedTimes = timeRedraws();

    tools::TfrmWave& dialog = program.frmWave();
    for (int lane = 0; lane < 4; ++lane) {
        for (int row = 1; row <= 4096; ++row) {
            dialog.model().setCell(lane * 5 + 1, row, QStringLiteral("%1 ").arg(560, 7));
            dialog.model().setCell(lane * 5 + 2, row, QStringLiteral("%1 ").arg(1120, 7));
            dialog.model().setCell(lane * 5 + 3, row, QStringLiteral("%1 ").arg(row % 4, 4));
        }
    }
    std::vector<double> dialogMillis;
    for (int i = 0; i < 5; ++i) {
        dialog.hide();
        QApplication::processEvents();
        QElapsedTimer clock;
        clock.start();
        dialog.show();
        dialog.sGridWave()->repaint();
        QApplication::processEvents();
        dialogMillis.push_back(clock.nsecsElapsed() / 1e6);
    }

    const double line = Median(lineMicros);
    const double redraw = Median(redrawTimes.wall);
    const double decoded = Median(decodedTimes.wall);
    const double show = Median(dialogMillis);
    std::printf("wave line: median %.1f µs per line over %zu lines  (goal < 50 µs)\n", line,
                lineMicros.size());
    std::printf("redraw:    median %.1f ms (processor %.1f ms) for four lanes of 4096 pairs  (goal "
                "< 30 ms)\n",
                redraw, Median(redrawTimes.cpu));
    std::printf("redraw:    median %.1f ms (processor %.1f ms) for four decoded lanes of 4096 "
                "pairs, bits and bytes drawn  (goal < 30 ms)\n",
                decoded, Median(decodedTimes.cpu));
    std::printf("dialog:    median %.1f ms to show the wave data dialog with four full lanes  "
                "(goal < 100 ms)\n",
                show);
    return line < 50 && redraw < 30 && decoded < 30 && show < 100 ? 0 : 2;
}
