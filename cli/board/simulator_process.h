#pragma once
// The simulated board (quvan-sim beside this program) as a child process,
// for --simulate: started with the session's framing so the two agree,
// stopped when this program ends (or dies).

#include "link/rs232c.h"

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

namespace quvan::cli {

class SimulatorProcess {
  public:
    SimulatorProcess() = default;
    ~SimulatorProcess();
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;

    // Starts quvan-sim from `folder`; returns the pseudo-terminal's path, or
    // "" with *error set.
    std::string start(const std::filesystem::path& folder, const link::PortSettings& framing,
                      bool pro, const std::vector<std::string>& extraArguments, std::string* error);
    void stop();

  private:
    pid_t pid_ = -1;
    int stdout_ = -1;
};

// The simulator's arguments that make it frame as `framing` does.
std::vector<std::string> SimulatorFramingArguments(const link::PortSettings& framing);

} // namespace quvan::cli
