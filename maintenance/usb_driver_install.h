#pragma once
// "&USB Driver Install": finds the installer of the serial adapter's driver
// (asking for it when the configured file is missing), confirms, runs it and
// waits for its end. On Linux the driver is part of the kernel, but sites
// ship their own setup programs (udev rules, group membership), so the
// command still runs whatever installer is configured.

#include <optional>
#include <string>

namespace quvan::maintenance {

// Where the installer is looked for when none is configured, relative to the
// working directory.
inline constexpr const char* kDefaultUsbDriverPath = "USB_Driver/PL23XX_Driver.exe";

class InstallerEffects {
  public:
    virtual ~InstallerEffects() = default;
    virtual bool fileExists(const std::string& path) const = 0;
    // The main window's file-open dialog with the "USB Driver File (*.Exe)"
    // filter; nullopt when the user cancels.
    virtual std::optional<std::string> chooseInstaller(const std::string& initialPath) = 0;
    // The main window's status bar, third panel.
    virtual void showPath(const std::string& path) = 0;
    // A modal message box; returns 1 for OK/Yes.
    virtual int showMessage(int kind, const std::string& caption, const std::string& text) = 0;
    // Starts the program and waits for its end; false when it could not be
    // started at all.
    virtual bool runAndWait(const std::string& path, const std::string& parameters) = 0;
};

// The command; usbDriverPath is the setting, changed when the user picks
// another file.
void RunUsbDriverInstall(std::string& usbDriverPath, InstallerEffects& effects);

// The file name part of a path ("USB_Driver/PL23XX_Driver.exe" gives
// "PL23XX_Driver.exe").
std::string FileNamePart(const std::string& path);

} // namespace quvan::maintenance
