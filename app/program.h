#pragma once
// Everything one run of the tool owns: the board link, the windows (created
// once, in a fixed order, and kept until the end) and the services they use.

#include "app/learning_window.h"
#include "app/main_table_host.h"
#include "app/main_transfer_host.h"
#include "app/main_window.h"
#include "app/msgbox/msg_box.h"
#include "app/msgbox_service.h"
#include "app/wave_tools_host.h"
#include "link/board_link.h"
#include "link/com_dialog.h"
#include "maintenance/download_dialog.h"
#include "maintenance/dsw_dialog.h"
#include "platform/port_list.h"
#include "platform/serial_port.h"
#include "platform/shell/shell_service.h"
#include "platform/sound/sound_player.h"
#include "table/learning_table.h"
#include "table/ui/board_transfers.h"
#include "table/ui/signal_exchange_commands.h"
#include "table/ui/table_commands.h"
#include "table/ui/tws_dialog.h"
#include "tools/wave_data_dialog.h"
#include "tools/wave_edit_dialog.h"
#include "tools/wave_output_commands.h"

#include <QDialog>
#include <QPointer>
#include <memory>
#include <optional>
#include <string>

class QApplication;

namespace quvan::app {

// The look of the program, from its resources.
void ApplyLavenderClassico(QApplication& application);

struct ProgramOptions {
    QString title;
    std::optional<std::string> port; // a port for this run only
    SettingsLocation settingsLocation;
    std::optional<AppSettings> settings;          // already read from settingsLocation
    platform::SerialPortOpener* opener = nullptr; // null: the real serial ports
    platform::PortLister* ports = nullptr;        // null: the machine's serial devices
    platform::SoundPlayer* sounds = nullptr;      // null: the machine's sound output
    platform::ShellService* shell = nullptr;      // null: the desktop's (installer command)
};

class MaintenanceGlue;

class Program {
  public:
    explicit Program(ProgramOptions options);
    ~Program();

    TfrmMain& frmMain() { return *frmMain_; }
    TfrmMsgBox& frmMsgBox() { return *frmMsgBox_; }
    link::TfrmCom& frmCom() { return *frmCom_; }
    link::BoardLink& boardLink() { return *link_; }
    // The learning table (250 rows, 500 in Pro) and the commands on it.
    LearningTable& learningTable() { return *table_; }
    table_ui::TableCommands& tableCommands() { return *tableCommands_; }
    LearningWindow& learning() { return *learning_; }
    // File → Import... and Export...
    table_ui::SignalExchangeCommands& signalExchange() { return *signalExchange_; }
    tools::TfrmWave& frmWave() { return *frmWave_; }
    tools::TfrmWaveEdit& frmWaveEdit() { return *frmWaveEdit_; }
    // The table print, the waveform print and the wave text export.
    tools::WaveOutputCommands& waveOutputs() { return *waveOutputs_; }

    maintenance::TfrmDownload& frmDownload() { return *frmDownload_; }
    maintenance::TfrmDsw& frmDsw() { return *frmDsw_; }
    MaintenanceGlue& maintenance() { return *maintenance_; }

    // The registration dialog and the other transfers with the board.
    table_ui::TfrmTws& frmTws() { return *frmTws_; }
    table_ui::BoardTransfers& boardTransfers() { return *boardTransfers_; }

  private:
    void Connect();
    void ConnectTableCommands(const std::string& executableDir);
    void ConnectWaveTools();
    void ConnectSignalExchange();
    void ConnectShortcuts();

    std::unique_ptr<platform::SerialPortOpener> ownOpener_;
    std::unique_ptr<platform::PortLister> ownPorts_;
    std::unique_ptr<platform::SoundPlayer> ownSounds_;
    std::unique_ptr<platform::ShellService> ownShell_;
    std::unique_ptr<link::BoardLink> link_;
    std::unique_ptr<MsgBoxService> messages_;
    // Declared before the window: the grid's model lets go of it on the way out.
    std::unique_ptr<LearningTable> table_;
    // Outlives the window and the editor in it, which call on it.
    std::unique_ptr<WaveToolsHost> waveTools_;
    std::unique_ptr<TfrmMain> frmMain_;
    std::unique_ptr<MainTableHost> tableHost_;
    std::unique_ptr<table_ui::TableCommands> tableCommands_;
    std::unique_ptr<LearningWindow> learning_;
    std::unique_ptr<MainTransferHost> transferHost_;
    table_ui::BoardTransfers* boardTransfers_ = nullptr;
    std::unique_ptr<MaintenanceGlue> maintenance_;
    tools::WaveOutputCommands* waveOutputs_ = nullptr;
    std::unique_ptr<table_ui::SignalExchangeCommands> signalExchange_;
    TfrmMsgBox* frmMsgBox_ = nullptr;
    table_ui::TfrmTws* frmTws_ = nullptr;
    tools::TfrmWave* frmWave_ = nullptr;
    tools::TfrmWaveEdit* frmWaveEdit_ = nullptr;
    link::TfrmCom* frmCom_ = nullptr;
    maintenance::TfrmDownload* frmDownload_ = nullptr;
    maintenance::TfrmDsw* frmDsw_ = nullptr;
};

} // namespace quvan::app
