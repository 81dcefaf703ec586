#include "app/core/app_settings.h"

#include <filesystem>

namespace quvan::app {

std::string_view LanguageCode(std::string_view language) {
    return language == "en" ? "en" : "ja";
}

std::string DefaultSoundFolder(std::string_view executableDir) {
    namespace fs = std::filesystem;
    const std::string beside = std::string(executableDir) + "Sounds/";
    std::error_code error;
    if (fs::is_directory(beside, error)) {
        return beside;
    }
    // An installed tool lives in .../bin and keeps its data in .../share.
    const fs::path installed =
        (fs::path(executableDir) / "../share/quvan-tool/Sounds/").lexically_normal();
    if (fs::is_directory(installed, error)) {
        return installed.string();
    }
    return beside;
}

void BuildSoundPaths(AppSettings& settings, std::string_view executableDir) {
    if (settings.SoundFolder.empty()) {
        settings.SoundFolder = DefaultSoundFolder(executableDir);
    }
    const std::string& folder = settings.SoundFolder;
    settings.Sounds = SoundPaths{
        .SoundAction = folder + "snd_action.wav",
        .SoundChord = folder + "snd_chord.wav",
        .SoundChimes = folder + "snd_chimes.wav",
        .SoundNotify = folder + "snd_notify.wav",
        .SoundTada = folder + "snd_tada.wav",
    };
}

} // namespace quvan::app
