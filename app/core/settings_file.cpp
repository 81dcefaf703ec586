#include "app/core/settings_file.h"

#include "app/core/profile_text.h"
#include "app/core/settings_keys.h"
#include "app/core/text_encoding.h"
#include "platform/atomic_file.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>

namespace quvan::app {
namespace fs = std::filesystem;

namespace {

std::optional<std::string> ReadBytes(const fs::path& path) {
    // A folder in the file's place would make the stream throw on reading.
    std::error_code error;
    if (!fs::is_regular_file(path, error)) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes;
}

// Adds the settings to what the file already holds, so comments and keys
// the tool does not know survive.
bool WriteInto(const fs::path& path, const AppSettings& settings) {
    const auto old = ReadBytes(path);
    ProfileText profile(old ? SettingsTextToUtf8(*old) : std::string());
    WriteSettings(profile, settings);
    // In one step, flushed to the disk, keeping the file's mode and owner: a
    // failure or a power cut leaves the old settings whole.
    return WriteFileAtomically(path.string(), profile.Text()).empty();
}

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

SettingsLocation SettingsLocationFor(const fs::path& executable, std::string_view xdgConfigHome,
                                     std::string_view home) {
    SettingsLocation where;
    where.file = fs::path(executable).replace_extension(".ini");
    // A bare program name means the current folder: "" keeps paths relative.
    const fs::path folder = executable.parent_path();
    where.executableDir = folder.empty() ? std::string() : folder.string() + "/";

    // Only absolute folders count, as the XDG rules say; a relative one
    // would depend on where the tool happened to be started.
    fs::path configDir;
    if (!xdgConfigHome.empty() && fs::path(xdgConfigHome).is_absolute()) {
        configDir = xdgConfigHome;
    } else if (!home.empty() && fs::path(home).is_absolute()) {
        configDir = fs::path(home) / ".config";
    }
    if (!configDir.empty()) {
        where.userFile = configDir / "quvan-tool" / where.file.filename();
    }
    return where;
}

SettingsLocation SettingsLocationOfThisProgram() {
    std::error_code error;
    fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (error) {
        executable = fs::current_path(error) / "quvan-tool";
    }
    return SettingsLocationFor(executable, Env("XDG_CONFIG_HOME"), Env("HOME"));
}

fs::path SettingsFileToRead(const SettingsLocation& where) {
    std::error_code error;
    if (where.userFile.empty() || !fs::is_regular_file(where.userFile, error)) {
        return where.file;
    }
    if (!fs::is_regular_file(where.file, error)) {
        return where.userFile;
    }
    const auto own = fs::last_write_time(where.file, error);
    const auto user = fs::last_write_time(where.userFile, error);
    return !error && user > own ? where.userFile : where.file;
}

AppSettings LoadSettings(const SettingsLocation& where) {
    const auto bytes = ReadBytes(SettingsFileToRead(where));
    AppSettings settings = ReadSettings(ProfileText(bytes ? SettingsTextToUtf8(*bytes) : ""));
    BuildSoundPaths(settings, where.executableDir);
    return settings;
}

SaveOutcome SaveSettings(const SettingsLocation& where, const AppSettings& settings) {
    if (WriteInto(where.file, settings)) {
        return {where.file, {}};
    }
    SaveOutcome outcome{{}, "NG ... " + where.file.string()};
    if (!where.userFile.empty()) {
        std::error_code error;
        fs::create_directories(where.userFile.parent_path(), error);
        if (!error && WriteInto(where.userFile, settings)) {
            outcome.savedTo = where.userFile;
            outcome.status += " → " + where.userFile.string();
        }
    }
    return outcome;
}

} // namespace quvan::app
