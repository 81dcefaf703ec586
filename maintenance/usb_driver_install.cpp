#include "maintenance/usb_driver_install.h"

namespace quvan::maintenance {

std::string FileNamePart(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void RunUsbDriverInstall(std::string& usbDriverPath, InstallerEffects& effects) {
    if (usbDriverPath.empty())
        usbDriverPath = kDefaultUsbDriverPath;
    if (!effects.fileExists(usbDriverPath)) {
        const std::optional<std::string> chosen = effects.chooseInstaller(usbDriverPath);
        if (!chosen)
            return;
        usbDriverPath = *chosen;
        effects.showPath(usbDriverPath);
    }
    if (effects.showMessage(2, "確認",
                            "USB Driver [ " + FileNamePart(usbDriverPath) + " ] Install") != 1)
        return;
    // The file may have gone while the question was open.
    if (!effects.fileExists(usbDriverPath)) {
        effects.showMessage(1, "警告", "USB Driver Not Found");
        return;
    }
    if (effects.runAndWait(usbDriverPath, std::string()))
        effects.showMessage(1, "確認", "Installation completed");
    else
        effects.showMessage(1, "確認", "Canceled the process");
}

} // namespace quvan::maintenance
