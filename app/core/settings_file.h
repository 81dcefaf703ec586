#pragma once
// Where the settings file lives, reading it at start-up and writing it back.
//
// The file lies beside the executable and has its name with ".ini", so each
// copy of the tool keeps its own settings. A system-wide install cannot
// write there; its settings then go to the user's configuration folder
// ($XDG_CONFIG_HOME or ~/.config, in "quvan-tool/"), so they are not lost at
// every exit.

#include "app/core/app_settings.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace quvan::app {

struct SettingsLocation {
    std::filesystem::path file;     // the executable's path with ".ini"
    std::filesystem::path userFile; // the per-user copy; empty when there is no home
    std::string executableDir;      // ends with "/"; the sound folder's default lives here
};

// The location for the executable at the given path. xdgConfigHome and home
// are the environment's values (empty when unset).
SettingsLocation SettingsLocationFor(const std::filesystem::path& executable,
                                     std::string_view xdgConfigHome, std::string_view home);

// The location for the running program.
SettingsLocation SettingsLocationOfThisProgram();

// The file LoadSettings reads: the per-user copy when it exists and was
// written after the file beside the executable (or that one is missing),
// else the file beside the executable.
std::filesystem::path SettingsFileToRead(const SettingsLocation& where);

// Reads the settings; a missing or unreadable file gives every default.
// Builds the sound paths. (The caller copies settings.Port into its port
// record and marks that record closed.)
AppSettings LoadSettings(const SettingsLocation& where);

struct SaveOutcome {
    std::filesystem::path savedTo; // empty when nothing could be written
    // For the third status panel: empty when the file beside the executable
    // was written; otherwise "NG ... " and that file's path, followed by
    // " → " and the per-user file when the settings went there instead.
    std::string status;
};

// Writes every key, keeping whatever else the file holds. The file is
// replaced in one step, so a failed write leaves the old file whole.
SaveOutcome SaveSettings(const SettingsLocation& where, const AppSettings& settings);

} // namespace quvan::app
