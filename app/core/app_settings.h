#pragma once
// The values the tool keeps between runs, and the sound paths made from them.

#include "link/rs232c.h"

#include <string>
#include <string_view>

namespace quvan::app {

// Full paths of the five notification sounds.
struct SoundPaths {
    std::string SoundAction;
    std::string SoundChord;
    std::string SoundChimes;
    std::string SoundNotify; // built for completeness; nothing plays it
    std::string SoundTada;
};

struct AppSettings {
    link::PortSettings Port;

    std::string CsvFilePath;   // the table file last used
    std::string HexFilePath;   // the firmware file
    std::string UsbDriverPath; // the USB-serial driver installer
    std::string SoundFolder;   // ends with "/"; empty until BuildSoundPaths

    int HRange = 20;        // tolerance on a pulse's mark, percent
    int WRange = 15;        // tolerance on a pulse's period, percent
    int LearnTime = 500000; // microseconds
    bool IrAck = true;      // the board ends an output with the byte 0x06, else "ACK" CR LF

    // The language of the window from the next start on: "ja" or "en"; empty
    // until the user chooses one (older files have no such key), which means
    // Japanese.
    std::string Language;

    SoundPaths Sounds; // derived from SoundFolder, never stored
};

// The language code `Language` stands for: "en" for English, else "ja"
// (an unknown code falls back to the default).
std::string_view LanguageCode(std::string_view language);

// The "Sounds/" folder beside the executable (executableDir ends with "/");
// for an installed tool without one, share/quvan-tool/Sounds/ of the install
// prefix (/usr/bin/ gives /usr/share/quvan-tool/Sounds/) when it exists.
std::string DefaultSoundFolder(std::string_view executableDir);

// Gives an empty SoundFolder its default (DefaultSoundFolder) and rebuilds
// the sound paths.
// The file names are appended to the folder as they are: a folder the user
// chose must end with "/" ("/data/Snd" gives "/data/Sndsnd_action.wav"),
// which keeps the paths the same as the ones the settings file describes.
void BuildSoundPaths(AppSettings& settings, std::string_view executableDir);

} // namespace quvan::app
