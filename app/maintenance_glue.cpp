#include "app/maintenance_glue.h"

#include "app/com_command.h"
#include "app/main_window.h"
#include "app/msgbox/msg_box.h"
#include "maintenance/download_dialog.h"
#include "maintenance/dsw_dialog.h"
#include "maintenance/usb_driver_install.h"
#include "platform/shell/shell_service.h"
#include "platform/sound/sound_player.h"
#include "table/ui/table_commands.h"

#include <QApplication>
#include <filesystem>

namespace quvan::app {
namespace {

// Position of "USB Driver File (*.Exe)" in the main window's open dialog.
constexpr int kUsbDriverFilter = 6;

// The installer command on the main window's widgets and the shell.
class InstallerOnWindow final : public maintenance::InstallerEffects {
  public:
    InstallerOnWindow(MaintenanceGlue& glue, TfrmMain& main, platform::ShellService& shell)
        : glue_(glue), main_(main), shell_(shell) {}

    bool fileExists(const std::string& path) const override {
        std::error_code error;
        return std::filesystem::is_regular_file(path, error);
    }
    std::optional<std::string> chooseInstaller(const std::string& initialPath) override {
        const std::optional<QString> chosen =
            glue_.chooseFile(kUsbDriverFilter, QString::fromStdString(initialPath));
        return chosen ? std::optional<std::string>(chosen->toStdString()) : std::nullopt;
    }
    void showPath(const std::string& path) override {
        main_.widgets().sBarPanels[2]->setText(QString::fromStdString(path));
    }
    int showMessage(int kind, const std::string& caption, const std::string& text) override {
        return glue_.showMessage(kind, QString::fromStdString(caption),
                                 QString::fromStdString(text));
    }
    bool runAndWait(const std::string& path, const std::string& parameters) override {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const platform::ShellRun run = shell_.OpenAndWait(path, parameters);
        QApplication::restoreOverrideCursor();
        return run.started;
    }

  private:
    MaintenanceGlue& glue_;
    TfrmMain& main_;
    platform::ShellService& shell_;
};

} // namespace

MaintenanceGlue::MaintenanceGlue(TfrmMain& main, platform::SoundPlayer& sounds,
                                 platform::ShellService& shell)
    : main_(main), sounds_(sounds), shell_(shell) {}

void MaintenanceGlue::attach(TfrmMsgBox* msgBox, link::TfrmCom* com,
                             table_ui::TableCommands* files) {
    msgBox_ = msgBox;
    com_ = com;
    files_ = files;
}

void MaintenanceGlue::FirmwareUpdate(maintenance::TfrmDownload& dialog) {
    dialog.exec();
}

void MaintenanceGlue::DipSwitchSetup(maintenance::TfrmDsw& dialog) {
    if (dialog.exec() == QDialog::Accepted)
        dialog.ApplyDipSwitches();
}

void MaintenanceGlue::UsbDriverInstall() {
    InstallerOnWindow effects(*this, main_, shell_);
    maintenance::RunUsbDriverInstall(main_.state().settings.UsbDriverPath, effects);
}

int MaintenanceGlue::showMessage(int kind, const QString& caption, const QString& text) {
    return main_.messages().show(kind, caption, text);
}

bool MaintenanceGlue::messageShowing() const {
    return main_.messages().isShowing();
}

void MaintenanceGlue::answerMessageWithOk() {
    if (msgBox_ != nullptr && msgBox_->Showing())
        msgBox_->CloseWithOk();
}

bool MaintenanceGlue::connectBoard() {
    return main_.ConnectBoard();
}

void MaintenanceGlue::communicationSettings() {
    if (com_ != nullptr)
        RunCommunicationSettings(main_, *com_);
}

std::optional<QString> MaintenanceGlue::chooseFile(int filterIndex, const QString& initialPath) {
    if (files_ == nullptr || !files_->chooseFile)
        return std::nullopt;
    const auto choice =
        files_->chooseFile({table_ui::FileDialogKind::Open, table_ui::OpenDialogFilters(),
                            filterIndex, QString(), initialPath});
    if (!choice)
        return std::nullopt;
    return choice->path;
}

std::string MaintenanceGlue::hexFilePath() const {
    return main_.state().settings.HexFilePath;
}

void MaintenanceGlue::setHexFilePath(const std::string& path) {
    main_.state().settings.HexFilePath = path;
}

void MaintenanceGlue::playSound(maintenance::FirmwareSound sound) {
    const SoundPaths& paths = main_.state().settings.Sounds;
    switch (sound) {
    case maintenance::FirmwareSound::Chimes:
        sounds_.playAsync(paths.SoundChimes);
        break;
    case maintenance::FirmwareSound::Chord:
        sounds_.playAsync(paths.SoundChord);
        break;
    case maintenance::FirmwareSound::Tada:
        sounds_.playAsync(paths.SoundTada);
        break;
    }
}

} // namespace quvan::app
