#pragma once
// Application-wide state shared by the main window and the subsystems. The
// values kept between runs live in AppSettings; this adds the run's own.

#include "app/core/app_settings.h"

#include <string>

namespace quvan::app {

struct AppState {
    bool ProEdition = false;
    int WaveLanes = 2; // 4 in Pro, 2 in STD
    bool StartupDone = false;
    bool LearningOn = false; // written only by SetLearningIndicator
    bool TableModified = false;
    std::string BoardVersion;     // "Ver." and the 8 characters after it
    int WaveScrollExtent = -1500; // scroll range of the wave image, kept by FormResize
    AppSettings settings;         // IrAck, HRange, WRange, LearnTime, paths, sounds
};

// The program's title decides the edition: Pro when it contains "Pro".
inline bool IsProTitle(const std::string& title) {
    return title.find("Pro") != std::string::npos;
}

// The version field of a version reply: "Ver." and up to 8 following
// characters; empty when the text has no "Ver.".
inline std::string VersionField(const std::string& line) {
    const auto at = line.find("Ver.");
    return at == std::string::npos ? std::string() : line.substr(at, 12);
}

} // namespace quvan::app
