#pragma once
// The firmware update dialog ("Firmware Update"): the file, the Download
// button that starts, stops and resets the update, its progress, and a
// folded-away console for talking to the loader by hand. The dialogue with
// the loader itself is FirmwareUpdate; this class gives it widgets, timers
// and the board link.

#include "link/board_link.h"
#include "maintenance/firmware_update.h"
#include "maintenance/maintenance_host.h"

#include <QDialog>
#include <QStatusBar>
#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace quvan::maintenance {

// The dialog's status bar; reports where a mouse button was released.
class DownloadStatusBar final : public QStatusBar {
    Q_OBJECT
  public:
    using QStatusBar::QStatusBar;
  signals:
    void released(int x);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

class TfrmDownload final : public QDialog, private FirmwareEffects {
    Q_OBJECT
  public:
    TfrmDownload(link::BoardLink& link, MaintenanceHost& host, QWidget* mainWindow);
    ~TfrmDownload() override;

    // Every board line while the dialog is visible.
    void HandleLoaderLine(const std::string& line);

    const FirmwareUpdate& firmware() const { return firmware_; }
    FirmwareUpdate& firmware() { return firmware_; }
    DownloadState state() const { return firmware_.state(); }
    bool sending() const { return firmware_.sending(); }
    bool consoleShown() const { return consoleOpen_; }
    QString statusPanelText(int panel) const;
    QString logText() const;

    // Opens or folds the console (a click right on the status bar).
    void SetConsoleOpen(bool open);
    void AddCommandHistory(const QString& text);

    QWidget* pnlTop;
    QPushButton* btnDownload;
    QLabel* pnlHex;
    QPushButton* btnFile;
    QLabel* lblMsg;
    QProgressBar* prgBar;
    QWidget* pnlRecv;
    QPushButton* btnClear;
    QPushButton* btnSend;
    QComboBox* cmbCmd;
    QLabel* lblRstWait;
    QLineEdit* edtRstWait;
    QLabel* lblRstWaitUnit;
    QPlainTextEdit* memoDownload;
    DownloadStatusBar* sBar;
    std::array<QLabel*, 4> sBarPanels{};
    QTimer* tmAutoStart;

    void btnDownloadClick();
    void btnFileClick();
    void btnSendClick();
    void sBarMouseUp(int x);

  public slots:
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildControls();
    QTimer* TimerOf(FirmwareTimer timer) const;
    void Fold();

    // FirmwareEffects
    bool portOpen() const override;
    bool connectBoard() override;
    std::string noBoardAdvice() const override;
    bool sendCommand(const std::string& text) override;
    bool portSearchActive() const override;
    int outputPending() override;
    void setResponseFlag() override;
    void startTimer(FirmwareTimer timer, int ms) override;
    void stopTimer(FirmwareTimer timer) override;
    std::string resetWaitText() const override;
    bool consoleOpen() const override { return consoleOpen_; }
    void setBusy(bool busy) override;
    void setFileEnabled(bool enabled) override;
    void setEraseNoticeVisible(bool visible) override;
    void setProgressVisible(bool visible) override;
    void setProgressRange(int maximum) override;
    void setProgress(int position) override;
    void setLoadAddress(const std::string& text) override;
    void setStatus(const std::string& text) override;
    void appendLog(const std::string& line) override;
    void clearLog() override;
    void closeDialog() override;
    void playSound(FirmwareSound sound) override;
    int showMessage(int kind, const std::string& caption, const std::string& text) override;
    void answerMessageWithOk() override;

    link::BoardLink& link_;
    MaintenanceHost& host_;
    FirmwareUpdate firmware_;
    QTimer* startWait_;
    QTimer* loaderWait_;
    QTimer* nextRecord_;
    QTimer* drain_;
    bool consoleOpen_ = false;
};

} // namespace quvan::maintenance
