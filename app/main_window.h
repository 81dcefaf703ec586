#pragma once
// The main window: runs the window's life (creation, start sequence, closing,
// resizing), keeps the application-wide state and reacts when the serial
// adapter goes away. The controls live in MainWidgets; the subsystems that
// own their behaviour connect to them.

#include "app/app_state.h"
#include "app/core/settings_file.h"
#include "app/main_widgets.h"
#include "app/message_service.h"
#include "link/board_link.h"
#include "platform/port_list.h"

#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>

namespace quvan::app {

class MainLineHandlers;

// What the main window works with; owned by the program entry.
struct MainServices {
    link::BoardLink& link;
    MessageService& messages;
    platform::PortLister& ports;
    SettingsLocation settingsLocation;
    // The port to use this run instead of the saved one (--simulate, --port);
    // the saved one is written back at exit.
    std::optional<std::string> portOverride;
    // The settings as already read from settingsLocation by the program
    // entry; read there when not given.
    std::optional<AppSettings> settings = std::nullopt;
};

class TfrmMain final : public QMainWindow {
    Q_OBJECT
  public:
    TfrmMain(const QString& applicationTitle, MainServices services, QWidget* parent = nullptr);
    ~TfrmMain() override;

    AppState& state() { return state_; }
    const AppState& state() const { return state_; }
    MainWidgets& widgets() { return w_; }
    link::BoardLink& boardLink() { return services_.link; }
    MessageService& messages() { return services_.messages; }
    MainLineHandlers& lineHandlers() { return *lineHandlers_; }

    void SetLearningIndicator(bool on);
    void RecordBoardVersion(const std::string& line);
    // Marks the table changed or not: the status bar's "変更" and the "*"
    // of the window title.
    void SetTableModified(bool modified);
    // The title names the table file (CsvFilePath) before the program's
    // title, "無題" without one; "[*]" shows the unsaved changes.
    void RefreshTitle();
    void PortLost();
    // The port has failed (a line error, a device that is gone): tell the
    // user, close it and switch the learning indicator off. Nothing happens
    // while a message box shows (a removal is being reported) or once the
    // port is closed.
    void ReportLineLost();
    void StartSequence();
    bool ConnectBoard();
    void SaveSettings();

    // The receive log memoRecv.
    int logLineCount() const;
    void clearLog();
    void appendLog(const QString& line);
    QString logText() const { return w_.memoRecv->toPlainText(); }

    QString statusPanelText(int panel) const { return w_.sBarPanels.at(panel)->text(); }
    QString learningCaption() const { return w_.pnlAnalyze->text(); }
    bool learningIndicatorLit() const { return w_.pnlAnalyze->property("lit").toBool(); }

    // Loads the table file named in the settings at start; set by the table
    // subsystem. Returns false when the file could not be loaded.
    std::function<bool(const std::string& path)> loadTableAtStart;

    static constexpr const char* kVersionText = "Ver.20251223";
    static constexpr int kMinWidth = 500;
    static constexpr int kMinHeight = 400;

  signals:
    // The start sequence has run (once, after the first showing).
    void startupFinished();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override; // FormCloseQuery, then FormClose
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormCreate(const QString& applicationTitle);
    // The Option menu's language choice: kept in the settings for the next start.
    void ChooseLanguage(const std::string& code);
    void LayoutForEdition();
    void FillParameterLists();
    void FormClose();
    void FormResize();
    // The wave image's left edge for scroll bar position `position`.
    void PlaceWaveImage(int position);
    // A removal came while a message box showed: looked at once it closes.
    void LookAgainWhenMessageCloses();

    MainServices services_;
    AppState state_;
    MainWidgets w_;
    std::unique_ptr<MainLineHandlers> lineHandlers_;
    std::string savedPortName_;
    bool removalPending_ = false; // LookAgainWhenMessageCloses is waiting
    QString programTitle_;        // "TAVIRO QUVAN-ARM Tool  [ Ver.20251223 ]"
};

} // namespace quvan::app
