#include "sim/pty_port.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace quvan::sim {

PtyPort::~PtyPort() {
    close();
}

std::string PtyPort::open() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0)
        return std::string("posix_openpt: ") + std::strerror(errno);
    if (grantpt(master_) != 0 || unlockpt(master_) != 0)
        return std::string("grantpt/unlockpt: ") + std::strerror(errno);
    const char* name = ptsname(master_);
    if (name == nullptr)
        return std::string("ptsname: ") + std::strerror(errno);
    slave_path_ = name;
    held_slave_ = ::open(name, O_RDWR | O_NOCTTY);
    if (held_slave_ < 0)
        return "open " + slave_path_ + ": " + std::strerror(errno);
    termios tio{};
    if (tcgetattr(held_slave_, &tio) != 0)
        return std::string("tcgetattr: ") + std::strerror(errno);
    cfmakeraw(&tio);
    cfsetispeed(&tio, B115200);
    cfsetospeed(&tio, B115200);
    if (tcsetattr(held_slave_, TCSANOW, &tio) != 0)
        return std::string("tcsetattr: ") + std::strerror(errno);
    const int flags = fcntl(master_, F_GETFL);
    if (flags < 0 || fcntl(master_, F_SETFL, flags | O_NONBLOCK) != 0)
        return std::string("fcntl: ") + std::strerror(errno);
    return {};
}

int PtyPort::unread_by_tool() const {
    int n = 0;
    if (held_slave_ < 0 || ioctl(held_slave_, FIONREAD, &n) != 0)
        return 0;
    return n;
}

void PtyPort::drain(int timeout_ms) const {
    // Bytes written to the master reach the slave's queue a moment later;
    // give them that moment before asking how many are left.
    constexpr int kSettleMs = 20;
    poll(nullptr, 0, kSettleMs);
    for (int waited = kSettleMs; waited < timeout_ms && unread_by_tool() > 0; waited += 5)
        poll(nullptr, 0, 5);
}

void PtyPort::close() {
    if (master_ >= 0)
        ::close(master_);
    if (held_slave_ >= 0)
        ::close(held_slave_);
    master_ = held_slave_ = -1;
}

} // namespace quvan::sim
