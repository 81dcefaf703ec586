#pragma once
// Short notification sounds, played without holding up the caller.

#include <memory>
#include <string>

namespace quvan::platform {

class SoundPlayer {
  public:
    virtual ~SoundPlayer() = default;
    // Starts playing the wave file at path and returns at once. A sound that
    // is still playing is cut off, as a new notice replaces the old one. An
    // empty path, a missing or unreadable file and a machine without an audio
    // device all play nothing; none of them is an error worth telling anyone.
    virtual void playAsync(const std::string& path) = 0;
};

// The machine's own sound output (ALSA where the build found it, otherwise
// a player that stays silent).
std::unique_ptr<SoundPlayer> MakeSystemSoundPlayer();

} // namespace quvan::platform
