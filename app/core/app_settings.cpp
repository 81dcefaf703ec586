#include "app/core/app_settings.h"

namespace quvan::app {

void BuildSoundPaths(AppSettings& settings, std::string_view executableDir) {
    if (settings.SoundFolder.empty()) {
        settings.SoundFolder = std::string(executableDir) + "Sounds/";
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
