#include "cli/board/simulator_process.h"

#include "link/framing.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quvan::cli {

std::vector<std::string> SimulatorFramingArguments(const link::PortSettings& framing) {
    static constexpr const char* kNames[] = {"none", "ETX", "CR", "LF", "CRLF"};
    return {"--head",     link::HeadIndex(framing.SendHead) == 1 ? "STX" : "none",
            "--dlmt",     kNames[link::DlmtIndex(framing.SendDlmt)],
            "--line-end", kNames[link::DlmtIndex(framing.RecvDlmt)]};
}

SimulatorProcess::~SimulatorProcess() {
    stop();
}

void SimulatorProcess::stop() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    if (stdout_ >= 0) {
        ::close(stdout_);
        stdout_ = -1;
    }
}

std::string SimulatorProcess::start(const std::filesystem::path& folder,
                                    const link::PortSettings& framing, bool pro,
                                    const std::vector<std::string>& extraArguments,
                                    std::string* error) {
    stop();
    const std::string program = (folder / "quvan-sim").string();
    if (::access(program.c_str(), X_OK) != 0) {
        *error = "the board simulator was not found: " + program;
        return {};
    }
    std::vector<std::string> args{program};
    if (pro)
        args.push_back("--pro");
    for (const std::string& a : SimulatorFramingArguments(framing))
        args.push_back(a);
    args.insert(args.end(), extraArguments.begin(), extraArguments.end());
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    int out[2];
    if (::pipe(out) != 0) {
        *error = std::string("pipe: ") + std::strerror(errno);
        return {};
    }
    const pid_t parent = ::getpid();
    pid_ = ::fork();
    if (pid_ < 0) {
        *error = std::string("fork: ") + std::strerror(errno);
        ::close(out[0]);
        ::close(out[1]);
        return {};
    }
    if (pid_ == 0) {
        // Should this program die, the simulator goes with it.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::_exit(127);
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        ::close(out[1]);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    stdout_ = out[0];

    // The simulator announces its terminal as "PTY <path>" on its first line.
    std::string first;
    char c = 0;
    while (true) {
        pollfd p{stdout_, POLLIN, 0};
        if (::poll(&p, 1, 5000) <= 0 || ::read(stdout_, &c, 1) != 1 || c == '\n')
            break;
        first += c;
    }
    if (!first.starts_with("PTY ")) {
        *error = first.empty() ? "the board simulator did not announce its port"
                               : "unexpected first line from the board simulator: " + first;
        stop();
        return {};
    }
    return first.substr(4);
}

} // namespace quvan::cli
