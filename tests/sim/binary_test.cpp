// The real quvan-sim binary on a pseudo-terminal, as the tool sees it.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

using namespace std::string_literals;

namespace {

class SimProcess {
  public:
    explicit SimProcess(std::vector<std::string> args) {
        int out[2];
        if (pipe(out) != 0)
            return;
        args.insert(args.begin(), QUVAN_SIM_PATH);
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        pid_ = fork();
        if (pid_ == 0) {
            // A test that dies must not leave a simulator behind.
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            dup2(out[1], 1);
            close(out[0]);
            close(out[1]);
            execv(QUVAN_SIM_PATH, argv.data());
            _exit(127);
        }
        close(out[1]);
        stdout_ = out[0];
        // The first line is "PTY <path>".
        std::string first;
        char c;
        while (wait_readable(stdout_, 10000) && read(stdout_, &c, 1) == 1 && c != '\n')
            first += c;
        if (first.starts_with("PTY "))
            pty_path_ = first.substr(4);
    }
    ~SimProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
        if (stdout_ >= 0)
            close(stdout_);
    }
    const std::string& pty_path() const { return pty_path_; }
    // Waits for the process to end by itself; returns its exit status or -1.
    int wait_exit(int timeout_ms) {
        for (int waited = 0; waited < timeout_ms; waited += 10) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            usleep(10000);
        }
        return -1;
    }
    static bool wait_readable(int fd, int timeout_ms) {
        pollfd p{fd, POLLIN, 0};
        return poll(&p, 1, timeout_ms) > 0;
    }

  private:
    pid_t pid_ = -1;
    int stdout_ = -1;
    std::string pty_path_;
};

int open_port(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd < 0)
        return fd;
    termios tio{};
    tcgetattr(fd, &tio);
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);
    return fd;
}

// Reads until the text ends with `until` or nothing more comes for timeout_ms.
std::string read_until(int fd, const std::string& until, int timeout_ms = 5000) {
    std::string got;
    char buf[256];
    while (!got.ends_with(until) && SimProcess::wait_readable(fd, timeout_ms)) {
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n <= 0)
            break;
        got.append(buf, static_cast<std::size_t>(n));
    }
    return got;
}

void write_all(int fd, const std::string& s) {
    ASSERT_EQ(write(fd, s.data(), s.size()), static_cast<ssize_t>(s.size()));
}

std::string temp_path(const char* name) {
    return testing::TempDir() + "quvan_sim_" + std::to_string(getpid()) + "_" + name;
}

} // namespace

TEST(SimBinary, AnswersVersionAndSurvivesTheToolReopeningThePort) {
    SimProcess sim({});
    ASSERT_TRUE(sim.pty_path().starts_with("/dev/")) << sim.pty_path();
    int fd = open_port(sim.pty_path());
    ASSERT_GE(fd, 0);
    write_all(fd, "Ver\r\n");
    EXPECT_EQ(read_until(fd, "\r\n"), "QUVAN-ARM Ver.20251223\r\n");
    close(fd);

    fd = open_port(sim.pty_path());
    ASSERT_GE(fd, 0);
    write_all(fd, "T\r\n");
    EXPECT_EQ(read_until(fd, "\r\n"), "Trans Mode\r\n");
    close(fd);
}

TEST(SimBinary, HangsUpAfterTheGivenNumberOfLines) {
    SimProcess sim({"--hangup-after", "2", "--pro"});
    const int fd = open_port(sim.pty_path());
    ASSERT_GE(fd, 0);
    write_all(fd, "Ver\r\nT\r\nV\r\n");
    EXPECT_EQ(read_until(fd, "Trans Mode\r\n"), "QUVAN-Pro Ver.20251223\r\nTrans Mode\r\n");
    // After the second line the line goes dead: POLLHUP, or a read of 0/EIO.
    pollfd p{fd, POLLIN, 0};
    ASSERT_GT(poll(&p, 1, 3000), 0);
    char c;
    const bool hung_up = (p.revents & POLLHUP) || read(fd, &c, 1) <= 0;
    EXPECT_TRUE(hung_up);
    EXPECT_EQ(sim.wait_exit(3000), 0);
    close(fd);
}

TEST(SimBinary, IgnoredCommandsTakeEffectWithoutAnAnswer) {
    SimProcess sim({"--ignore", "ZEM:", "--ignore", "Tws:"});
    const int fd = open_port(sim.pty_path());
    ASSERT_GE(fd, 0);
    // ZEM:on and the store get no answer, but the entry is stored: the read
    // that follows finds it.
    write_all(fd, "ZEM:on\r\nTwf:000\r\nTwc:380\r\nTwb:000\r\nTws:004\r\nTwl:004\r\nT\r\n");
    const std::string got = read_until(fd, "Trans Mode\r\n");
    EXPECT_TRUE(got.starts_with("Twl:004\r\nTwc:380\r\n")) << got;
    EXPECT_EQ(got.find("ZEM"), std::string::npos);
    EXPECT_EQ(got.find("ACK"), std::string::npos);
    close(fd);
}

