#pragma once
// The three output buttons of the Pro edition: the table print ("Table 印刷"),
// the waveform print ("Print") and the wave text export ("Save"). The prints
// open a preview first, from which the user prints or saves a PDF; the
// layouts are in tools/core/table_print.h and tools/core/wave_print.h.

#include "capture/wave_lane.h"
#include "platform/print/print_service.h"
#include "tools/core/table_print.h"
#include "tools/core/wave_print.h"

#include <QDate>
#include <QFont>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace quvan {
class LearningTable;
}

namespace quvan::tools {

// What the outputs read from the main window.
class WaveOutputHost {
  public:
    virtual ~WaveOutputHost() = default;
    virtual QString applicationTitle() const = 0;
    // The receive log's font: every printed text uses it.
    virtual QFont documentFont() const = 0;
    // The third panel of the status bar (normally the table file's path).
    virtual QString pathPanelText() const = 0;
    virtual int selectedRow() const = 0;
    virtual int waveZoom() const = 0;
    // The time-sampling option ticked in the main window and its Ts, Tw and
    // Bits texts.
    virtual PrintMarks printMarks() const = 0;
    virtual std::array<std::string, 3> samplingTexts() const = 0;
    virtual int waveLanes() const = 0;
    virtual const WaveLane* lanes() const = 0; // waveLanes() of them
    virtual int laneRow(int lane) const = 0;
    // The main window's save dialog for a text file; nullopt when cancelled.
    virtual std::optional<QString> chooseWaveTextFile() = 0;
    virtual int showMessage(int kind, const QString& caption, const QString& text) = 0;
};

class WaveOutputCommands final : public QObject {
    Q_OBJECT
  public:
    WaveOutputCommands(const LearningTable& table, WaveOutputHost& host,
                       QWidget* dialogParent = nullptr);

    void btnTablePrintClick();
    void btnWavePrintClick();
    void btnWaveSaveClick();

    platform::PrintRequest TablePrintRequest() const;
    platform::PrintRequest WavePrintRequest() const;
    // Writes the wave text export; false (after "Can't Save") when it failed.
    bool SaveWaveText(const QString& path);

    // Shows the document and prints it; the preview dialog unless replaced
    // (tests print into a PDF file). True when it was printed.
    std::function<bool(const platform::PrintRequest&)> runPrint;
    // Today, for the date of the table print.
    std::function<QDate()> today = [] { return QDate::currentDate(); };

  private:
    const LearningTable& table_;
    WaveOutputHost& host_;
};

} // namespace quvan::tools
