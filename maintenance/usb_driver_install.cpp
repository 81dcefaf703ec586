#include "maintenance/usb_driver_install.h"

#include "platform/user_text.h"

namespace quvan::maintenance {

using user_text::Fill;
using user_text::Tr;

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
    if (effects.showMessage(
            2, Tr("UsbDriver", "確認"),
            Fill(Tr("UsbDriver", "USB Driver [ %1 ] Install"), {FileNamePart(usbDriverPath)})) != 1)
        return;
    // The file may have gone while the question was open.
    if (!effects.fileExists(usbDriverPath)) {
        effects.showMessage(1, Tr("UsbDriver", "警告"), Tr("UsbDriver", "USB Driver Not Found"));
        return;
    }
    if (effects.runAndWait(usbDriverPath, std::string()))
        effects.showMessage(1, Tr("UsbDriver", "確認"), Tr("UsbDriver", "Installation completed"));
    else
        effects.showMessage(1, Tr("UsbDriver", "確認"), Tr("UsbDriver", "Canceled the process"));
}

} // namespace quvan::maintenance
