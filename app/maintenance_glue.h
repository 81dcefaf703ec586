#pragma once
// The board maintenance commands in the main window: "&Firmware Update",
// "&DIP Switch Setup" and "&USB Driver Install", and what their dialogs need
// from the program (message box, settings, sounds, the file dialog, the
// connection check).

#include "maintenance/maintenance_host.h"

#include <functional>
#include <optional>

namespace quvan::link {
class TfrmCom;
}
namespace quvan::platform {
class ShellService;
class SoundPlayer;
} // namespace quvan::platform
namespace quvan::table_ui {
class TableCommands;
}
namespace quvan::maintenance {
class TfrmDownload;
class TfrmDsw;
} // namespace quvan::maintenance

namespace quvan::app {

class TfrmMain;
class TfrmMsgBox;

class MaintenanceGlue final : public maintenance::MaintenanceHost {
  public:
    MaintenanceGlue(TfrmMain& main, platform::SoundPlayer& sounds, platform::ShellService& shell);

    // The pieces made after the dialogs that use this host.
    void attach(TfrmMsgBox* msgBox, link::TfrmCom* com, table_ui::TableCommands* files);

    // The menu commands.
    void FirmwareUpdate(maintenance::TfrmDownload& dialog);
    void DipSwitchSetup(maintenance::TfrmDsw& dialog);
    void UsbDriverInstall();

    // MaintenanceHost
    int showMessage(int kind, const QString& caption, const QString& text) override;
    bool messageShowing() const override;
    void answerMessageWithOk() override;
    bool connectBoard() override;
    void communicationSettings() override;
    std::optional<QString> chooseFile(int filterIndex, const QString& initialPath) override;
    std::string hexFilePath() const override;
    void setHexFilePath(const std::string& path) override;
    void playSound(maintenance::FirmwareSound sound) override;

  private:
    TfrmMain& main_;
    platform::SoundPlayer& sounds_;
    platform::ShellService& shell_;
    TfrmMsgBox* msgBox_ = nullptr;
    link::TfrmCom* com_ = nullptr;
    table_ui::TableCommands* files_ = nullptr;
};

} // namespace quvan::app
