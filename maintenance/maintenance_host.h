#pragma once
// What the maintenance dialogs need from the program around them; the
// application implements it with its message box, settings, sounds, file
// dialog and connection check, so this subsystem never reaches into app/.

#include "maintenance/firmware_update.h"

#include <QString>
#include <optional>
#include <string>

namespace quvan::maintenance {

class MaintenanceHost {
  public:
    virtual ~MaintenanceHost() = default;

    // The program's message box: kind 1 OK, kind 2 Yes/No; returns 1 for OK/Yes.
    virtual int showMessage(int kind, const QString& caption, const QString& text) = 0;
    virtual bool messageShowing() const = 0;
    // Closes a showing message box as if OK had been pressed.
    virtual void answerMessageWithOk() = 0;

    // The connection check run when no port is open; true when a board answered.
    virtual bool connectBoard() = 0;
    // The main menu's communication settings command.
    virtual void communicationSettings() = 0;
    // The main window's file-open dialog with the filter at `filterIndex`
    // (counted from 1) selected; nullopt when the user cancels.
    virtual std::optional<QString> chooseFile(int filterIndex, const QString& initialPath) = 0;

    // The firmware file of the settings.
    virtual std::string hexFilePath() const = 0;
    virtual void setHexFilePath(const std::string& path) = 0;

    virtual void playSound(FirmwareSound sound) = 0;
};

// Position of "Firmware File (*.Hex)" in the main window's open dialog.
inline constexpr int kFirmwareFileFilter = 3;

} // namespace quvan::maintenance
