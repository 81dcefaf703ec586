#pragma once
// The waveform print: each captured lane as a square wave under a header
// with its table row, then the sampling marks of the time-sampling decoder
// chosen in the main window (Eiritsu, or Philips and Serial).

#include "capture/wave_lane.h"
#include "platform/print/print_surface.h"

#include <string>
#include <string_view>
#include <vector>

namespace quvan::tools {

enum class PrintMarks { None, Eiritsu, PhilipsSerial };

struct WavePrintLane {
    const WaveLane* lane = nullptr;
    int row = 0;          // LaneRow: the table row of the capture
    std::string comments; // that row's Comments and Result cells
    std::string result;
};

struct WavePrintInput {
    int zoom = 200; // µs per pixel of the wave view
    PrintMarks marks = PrintMarks::None;
    // The texts of the Ts, Tw and Bits boxes (450, 878 and 32 when not numbers).
    std::string ts, tw, bt;
    std::vector<WavePrintLane> lanes; // lanes 0 .. WaveLanes-1
};

// The print job's title: the application title and "[ Wave Date ]".
std::string WavePrintTitle(std::string_view applicationTitle);

// The pen of the traces: 4 at 25 µs per pixel, 3 at 50, 2 at 100, 0 (the
// thinnest line) at 200, 1 at 150 and from 250 on or for a zoom that is not
// one of the steps.
int WavePenWidth(int zoom);

// Microseconds per printed dot: the zoom × 10 / 25, at least 1.
int WavePrintScale(int zoom);

// Draws the whole document on `surface` (which has begun it).
void PrintWaves(platform::PrintSurface& surface, const WavePrintInput& input);

} // namespace quvan::tools
