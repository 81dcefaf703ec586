#pragma once
// Everything one run of the tool owns: the board link, the windows (created
// once, in a fixed order, and kept until the end) and the services they use.

#include "app/main_window.h"
#include "app/msgbox/msg_box.h"
#include "app/msgbox_service.h"
#include "link/board_link.h"
#include "link/com_dialog.h"
#include "platform/port_list.h"
#include "platform/serial_port.h"
#include "platform/sound/sound_player.h"

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
    std::optional<std::string> port;             // a port for this run only
    SettingsLocation settingsLocation;
    platform::SerialPortOpener* opener = nullptr;  // null: the real serial ports
    platform::PortLister* ports = nullptr;         // null: the machine's serial devices
    platform::SoundPlayer* sounds = nullptr;       // null: the machine's sound output
};

class Program {
public:
    explicit Program(ProgramOptions options);
    ~Program();

    TfrmMain& frmMain() { return *frmMain_; }
    TfrmMsgBox& frmMsgBox() { return *frmMsgBox_; }
    link::TfrmCom& frmCom() { return *frmCom_; }
    link::BoardLink& boardLink() { return *link_; }

    // Dialogs whose own behaviour comes with their subsystems; they exist from
    // the start because the router asks whether they are showing.
    QDialog& frmTws() { return *frmTws_; }
    QDialog& frmDownload() { return *frmDownload_; }
    QDialog& frmDsw() { return *frmDsw_; }

private:
    void Connect();

    std::unique_ptr<platform::SerialPortOpener> ownOpener_;
    std::unique_ptr<platform::PortLister> ownPorts_;
    std::unique_ptr<platform::SoundPlayer> ownSounds_;
    std::unique_ptr<link::BoardLink> link_;
    std::unique_ptr<MsgBoxService> messages_;
    std::unique_ptr<TfrmMain> frmMain_;
    TfrmMsgBox* frmMsgBox_ = nullptr;
    QDialog* frmTws_ = nullptr;
    QDialog* frmWave_ = nullptr;
    QDialog* frmWaveEdit_ = nullptr;
    link::TfrmCom* frmCom_ = nullptr;
    QDialog* frmDownload_ = nullptr;
    QDialog* frmDsw_ = nullptr;
};

}  // namespace quvan::app