TEST(SimBinary, WireLogRecordsExactBytesAndFramingOptionsApply) {
    const std::string log = temp_path("wire.bin");
    std::remove(log.c_str());
    {
        SimProcess sim({"--wire-log", log, "--head", "STX", "--dlmt", "ETX", "--line-end", "CR"});
        const int fd = open_port(sim.pty_path());
        ASSERT_GE(fd, 0);
        write_all(fd, "\x02Ver\x03\x02T\x03"s);
        EXPECT_EQ(read_until(fd, "Trans Mode\r"), "QUVAN-ARM Ver.20251223\rTrans Mode\r");
        close(fd);
    }
    std::ifstream in(log, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    EXPECT_EQ(bytes.str(), "\x02Ver\x03\x02T\x03"s);
    std::remove(log.c_str());
}

TEST(SimBinary, ScriptedPressReachesTheToolWhileLearning) {
    const std::string fifo = temp_path("control");
    std::remove(fifo.c_str());
    SimProcess sim({"--control", fifo});
    const int fd = open_port(sim.pty_path());
    ASSERT_GE(fd, 0);
    write_all(fd, "A\r\n");
    EXPECT_EQ(read_until(fd, "\r\n"), "Analyze Mode\r\n");
    const int control = open(fifo.c_str(), O_WRONLY);
    ASSERT_GE(control, 0);
    write_all(control, "press sony12 1501 hold=1\n");
    const std::string capture = read_until(fd, "kHz\r\n");
    EXPECT_TRUE(capture.starts_with("[000]:02400 003000\r\n")) << capture;
    EXPECT_TRUE(capture.ends_with("[012]:00600 500600\r\nAve.Freq = 40.0kHz\r\n")) << capture;
    close(control);
    close(fd);
    std::remove(fifo.c_str());
}

TEST(SimBinary, FlashFileKeepsEntriesAcrossRunsAndFiresAreLogged) {
    const std::string flash = temp_path("flash.txt");
    const std::string fires = temp_path("fires.txt");
    std::remove(flash.c_str());
    std::remove(fires.c_str());
    std::string block = "Twf:000\r\nTwc:380\r\nTwb:002\r\nTwr:000\r\nTwp:0:09000,013500\r\n";
    for (int i = 1; i < 16; ++i)
        block += "Twp:" + std::string(1, "0123456789ABCDEF"[i]) + ":00000,000000\r\n";
    block += "Twd:00\r\n";
    {
        SimProcess sim({"--flash", flash, "--fire-log", fires});
        const int fd = open_port(sim.pty_path());
        ASSERT_GE(fd, 0);
        write_all(fd, block + "Tws:042\r\n");
        EXPECT_EQ(read_until(fd, "\r\n"), "ACK\r\n");
        write_all(fd, "Tws:FlashWrite\r\nTp:0100\r\nTf:2\r\n");
        EXPECT_EQ(read_until(fd, "\x06"), "\x06"); // ACK mode by default
        close(fd);
    }
    {
        SimProcess sim({"--flash", flash});
        const int fd = open_port(sim.pty_path());
        ASSERT_GE(fd, 0);
        write_all(fd, "Twl:042\r\n");
        const std::string read = read_until(fd, "Twd:00\r\n");
        EXPECT_TRUE(read.starts_with("Twl:042\r\nTwc:380\r\nTwb:002\r\nTwr:000\r\n")) << read;
        EXPECT_TRUE(read.ends_with("Twp:F:00000,000000\r\nTwd:00\r\n")) << read;
        close(fd);
    }
    std::ifstream in(fires);
    std::string line;
    ASSERT_TRUE(std::getline(in, line));
    EXPECT_NE(line.find("outputs=0100 frames=2"), std::string::npos) << line;
    EXPECT_FALSE(std::getline(in, line));
    std::remove(flash.c_str());
    std::remove(fires.c_str());
}

TEST(SimBinary, BaudPacesRepliesAndCommandsLikeTheLine) {
    // At 9600 baud a byte takes 1.04 ms. A 203-byte block of commands the
    // board does not answer needs 211 ms to arrive and the 24-byte version
    // reply 25 ms to leave, so the reply to "Ver" sent after the block cannot
    // come before about 236 ms (less the 1 ms the pacing may hand bytes early).
    SimProcess sim({"--baud", "9600"});
    const int fd = open_port(sim.pty_path());
    ASSERT_GE(fd, 0);
    std::string block;
    while (block.size() < 198)
        block += "Twc:380\r\n"; // fills the staging entry; no reply
    block += "Ver\r\n";
    const auto start = std::chrono::steady_clock::now();
    write_all(fd, block);
    const std::string got = read_until(fd, "Ver.20251223\r\n");
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::steady_clock::now() - start)
                             .count();
    EXPECT_EQ(got, "QUVAN-ARM Ver.20251223\r\n");
    const double line_ms = (block.size() + got.size()) * 10 * 1000.0 / 9600;
    EXPECT_GE(elapsed, line_ms - 2) << "bytes crossed the paced line too fast";
    EXPECT_LT(elapsed, line_ms + 150) << "the pacing is far slower than the line";
    close(fd);
}
