#pragma once
// A pseudo-terminal whose master side plays the board in tests.

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace quvan::test_support {

class PtyPair {
  public:
    PtyPair() {
        int slave = -1;
        char name[256] = {};
        if (::openpty(&master_, &slave, name, nullptr, nullptr) == 0) {
            termios tio{};
            ::tcgetattr(slave, &tio);
            ::cfmakeraw(&tio);
            ::tcsetattr(slave, TCSANOW, &tio);
            // Keep one slave descriptor of our own so closing the tool's side
            // does not hang up the master, as a real device would not.
            slaveKeeper_ = slave;
            path_ = name;
            // A child process (the simulator) must not inherit our ends, or
            // closing them would not hang the line up.
            ::fcntl(master_, F_SETFD, FD_CLOEXEC);
            ::fcntl(slaveKeeper_, F_SETFD, FD_CLOEXEC);
            ::fcntl(master_, F_SETFL, O_NONBLOCK);
        }
    }
    ~PtyPair() {
        closeMaster();
        if (slaveKeeper_ >= 0)
            ::close(slaveKeeper_);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return master_ >= 0; }
    const std::string& slavePath() const { return path_; }

    void write(const std::string& bytes) {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
            if (n > 0) {
                done += static_cast<std::size_t>(n);
            } else {
                pollfd pfd{master_, POLLOUT, 0};
                ::poll(&pfd, 1, 100);
            }
        }
    }

    // Reads what the tool sent until `count` bytes came or the time is up.
    std::string read(std::size_t count, int timeoutMs = 1000) {
        std::string got;
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (got.size() < count && std::chrono::steady_clock::now() < deadline) {
            pollfd pfd{master_, POLLIN, 0};
            if (::poll(&pfd, 1, 20) > 0) {
                char buffer[512];
                const ssize_t n = ::read(master_, buffer, sizeof buffer);
                if (n > 0)
                    got.append(buffer, static_cast<std::size_t>(n));
            }
        }
        return got;
    }

    // Hangs up: the tool's side sees the line go, as with an unplugged adapter.
    void hangUp() {
        if (slaveKeeper_ >= 0) {
            ::close(slaveKeeper_);
            slaveKeeper_ = -1;
        }
        closeMaster();
    }

  private:
    void closeMaster() {
        if (master_ >= 0) {
            ::close(master_);
            master_ = -1;
        }
    }
    int master_ = -1;
    int slaveKeeper_ = -1;
    std::string path_;
};

} // namespace quvan::test_support
