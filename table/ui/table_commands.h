#pragma once
// The user's commands on the learning table in the main window: File New,
// Open and Save with their questions and dialogs, the three path commands of
// "&SystemPath Setup", the grid with its pop-up menu, the CodeCheck option's
// effect on the cursor, the monitor switch on the status bar and the table
// load at start-up. Installed once by the program over the main window's
// controls; everything else of the window is reached through TableHost.

#include "table/learning_table.h"
#include "table/table_file.h"
#include "table/ui/file_dialogs.h"

#include <QObject>
#include <QString>
#include <functional>
#include <string>

class QAction;
class QCheckBox;
class QComboBox;
class QPushButton;
class QTableView;
class QWidget;

namespace quvan::link {
class BoardLink;
}

namespace quvan::table_ui {

class GridPopupMenu;
class LearningTableModel;
class TableGrid;
class TableHost;

// The main window's controls these commands own or read.
struct TableControls {
    QTableView* sGrid = nullptr;
    QAction* mmNew = nullptr;
    QAction* mmOpen = nullptr;
    QAction* mmSave = nullptr;
    QAction* mmOptionCsv = nullptr;
    QAction* mmOptionHex = nullptr;
    QAction* mmOptionSnd = nullptr;
    QCheckBox* ckCodeCheck = nullptr;
    QCheckBox* ckLearningMsg = nullptr;
    // The time-sampling options a table file's header names, and the panel
    // (its "tag" 1) and buttons that show them.
    QCheckBox* ckEiritsu = nullptr;
    QCheckBox* ckSerial = nullptr;
    QCheckBox* ckPhilips = nullptr;
    QComboBox* cmbTs = nullptr;
    QComboBox* cmbTw = nullptr;
    QComboBox* cmbBt = nullptr;
    QWidget* pnlCont = nullptr;
    QPushButton* btnTableLoad = nullptr;
};

// The wave view's part in New and Open. Filled by the learning subsystem;
// until then they do nothing.
struct WaveViewHooks {
    std::function<void(int lanes)> ClearLanes;    // the drawn lanes 0..lanes-1
    std::function<void(int lanes)> ClearLaneData; // the captured pulses of those lanes
    std::function<void(int lane)> SetCurrentLane;
    std::function<void()> ResetCaptureResult; // RepeatBit, DataBits and Frames to 0
};

class TableCommands final : public QObject {
    Q_OBJECT
  public:
    // executableDir ends with "/"; the default table location is its "Dat/".
    // `window` owns the pop-up menu and the file dialogs.
    TableCommands(LearningTable& table, link::BoardLink& link, TableHost& host,
                  TableControls controls, QWidget& window, std::string executableDir);
    ~TableCommands() override;

    LearningTableModel& model() { return *model_; }
    TableGrid& grid() { return *grid_; }
    GridPopupMenu& popupMenu() { return *popup_; }

    WaveViewHooks waveView;
    // Asks the user for a file; a QFileDialog unless replaced (tests).
    FileDialogHook chooseFile;

    void FileNew();
    void FileOpen();
    void FileSave();
    void ChooseCsvFilePath();
    void ChooseHexFilePath();
    void ChooseSoundFolder();
    // The table file named in the settings, loaded when the window is first
    // shown. False when it could not be loaded (the caller forgets the path).
    bool LoadAtStart(const std::string& path);

    // The host's monitor switch.
    bool monitorMode() const;
    void setMonitorMode(bool on);

    std::string defaultTableLocation() const { return executableDir_ + "Dat/*.Csv"; }

  private:
    int ask(int kind, const QString& caption, const QString& text);
    // Runs LoadTable and shows what it found; the caller finishes the command.
    TableLoadResult loadFile(const std::string& path);
    void applyHeader(const TableHeaderFound& found);
    TableHeaderOptions headerOptions() const;
    void showWarnings(const std::vector<std::string>& warnings);
    void clearWaveLanes();
    void resetWaveView();
    void opened(const std::string& path, const TableLoadResult& result);
    void setPathPanel(const std::string& path);
    QString initialTableName() const;
    void codeCheckToggled(bool on);
    void wire();

    LearningTable& table_;
    link::BoardLink& link_;
    TableHost& host_;
    TableControls c_;
    QWidget& window_;
    std::string executableDir_;
    LearningTableModel* model_;
    TableGrid* grid_;
    GridPopupMenu* popup_;
};

} // namespace quvan::table_ui
