// Launch time of the tool: from starting the process to the main window
// shown and its start sequence done (no board, no port to search), measured
// from outside over whole runs of the real program, so it is an upper bound.
//   startup_bench [runs]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

double RunOnce(const std::string& tool) {
    std::vector<std::string> args{
        tool, "--port", "/dev/quvan-none", "--search-ports", "", "--quit-after-start"};
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, tool.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
        return -1;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return -1;
    }
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 15;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    bool ok = true;
    for (const char* name : {"quvan-tool", "quvan-tool-pro"}) {
        const std::string tool = std::string(QUVAN_BIN_DIR) + "/" + name;
        RunOnce(tool); // warm the file cache
        std::vector<double> times;
        for (int i = 0; i < runs; ++i) {
            const double ms = RunOnce(tool);
            if (ms < 0) {
                std::fprintf(stderr, "%s failed to start\n", tool.c_str());
                return 1;
            }
            times.push_back(ms);
        }
        std::sort(times.begin(), times.end());
        const double median = times[times.size() / 2];
        std::printf("startup %-15s median %.1f ms, min %.1f ms, max %.1f ms over %d runs  (goal < "
                    "300 ms)\n",
                    name, median, times.front(), times.back(), runs);
        ok = ok && median < 300;
    }
    return ok ? 0 : 2;
}
