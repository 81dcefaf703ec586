#include "app/program.h"

#include "app/com_command.h"
#include "app/main_line_handlers.h"
#include "table/ui/grid_popup_menu.h"

#include <QApplication>
#include <QFile>

namespace quvan::app {
namespace {

QDialog* MakeDialog(QWidget* owner, const char* name, const QString& caption) {
    auto* dialog = new QDialog(owner);
    dialog->setObjectName(QString::fromLatin1(name));
    dialog->setWindowTitle(caption);
    dialog->hide();
    return dialog;
}

} // namespace

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
    link_ = std::make_unique<link::BoardLink>(*opener);
    messages_ = std::make_unique<MsgBoxService>();

    // The windows, in their fixed order; all but the main window stay hidden
    // until they are shown.
    frmMain_ = std::make_unique<TfrmMain>(
        options.title,
        MainServices{*link_, *messages_, *ports, options.settingsLocation, options.port});
    frmMsgBox_ = new TfrmMsgBox(frmMain_.get(), &frmMain_->state().settings.Sounds, sounds);
    messages_->attach(frmMsgBox_);
    frmTws_ = MakeDialog(frmMain_.get(), "frmTws", "QUVAN Learning Table Write");
    frmWave_ = new tools::TfrmWave(
        frmMain_->state().WaveLanes,
        [this](int lane) {
            return learning_
                       ? learning_->captureState().Lanes[static_cast<std::size_t>(lane)].LastIndex
                       : 0;
        },
        frmMain_.get());
    frmWaveEdit_ = MakeDialog(frmMain_.get(), "frmWaveEdit", "Wave Edit");
    frmCom_ = new link::TfrmCom(*link_, *ports, frmMain_.get());
    frmDownload_ = MakeDialog(frmMain_.get(), "frmDownload", "Firmware Update");
    frmDsw_ = MakeDialog(frmMain_.get(), "frmDsw", "DIP Switch Setup");
    table_ = std::make_unique<LearningTable>(frmMain_->state().ProEdition ? kProTableRows
                                                                          : kStdTableRows);
    tableCommands_ = std::make_unique<table_ui::TableCommands>(
        *frmMain_, *table_, options.settingsLocation.executableDir);
    learning_ = std::make_unique<LearningWindow>(*frmMain_, *frmMsgBox_, *sounds, *table_,
                                                 *tableCommands_, *frmWave_);
    Connect();
}

Program::~Program() {
    link_->ClosePort();
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
                             QStringLiteral("コピー: %1").arg(row, 3, 10, QChar('0')));
                         w.sBarCopyMark->setVisible(row != 0);
                     });

    // The router asks which dialogs are up before it decides where a line goes.
    main.lineHandlers().fillState = [this](link::DispatchState& state) {
        state.firmwareDialogVisible = frmDownload_->isVisible();
        state.registerDialogVisible = frmTws_->isVisible();
        state.dipSwitchDialogVisible = frmDsw_->isVisible();
        state.waveDataPanelVisible = frmMain_->widgets().pnlWaveData->isVisible();
        state.monitorMode = frmMain_->widgets().sBar->property("monitor").toBool();
    };
}

} // namespace quvan::app
