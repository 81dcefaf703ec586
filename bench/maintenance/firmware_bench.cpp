// The firmware update's two speed goals:
//   1. checking a 1 MiB HEX file (read, judge every record, find the last
//      sector) well under 20 ms;
//   2. an update with a 256 KiB image through quvan-board against quvan-sim
//      at --baud 115200 takes at most 5 % longer than the HEX file's bytes
//      need on the line (10 bits a byte).
// The update is timed from the first record leaving the tool to the
// simulator holding the whole image, then checked byte for byte.
//   firmware_bench [--skip-update]

#include "maintenance/hex_file.h"
#include "tests/maintenance/hex_text.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kBaud = 115200;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

void WriteFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

void Validation(const fs::path& dir) {
    // Data bytes for a HEX text of a little over 1 MiB (45 characters carry
    // 16 bytes).
    const std::string text =
        quvan::test_support::HexText(0x08020000, quvan::test_support::FirmwareBytes(380 * 1024));
    const fs::path path = dir / "one-mib.hex";
    WriteFile(path, text);
    std::vector<double> runs;
    for (int i = 0; i < 30; ++i) {
        const auto start = Clock::now();
        const auto data = quvan::maintenance::ReadWholeFile(path.string());
        const bool ok = data && quvan::maintenance::CheckHexFile(*data).ok &&
                        quvan::maintenance::ScanLastAddress(*data).sector == 7;
        runs.push_back(Ms(Clock::now() - start));
        if (!ok) {
            std::printf("validation: the test file was refused\n");
            return;
        }
    }
    std::sort(runs.begin(), runs.end());
    std::printf("validate %.2f MiB HEX file: median %.2f ms, worst %.2f ms (goal < 20 ms)\n",
                static_cast<double>(text.size()) / (1024.0 * 1024.0), runs[runs.size() / 2],
                runs.back());
}

// A child process with its standard output (or error) on a pipe.
struct Child {
    pid_t pid = -1;
    int out = -1;
    std::string pending;

    Child(std::vector<std::string> args, bool stderrToPipe) {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], stderrToPipe ? 2 : 1);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        out = fds[0];
    }
    ~Child() {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
        if (out >= 0)
            close(out);
    }
    // The next whole line, waiting up to `ms`; false when none came.
    bool line(std::string& text, int ms) {
        const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
        while (true) {
            const std::size_t nl = pending.find('\n');
            if (nl != std::string::npos) {
                text = pending.substr(0, nl);
                pending.erase(0, nl + 1);
                return true;
            }
            const int left = static_cast<int>(Ms(deadline - Clock::now()));
            pollfd p{out, POLLIN, 0};
            if (left <= 0 || poll(&p, 1, left) <= 0)
                return false;
            char buf[4096];
            const ssize_t n = read(out, buf, sizeof buf);
            if (n <= 0)
                return false;
            pending.append(buf, static_cast<std::size_t>(n));
        }
    }
};

void Update(const fs::path& dir, const fs::path& bin) {
    const std::string image = quvan::test_support::FirmwareBytes(256 * 1024);
    const std::string text = quvan::test_support::HexText(0x08020000, image);
    const fs::path hex = dir / "256k.hex";
    const fs::path received = dir / "received.bin";
    WriteFile(hex, text);

    // The simulator runs apart from quvan-board so that it keeps taking the
    // bytes still on their way when quvan-board has written its last one.
    Child sim({(bin / "quvan-sim").string(), "--baud", std::to_string(kBaud), "--firmware-out",
               received.string()},
              false);
    std::string line;
    if (!sim.line(line, 5000) || line.rfind("PTY ", 0) != 0) {
        std::printf("update: quvan-sim did not start\n");
        return;
    }
    const std::string pty = line.substr(4);
    Child board({(bin / "quvan-board").string(), "--port", pty, "--speed", std::to_string(kBaud),
                 "--head", "none", "--dlmt", "CRLF", "firmware", "--reset-wait", "0", hex.string()},
                false);
    const auto start = Clock::now();
    Clock::time_point sending{};
    Clock::time_point toolDone{};
    while (board.line(line, 120000)) {
        if (line == "Now Downloading ...")
            sending = Clock::now();
        if (line == "Completed" || line == "Failure" || line == "Cancel")
            toolDone = Clock::now();
    }
    if (sending == Clock::time_point{} || toolDone == Clock::time_point{}) {
        std::printf("update: quvan-board did not run the update to its end\n");
        return;
    }
    // The board holds the image once it has taken the end record.
    while (!fs::exists(received) && Ms(Clock::now() - toolDone) < 60000)
        usleep(10000);
    const auto boardDone = Clock::now();
    std::ifstream in(received, std::ios::binary);
    const std::string got((std::istreambuf_iterator<char>(in)), {});

    const double lineMs = static_cast<double>(text.size()) * 10.0 * 1000.0 / kBaud;
    const double sendMs = Ms(boardDone - sending);
    std::printf("update 256 KiB image, %zu HEX bytes at %d baud:\n", text.size(), kBaud);
    std::printf("  line time of the file        %9.0f ms\n", lineMs);
    std::printf("  first record to board done   %9.0f ms   ratio %.3f (goal <= 1.05)\n", sendMs,
                sendMs / lineMs);
    std::printf("  whole update (reset, erase)  %9.0f ms   ratio %.3f\n", Ms(boardDone - start),
                Ms(boardDone - start) / lineMs);
    std::printf("  quvan-board done after       %9.0f ms of the send\n", Ms(toolDone - sending));
    std::printf("  image received %s\n",
                got == image ? "equals the file" : "DIFFERS from the file");
}

} // namespace

int main(int argc, char** argv) {
    const fs::path bin = fs::canonical("/proc/self/exe").parent_path();
    char pattern[] = "/tmp/quvan-firmware-bench-XXXXXX";
    const fs::path dir = mkdtemp(pattern);
    Validation(dir);
    if (!(argc > 1 && std::string(argv[1]) == "--skip-update"))
        Update(dir, bin);
    std::error_code ignored;
    fs::remove_all(dir, ignored);
    return 0;
}
