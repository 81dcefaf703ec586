#pragma once
// What the learning logic reads from the window (option boxes and edit
// texts) and what it asks the window to do. The window implements
// LearningEffects with its widgets; tests record the calls.

#include "capture/capture_state.h"
#include "capture/pulse_meaning.h"

#include <string>
#include <vector>

namespace quvan {

class LearningTable;

struct LearningOptions {
    bool ProEdition = false;
    int WaveLanes = 2;
    bool PortOpen = true;
    // Why no port is open, when that is known and can be put right (a port
    // this user may not open): added under "QUVANと通信出来ません".
    std::string NoPortAdvice;
    bool CursorAuto = false;       // ckCursor
    std::string HrangeText = "20"; // edtHrange
    std::string WrangeText = "15"; // edtWrange
    std::string LtimeText = "500"; // edtLtime, milliseconds
    bool LearningMsg = false;      // ckLearningMsg ("学習確認")
    bool CodeCheck = false;        // ckCodeCheck
    bool MonitorMode = false;
    bool Eiritsu = false;
    bool Philips = false;
    bool Serial = false;
    bool MultiHeader = false;
    bool PCode = false;
    bool FullCode = false;
    std::string TsText = "250"; // cmbTs, as the main window starts
    std::string TwText = "1480";
    std::string BtText = "54";
    std::string SBitText = "3";
    int WaveZoom = 200;        // µs per pixel of the wave image
    int WaveImageWidth = 1000; // pixels
};

enum class Sound { Chimes, Chord, Tada };

// One sampling instant of an overlay grid: where to draw it and what it read.
struct OverlayCell {
    int x = 0;
    char value = '0';
};

class LearningEffects {
  public:
    virtual ~LearningEffects() = default;

    virtual void sendCommand(const std::string& /*text*/) {}
    virtual void setLearningIndicator(bool /*on*/) {}
    virtual void setTableModified() {}
    virtual void playSound(Sound /*sound*/) {}
    virtual void appendLog(const std::string& /*line*/) {}
    virtual void clearLog() {}
    // A failure the window reports with its general error display.
    virtual void reportError(const std::string& /*text*/) {}
    // Modal message box; dispOff is the state of its "次回から表示しない" box
    // after it closed. Returns 1 for OK/Yes.
    virtual int showMessage(int /*kind*/, const std::string& /*caption*/,
                            const std::string& /*text*/, bool& dispOff) {
        dispOff = false;
        return 1;
    }
    virtual void setLearningMsgChecked(bool /*checked*/) {}

    // Progress bar pgBar.
    virtual void setProgressVisible(bool /*visible*/) {}
    virtual void setProgress(int /*position*/) {}

    // Wave view and wave data grid. A user without the grid (the command
    // line) says so, which spares formatting every pulse's cells.
    virtual bool showsWaveData() const { return true; }
    virtual void drawPair(int /*lane*/, int /*index*/) {}
    virtual void clearLanes(int /*lane*/) {}
    virtual void clearWaveColumns(int /*lane*/) {}
    virtual void clearPatternRangePanels() {}
    virtual void setWaveCell(int /*col*/, int /*row*/, const std::string& /*text*/) {}
    virtual void setWaveCurrentCell(int /*col*/, int /*row*/) {}
    virtual void drawLaneLabel(int /*lane*/, const std::string& /*text*/) {}
    virtual void drawSamplingOverlay(int /*lane*/, const std::vector<OverlayCell>& /*cells*/) {}
    // What each pulse of a decoded capture means, to be drawn over its lane.
    virtual void drawPulseMeanings(int /*lane*/, const PulseMeanings& /*meanings*/) {}

    // The table grid's cursor.
    virtual int currentRow() const = 0;
    virtual void setCurrentRow(int row) = 0;
    virtual void setCurrentColumn(int /*col*/) {}
    virtual void focusGrid() {}
};

// The decoders run on a closed capture; the learning logic only knows this
// much of them so that the capture library stays free of format knowledge.
class CaptureDecoding {
  public:
    virtual ~CaptureDecoding() = default;
    virtual void DecodeCapture() = 0;
    virtual void SamplingOverlay(int lane) = 0;
};

// The pieces every learning step works on, bundled to keep signatures short.
struct LearningContext {
    CaptureState& state;
    const LearningOptions& options;
    LearningTable& table;
    LearningEffects& effects;
};

} // namespace quvan
