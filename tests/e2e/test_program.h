#pragma once
// What a test needs to build the real Program without a screen, a sound card
// or the machine's serial ports.

#include "../frame/temp_dir.h"
#include "app/program.h"

#include <optional>
#include <string>

namespace quvan::test_support {

class Silence final : public platform::SoundPlayer {
  public:
    void playAsync(const std::string&) override {}
};

// Options for a Program whose settings live in `dir`, whose port search walks
// `ports` and whose sounds go nowhere.
inline app::ProgramOptions TestProgramOptions(const QString& title, const TempDir& dir,
                                              platform::PortLister& ports,
                                              platform::SoundPlayer& sounds,
                                              std::optional<std::string> port) {
    app::ProgramOptions options;
    options.title = title;
    options.settingsLocation = app::SettingsLocationFor(dir.path() / "quvan-tool", "", "");
    options.ports = &ports;
    options.sounds = &sounds;
    options.port = std::move(port);
    return options;
}

} // namespace quvan::test_support
