#pragma once
// Starting another program the way the desktop would, and waiting for it:
// the stand-in for the shell's "open" verb plus a wait on the process.

#include <string>

namespace quvan::platform {

struct ShellRun {
    bool started = false; // false: the file could not be started or opened at all
    int exitCode = 0;     // of the program (or of the desktop's opener)
    std::string error;    // why it did not start, for messages and notes
};

class ShellService {
  public:
    virtual ~ShellService() = default;
    // Opens `path` with `parameters`: an executable file is started directly,
    // any other file through the desktop's opener. Returns when the process
    // has ended. While it waits, the caller's windows keep painting and its
    // timers keep running, but no user input is handled (a modal wait).
    virtual ShellRun OpenAndWait(const std::string& path, const std::string& parameters) = 0;
};

// The real one, on QProcess. The opener is the desktop's "open this file"
// program (xdg-open); it counts as having failed when it exits with an error,
// as it does when no program is registered for the file.
class DesktopShell final : public ShellService {
  public:
    explicit DesktopShell(std::string opener = "xdg-open") : opener_(std::move(opener)) {}
    ShellRun OpenAndWait(const std::string& path, const std::string& parameters) override;

  private:
    std::string opener_;
};

} // namespace quvan::platform
