// quvan-decode as a whole process, as a script runs it: the wall time of one
// run over a 200 KB log of 200 NEC captures, start-up included, and the peak
// memory of one run over a log of 200 MB.
//
// usage: decode_process_bench [--runs N] [--big-mb N] [PATH-TO-QUVAN-DECODE]
//        decode_process_bench --write-log FILE   (the 200-capture log, e.g. for hyperfine)

#include "tests/decode/support/capture_builder.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using quvan::test::BoardLines;
using quvan::test::Concat;
using quvan::test::Jittered;
using quvan::test::NecFrame;
using quvan::test::NecRepeatCode;
using quvan::test::Repeat;

// 200 presses of different NEC buttons, each a frame and eight repeat codes as
// a remote sends them while the button is held, with its analysis line.
std::string NecLog(int captures) {
    std::string log;
    for (int i = 0; i < captures; ++i) {
        const int address = i % 256;
        const int command = (i * 7) % 256;
        const auto signal = Concat({NecFrame({address, 255 - address, command, 255 - command}),
                                    Repeat(NecRepeatCode(), 8)});
        for (const std::string& line :
             BoardLines(Jittered(signal, 3, 40, static_cast<unsigned>(i)), "38.0"))
            log += line + "\n";
    }
    return log;
}

struct Run {
    double seconds = 0;
    double cpuSeconds = 0; // user and system time of the child
    long peakKiB = 0;
    int status = -1;
};

// Runs `exe input`, its output into `output`, and waits for it.
Run RunOnce(const std::string& exe, const std::string& input, const std::string& output) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv{const_cast<char*>(exe.c_str()), const_cast<char*>(input.c_str()),
                            nullptr};
    Run run;
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, exe.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return run;
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peakKiB = usage.ru_maxrss;
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    run.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

std::size_t LinesIn(const std::string& path) {
    std::ifstream in(path);
    return static_cast<std::size_t>(
        std::count(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>(), '\n'));
}

} // namespace

int main(int argc, char** argv) {
    int runs = 200;
    long bigMiB = 200;
    std::string exe = QUVAN_DECODE_EXE;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (a == "--big-mb" && i + 1 < argc)
            bigMiB = std::max(0L, std::atol(argv[++i]));
        else if (a == "--write-log" && i + 1 < argc)
            return (std::ofstream(argv[++i], std::ios::binary) << NecLog(200)) ? 0 : 1;
        else
            exe = a;
    }

    const fs::path folder =
        fs::temp_directory_path() / ("decode-bench-" + std::to_string(getpid()));
    fs::create_directories(folder);
    const std::string small = (folder / "nec200.log").string();
    const std::string out = (folder / "out.txt").string();
    const std::string log = NecLog(200);
    std::ofstream(small, std::ios::binary) << log;

    const Run first = RunOnce(exe, small, out);
    if (first.status != 0 || LinesIn(out) != 200) {
        std::fprintf(stderr, "%s failed on %s (status %d, %zu lines)\n", exe.c_str(), small.c_str(),
                     first.status, LinesIn(out));
        fs::remove_all(folder);
        return 1;
    }
    std::vector<double> times;
    std::vector<double> cpu;
    for (int i = 0; i < runs; ++i) {
        const Run run = RunOnce(exe, small, out);
        times.push_back(run.seconds * 1000);
        cpu.push_back(run.cpuSeconds * 1000);
    }
    std::sort(times.begin(), times.end());
    std::sort(cpu.begin(), cpu.end());
    const double mean = std::accumulate(times.begin(), times.end(), 0.0) / times.size();
    std::printf("quvan-decode, 200 NEC captures (%zu bytes), %d runs as a process:\n", log.size(),
                runs);
    std::printf("  wall time per run: min %.2f ms, median %.2f ms, mean %.2f ms, max %.2f ms\n",
                times.front(), times[times.size() / 2], mean, times.back());
    // On a busy machine the wall time is mostly waiting for a processor; the
    // processor time of the child does not depend on the load.
    std::printf("  processor time per run: min %.2f ms, median %.2f ms\n", cpu.front(),
                cpu[cpu.size() / 2]);
    std::printf("  peak memory of one run: %ld KiB\n", first.peakKiB);

    if (bigMiB > 0) {
        const std::string big = (folder / "big.log").string();
        {
            std::ofstream file(big, std::ios::binary);
            const std::size_t target = static_cast<std::size_t>(bigMiB) * 1024 * 1024;
            for (std::size_t written = 0; written < target; written += log.size())
                file << log;
        }
        const Run run = RunOnce(exe, big, out);
        std::printf("quvan-decode, a %ld MiB log (%zu bytes), one run:\n", bigMiB,
                    static_cast<std::size_t>(fs::file_size(big)));
        std::printf("  status %d, %zu lines out, %.2f s, peak memory %ld KiB\n", run.status,
                    LinesIn(out), run.seconds, run.peakKiB);
    }
    fs::remove_all(folder);
    return 0;
}
