#pragma once
// Builds board captures for the decoder tests from the protocols' own
// definitions (marks and spaces in µs), independent of the decoders.

#include "capture/learning_context.h"
#include "decode/capture_decoder.h"
#include "table/learning_table.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace quvan::test {

struct MarkSpace {
    int Mark = 0;
    int Space = 0;
};
using Signal = std::vector<MarkSpace>;

// Bits of the bytes, least significant bit of each byte first.
std::vector<bool> BitsLsbFirst(const std::vector<int>& bytes);
std::vector<bool> ValueBitsLsbFirst(unsigned value, int count);

// Pulse-distance coding: one leader, a mark per bit with a short or long
// space, a stop mark, and the space up to the frame period (0 = none).
Signal PulseDistance(int leaderMark, int leaderSpace, int bitMark, int zeroSpace, int oneSpace,
                     const std::vector<bool>& bits, int framePeriod);

Signal NecFrame(const std::vector<int>& bytes); // 9000/4500, 560, 560|1690, 108 ms
Signal NecRepeatCode();                         // 9000/2250, 560, 108 ms
Signal SonyFrame(unsigned value, int bits);     // 2400/600, 1200|600 marks, 600 spaces, 45 ms
Signal KaseikyoFrame(const std::vector<int>& bytes);
Signal SamsungFrame(const std::vector<int>& bytes);
Signal JvcFrame(const std::vector<int>& bytes, bool leader);
Signal SharpFrame(unsigned value15); // 15 bits, 320 µs marks, 1000|2000 µs periods

// Bi-phase frames: every bit two equal halves of opposite level. RC5 (889 µs
// halves, a 1 is space-then-mark, RC5X when the command has its seventh
// bit) every 113.792 ms; RC6 mode 0 (2666/889 leader, 444 µs halves, a 1 is
// mark-then-space, the toggle bit twice as wide) every 106.667 ms.
Signal Rc5Frame(bool toggle, int address, int command);
Signal Rc6Frame(bool toggle, int address, int command);

Signal Repeat(const Signal& frame, int times);
Signal Concat(std::initializer_list<Signal> parts);

// Deterministic ±percent noise on marks and spaces plus a mark bias (the
// receiver's stretch of every mark, taken from the following space).
Signal Jittered(const Signal& s, int percent, int markBias, unsigned seed);

std::vector<std::string> BoardLines(const Signal& s, const std::string& carrierText);

class RecordingEffects : public LearningEffects {
  public:
    int currentRow() const override { return row; }
    void setCurrentRow(int r) override { row = r; }
    void sendCommand(const std::string& text) override { sent.push_back(text); }
    void playSound(Sound s) override { sounds.push_back(s); }
    void appendLog(const std::string& line) override { log.push_back(line); }
    void reportError(const std::string& text) override { errors.push_back(text); }
    void setWaveCell(int col, int r, const std::string& text) override {
        waveCells[{col, r}] = text;
    }
    void drawLaneLabel(int lane, const std::string& text) override {
        labels.push_back(std::to_string(lane) + ":" + text);
    }
    void drawSamplingOverlay(int, const std::vector<OverlayCell>& cells) override {
        overlay = cells;
    }
    void drawPulseMeanings(int lane, const PulseMeanings& m) override {
        meaningsLane = lane;
        meanings = m;
    }
    int showMessage(int kind, const std::string& caption, const std::string& text,
                    bool& dispOff) override {
        messages.push_back(std::to_string(kind) + "|" + caption + "|" + text);
        dispOff = false;
        return 1;
    }
    void setLearningIndicator(bool on) override { indicator.push_back(on); }
    void setTableModified() override { modified = true; }

    int row = 1;
    bool modified = false;
    std::vector<std::string> sent, log, errors, messages, labels;
    std::vector<Sound> sounds;
    std::vector<bool> indicator;
    std::map<std::pair<int, int>, std::string> waveCells;
    std::vector<OverlayCell> overlay;
    int meaningsLane = -1;
    PulseMeanings meanings;
};

// A learning run as the window holds it, with recorded effects.
struct Session {
    explicit Session(LearningOptions opts = {});
    void feed(const std::vector<std::string>& lines);
    void startLearning();

    LearningOptions options;
    std::unique_ptr<CaptureState> state = std::make_unique<CaptureState>();
    LearningTable table;
    RecordingEffects effects;
    LearningContext ctx;
    CaptureDecoder decoder;
};

} // namespace quvan::test
