#pragma once
// Every control of the main window, created once with its caption. The
// subsystems reach the controls they own through this struct; the window
// class itself only runs the window's life.

#include "capture/view/wave_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QWidget>
#include <array>

class QMainWindow;

namespace quvan::app {

// A panel that reports double clicks (the wave control strip, the status bar).
class ClickPanel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;
  signals:
    void clicked();
    void doubleClicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

class ClickStatusBar : public QStatusBar {
    Q_OBJECT
  public:
    using QStatusBar::QStatusBar;
  signals:
    void doubleClicked();

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

struct MainWidgets {
    Q_DECLARE_TR_FUNCTIONS(MainWidgets)

  public:
    // Main menu.
    QMenu* mmFile = nullptr;
    QAction* mmNew = nullptr;
    QAction* mmOpen = nullptr;
    QAction* mmSave = nullptr;
    QAction* mmImport = nullptr; // signals from other tools' files
    QAction* mmExport = nullptr;
    QAction* mmCom = nullptr;
    QAction* mmUsbDriver = nullptr;
    QAction* mmFirmware = nullptr;
    QAction* mmQuit = nullptr;
    QMenu* mmOption = nullptr;
    QAction* mmOptionDipsw = nullptr;
    QMenu* mmSystemPath = nullptr;
    QAction* mmOptionCsv = nullptr;
    QAction* mmOptionHex = nullptr;
    QAction* mmOptionSnd = nullptr;
    // The language of the window from the next start on.
    QMenu* mmLanguage = nullptr;
    QAction* mmLanguageJa = nullptr;
    QAction* mmLanguageEn = nullptr;
    // The frequent actions with their shortcuts (the controls they stand
    // for name them in their tooltips).
    QMenu* mmAction = nullptr;
    QAction* mmLearning = nullptr; // pnlAnalyze
    QAction* mmFire = nullptr;     // btnTest
    QAction* mmZoomIn = nullptr;   // btnZoomLeft
    QAction* mmZoomOut = nullptr;  // btnZoomRight
    QAction* mmNextRow = nullptr;
    QAction* mmPrevRow = nullptr;

    // Top bar.
    QWidget* pnlTop = nullptr;
    QPushButton* btnTest = nullptr;
    std::array<QCheckBox*, 4> ckTp{};
    QCheckBox* ckCursor = nullptr;
    QPushButton* btnTableWrite = nullptr;
    QPushButton* btnTablePrint = nullptr;
    QPushButton* btnTableLoad = nullptr;
    QCheckBox* ckRF_ID = nullptr;
    QCheckBox* ckPcode = nullptr;

    // Table grid.
    QTableView* sGrid = nullptr;

    // Wave panel: control strip, image, scroll bar.
    QWidget* pnlWave = nullptr;
    ClickPanel* pnlCont = nullptr;
    ClickPanel* pnlAnalyze = nullptr;
    QCheckBox* ckLearningMsg = nullptr;
    QPushButton* btnZoomLeft = nullptr;
    QLabel* pnlZoom = nullptr;
    QPushButton* btnZoomRight = nullptr;
    QProgressBar* pgBar = nullptr;
    QLabel* lblHrange = nullptr;
    QLineEdit* edtHrange = nullptr;
    QLabel* lblWrange = nullptr;
    QLineEdit* edtWrange = nullptr;
    QLabel* lblLtime = nullptr;
    QLineEdit* edtLtime = nullptr;
    QCheckBox* ckCodeCheck = nullptr;
    QCheckBox* ckFullCode = nullptr;
    QCheckBox* ckEiritsu = nullptr;
    QCheckBox* ckPhilips = nullptr;
    QCheckBox* ckSerial = nullptr;
    QCheckBox* ckMultiHeader = nullptr;
    QLabel* lblTs = nullptr;
    QComboBox* cmbTs = nullptr;
    QLabel* lblTw = nullptr;
    QComboBox* cmbTw = nullptr;
    QLabel* lblBt = nullptr;
    QComboBox* cmbBt = nullptr;
    QComboBox* cmbSBit = nullptr;
    QLabel* pnlWaveData = nullptr;
    QPushButton* btnWaveClear = nullptr;
    QPushButton* btnWaveData = nullptr;
    QPushButton* btnWaveSave = nullptr;
    QPushButton* btnWavePrint = nullptr;
    QWidget* waveViewport = nullptr; // clips the wide image to the panel
    WaveView* imgWave = nullptr;
    QScrollBar* scrBar = nullptr;

    // Receive panel.
    QSplitter* splRecv = nullptr;
    QWidget* pnlRecv = nullptr;
    QPushButton* btnSend = nullptr;
    QComboBox* cmbSendText = nullptr;
    QPushButton* btnRecvClear = nullptr;
    QPlainTextEdit* memoRecv = nullptr;

    // Status bar and its three panels.
    ClickStatusBar* sBar = nullptr;
    std::array<QLabel*, 3> sBarPanels{};
    // At the right end of the status bar while a row is marked for paste.
    QLabel* sBarCopyMark = nullptr;
};

// Creates all controls inside `window` (menus, central area, status bar);
// the wave image gets one lane per capture the edition shows.
void BuildMainWidgets(QMainWindow& window, MainWidgets& w, int waveLanes);

} // namespace quvan::app
