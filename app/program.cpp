#include "app/program.h"

#include "app/com_command.h"
#include "app/main_line_handlers.h"
#include "app/maintenance_glue.h"
#include "table/ui/grid_popup_menu.h"
#include "table/ui/table_grid.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>

namespace quvan::app {

void ApplyLavenderClassico(QApplication& application) {
    application.setStyle("Fusion");
    QFile sheet(":/style/lavender_classico.qss");
    if (sheet.open(QIODevice::ReadOnly)) {
        application.setStyleSheet(QString::fromUtf8(sheet.readAll()));
    }
}

Program::Program(ProgramOptions options) {
    platform::SerialPortOpener* opener = options.opener;
    if (opener == nullptr) {
        ownOpener_ = std::make_unique<platform::PosixSerialPortOpener>();
        opener = ownOpener_.get();
    }
    platform::PortLister* ports = options.ports;
    if (ports == nullptr) {
        ownPorts_ = std::make_unique<platform::SystemPortLister>();
        ports = ownPorts_.get();
    }
    platform::SoundPlayer* sounds = options.sounds;
    if (sounds == nullptr) {
        ownSounds_ = platform::MakeSystemSoundPlayer();
        sounds = ownSounds_.get();
    }
    platform::ShellService* shell = options.shell;
    if (shell == nullptr) {
        ownShell_ = std::make_unique<platform::DesktopShell>();
        shell = ownShell_.get();
    }
    link_ = std::make_unique<link::BoardLink>(*opener);
    messages_ = std::make_unique<MsgBoxService>();

    // The windows, in their fixed order; all but the main window stay hidden
    // until they are shown.
    frmMain_ = std::make_unique<TfrmMain>(
        options.title, MainServices{*link_, *messages_, *ports, options.settingsLocation,
                                    options.port, options.settings});
    frmMsgBox_ = new TfrmMsgBox(frmMain_.get(), &frmMain_->state().settings.Sounds, sounds);
    messages_->attach(frmMsgBox_);
    frmTws_ = new table_ui::TfrmTws(*link_, frmMain_.get());
    frmWave_ = new tools::TfrmWave(
        frmMain_->state().WaveLanes,
        [this](int lane) {
            return learning_
                       ? learning_->captureState().Lanes[static_cast<std::size_t>(lane)].LastIndex
                       : 0;
        },
        frmMain_.get());
    // The table exists before the editor that works on it.
    table_ = std::make_unique<LearningTable>(frmMain_->state().ProEdition ? kProTableRows
                                                                          : kStdTableRows);
    waveTools_ = std::make_unique<WaveToolsHost>(*frmMain_, options.title);
    frmWaveEdit_ = new tools::TfrmWaveEdit(*table_, *waveTools_, frmMain_.get());
    frmCom_ = new link::TfrmCom(*link_, *ports, frmMain_.get());
    maintenance_ = std::make_unique<MaintenanceGlue>(*frmMain_, *sounds, *shell);
    frmDownload_ = new maintenance::TfrmDownload(*link_, *maintenance_, frmMain_.get());
    frmDsw_ = new maintenance::TfrmDsw(*link_, frmMain_.get());
    ConnectTableCommands(options.settingsLocation.executableDir);
    learning_ = std::make_unique<LearningWindow>(*frmMain_, *frmMsgBox_, *sounds, *table_,
                                                 *tableCommands_, *frmWave_);
    waveTools_->attach(*tableCommands_, *learning_);
    waveOutputs_ = new tools::WaveOutputCommands(*table_, *waveTools_, frmMain_.get());
    maintenance_->attach(frmMsgBox_, frmCom_, tableCommands_.get());
    ConnectSignalExchange();
    transferHost_ = std::make_unique<MainTransferHost>(*frmMain_);
    frmTws_->attach(*table_, tableCommands_->grid(), *transferHost_);
    MainWidgets& w = frmMain_->widgets();
    table_ui::TransferControls controls;
    controls.btnTest = w.btnTest;
    controls.ckTp = w.ckTp;
    controls.ckCursor = w.ckCursor;
    controls.ckPcode = w.ckPcode;
    controls.btnTableWrite = w.btnTableWrite;
    controls.btnTableLoad = w.btnTableLoad;
    controls.btnSend = w.btnSend;
    controls.cmbSendText = w.cmbSendText;
    controls.btnRecvClear = w.btnRecvClear;
    controls.memoRecv = w.memoRecv;
    boardTransfers_ = new table_ui::BoardTransfers(*link_, *table_, *tableCommands_, *frmTws_,
                                                   *transferHost_, controls, *frmMain_);
    Connect();
    ConnectWaveTools();
    ConnectShortcuts();
}

Program::~Program() {
    frmMain_->loadTableAtStart = nullptr;
    link_->ClosePort();
}

void Program::ConnectTableCommands(const std::string& executableDir) {
    MainWidgets& w = frmMain_->widgets();
    table_ui::TableControls controls;
    controls.sGrid = w.sGrid;
    controls.mmNew = w.mmNew;
    controls.mmOpen = w.mmOpen;
    controls.mmSave = w.mmSave;
    controls.mmOptionCsv = w.mmOptionCsv;
    controls.mmOptionHex = w.mmOptionHex;
    controls.mmOptionSnd = w.mmOptionSnd;
    controls.ckCodeCheck = w.ckCodeCheck;
    controls.ckLearningMsg = w.ckLearningMsg;
    controls.ckEiritsu = w.ckEiritsu;
    controls.ckSerial = w.ckSerial;
    controls.ckPhilips = w.ckPhilips;
    controls.cmbTs = w.cmbTs;
    controls.cmbTw = w.cmbTw;
    controls.cmbBt = w.cmbBt;
    controls.pnlCont = w.pnlCont;
    controls.btnTableLoad = w.btnTableLoad;
    tableHost_ = std::make_unique<MainTableHost>(*frmMain_, executableDir);
    tableCommands_ = std::make_unique<table_ui::TableCommands>(*table_, *link_, *tableHost_,
                                                               controls, *frmMain_, executableDir);
    table_ui::TableCommands& commands = *tableCommands_;
    QObject::connect(w.sBar, &ClickStatusBar::doubleClicked, &commands,
                     [&commands] { commands.setMonitorMode(!commands.monitorMode()); });
    frmMain_->loadTableAtStart = [&commands](const std::string& path) {
        return commands.LoadAtStart(path);
    };
}

void Program::ConnectSignalExchange() {
    table_ui::TableGrid& grid = tableCommands_->grid();
    table_ui::SignalExchangeHooks hooks;
    hooks.learningOptions = [this] { return learning_->currentOptions(); };
    hooks.cursorRow = [&grid] { return grid.cursorRow(); };
    hooks.selectedRows = [&grid] { return grid.selectedRows(); };
    hooks.showRow = [&grid](int row) { grid.setCursor(row, ColCarry); };
    hooks.tableChanged = [this] { frmMain_->SetTableModified(true); };
    hooks.ask = [this](int kind, const QString& caption, const QString& text) {
        return messages_->show(kind, caption, text);
    };
    hooks.appendLog = [this](const QString& line) { frmMain_->appendLog(line); };
    hooks.defaultFolder = [this] {
        // Beside the current table, else the table folder.
        const std::string& csv = frmMain_->state().settings.CsvFilePath;
        const std::string path = csv.empty() ? tableCommands_->defaultTableLocation() : csv;
        return QFileInfo(QString::fromStdString(path)).absolutePath() + '/';
    };
    hooks.chooseFile = [this](const table_ui::FileDialogRequest& request, const QString& caption) {
        return table_ui::ShowFileDialog(frmMain_.get(), request, caption);
    };
    signalExchange_ = std::make_unique<table_ui::SignalExchangeCommands>(*table_, std::move(hooks));
    MainWidgets& w = frmMain_->widgets();
    QObject::connect(w.mmImport, &QAction::triggered, signalExchange_.get(),
                     &table_ui::SignalExchangeCommands::Import);
    QObject::connect(w.mmExport, &QAction::triggered, signalExchange_.get(),
                     &table_ui::SignalExchangeCommands::Export);
}

void Program::Connect() {
    TfrmMain& main = *frmMain_;
    MainWidgets& w = main.widgets();

    frmCom_->setShowMessage([this](int kind, const QString& caption, const QString& text) {
        return messages_->show(kind, caption, text);
    });
    frmCom_->setBoardFound(
        [&main](const std::string& name) { main.appendLog(QString::fromStdString(name)); });
    frmCom_->setSystemPathVisible(
        [&w](bool visible) { w.mmSystemPath->menuAction()->setVisible(visible); });
    QObject::connect(w.mmCom, &QAction::triggered, &main,
                     [this] { RunCommunicationSettings(*frmMain_, *frmCom_); });
    // Which row a paste copies, shown for as long as one is marked.
    QObject::connect(&tableCommands_->popupMenu(), &table_ui::GridPopupMenu::copyMarkChanged, &main,
                     [&w](int row) {
                         w.sBarCopyMark->setText(
                             MainWidgets::tr("コピー: %1").arg(row, 3, 10, QChar('0')));
                         w.sBarCopyMark->setVisible(row != 0);
                     });

    main.lineHandlers().readBackLine = [this](const std::string& line) {
        boardTransfers_->HandleReadBackLine(line);
    };
    QObject::connect(w.mmFirmware, &QAction::triggered, &main,
                     [this] { maintenance_->FirmwareUpdate(*frmDownload_); });
    QObject::connect(w.mmOptionDipsw, &QAction::triggered, &main,
                     [this] { maintenance_->DipSwitchSetup(*frmDsw_); });
    QObject::connect(w.mmUsbDriver, &QAction::triggered, &main,
                     [this] { maintenance_->UsbDriverInstall(); });
    main.lineHandlers().loaderLine = [this](const std::string& line) {
        frmDownload_->HandleLoaderLine(line);
    };
    main.lineHandlers().dswReply = [this](const std::string& line) {
        frmDsw_->HandleDswReply(line);
    };

    // The router asks which dialogs are up before it decides where a line goes.
    main.lineHandlers().fillState = [this](link::DispatchState& state) {
        state.firmwareDialogVisible = frmDownload_->isVisible();
        state.firmwareSending = frmDownload_->sending();
        state.registerDialogVisible = frmTws_->isVisible();
        state.readBackRunning = boardTransfers_ != nullptr && boardTransfers_->readBackRunning();
        state.dipSwitchDialogVisible = frmDsw_->isVisible();
        state.waveDataPanelVisible = frmMain_->widgets().pnlWaveData->isVisible();
        state.monitorMode = tableHost_->monitorMode();
    };
}

void Program::ConnectShortcuts() {
    MainWidgets& w = frmMain_->widgets();
    // Each shortcut does what its control does, through the control, so that
    // a disabled or hidden control stays out of reach.
    const std::pair<QAction*, QAbstractButton*> buttons[] = {
        {w.mmFire, w.btnTest}, {w.mmZoomIn, w.btnZoomLeft}, {w.mmZoomOut, w.btnZoomRight}};
    for (const auto& [action, button] : buttons) {
        QObject::connect(action, &QAction::triggered, button, [button] {
            if (button->isEnabled() && button->isVisibleTo(button->window()))
                button->click();
        });
    }
    table_ui::TableGrid& grid = tableCommands_->grid();
    const auto step = [this, &grid](int by) {
        const int row = std::clamp(grid.cursorRow() + by, 1, table_->rowCount());
        grid.setCursor(row, std::max(1, grid.cursorColumn()));
    };
    QObject::connect(w.mmNextRow, &QAction::triggered, &grid, [step] { step(+1); });
    QObject::connect(w.mmPrevRow, &QAction::triggered, &grid, [step] { step(-1); });
}

void Program::ConnectWaveTools() {
    MainWidgets& w = frmMain_->widgets();
    tableCommands_->popupMenu().openWaveEditor = [this] { frmWaveEdit_->OpenForSelectedRow(); };
    QObject::connect(w.btnTablePrint, &QPushButton::clicked, waveOutputs_,
                     &tools::WaveOutputCommands::btnTablePrintClick);
    QObject::connect(w.btnWavePrint, &QPushButton::clicked, waveOutputs_,
                     &tools::WaveOutputCommands::btnWavePrintClick);
    QObject::connect(w.btnWaveSave, &QPushButton::clicked, waveOutputs_,
                     &tools::WaveOutputCommands::btnWaveSaveClick);
}

} // namespace quvan::app
