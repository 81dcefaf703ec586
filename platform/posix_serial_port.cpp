// Serial ports on POSIX terminals (real UARTs, USB adapters, pseudo-terminals).

#include "platform/posix_serial_rate.h"
#include "platform/serial_port.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <linux/serial.h>
#include <mutex>
#include <poll.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quvan::platform {
namespace {

// Bytes are handed to the framer one at a time, but fetched from the driver
// in blocks: one system call per byte would cap the line far below what a
// flood of wave lines needs.
constexpr std::size_t kReadBlock = 4096;

class PosixSerialPort final : public SerialPort {
  public:
    PosixSerialPort(int fd, std::string path) : fd_(fd), path_(std::move(path)) {
        struct stat opened {};
        if (::fstat(fd_, &opened) == 0) {
            device_ = opened.st_rdev;
        }
        serial_icounter_struct counts{};
        haveCounters_ = ioctl(fd_, TIOCGICOUNT, &counts) == 0;
        lastErrorCount_ = ErrorCount(counts);
    }
    ~PosixSerialPort() override {
        // Exclusive mode sticks to the terminal, not to this descriptor: lift
        // it, or the next open of a still-held terminal fails.
        ioctl(fd_, TIOCNXCL);
        ::close(fd_);
    }

    void configure(const LineSettings& settings) override { ApplyLineSettings(fd_, settings); }

    LineStatus status() override {
        std::lock_guard lock(statusMutex_);
        LineStatus result;
        if (hungUp_.load() || deviceGone()) {
            result.queryOk = false;
            return result;
        }
        int queued = 0;
        if (ioctl(fd_, FIONREAD, &queued) != 0 || queued < 0) {
            queued = 0;
        }
        result.bytesWaiting = static_cast<std::uint32_t>(queued) + bufferedCount();
        if (result.bytesWaiting == 0) {
            // A terminal whose other end went away (unplugged adapter, closed
            // pseudo-terminal master) reports a hang-up; bytes that arrived
            // before it are still handed out first.
            pollfd pfd{fd_, POLLIN, 0};
            if (::poll(&pfd, 1, 0) < 0 || (pfd.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
                hungUp_ = true;
                result.queryOk = false;
                return result;
            }
        }
        if (haveCounters_) {
            serial_icounter_struct counts{};
            if (ioctl(fd_, TIOCGICOUNT, &counts) == 0) {
                const long errors = ErrorCount(counts);
                result.lineError = errors != lastErrorCount_;
                lastErrorCount_ = errors;
            }
        }
        return result;
    }

    bool readByte(std::uint8_t& byte) override {
        if (head_ == tail_) {
            const ssize_t got = ::read(fd_, buffer_.data(), buffer_.size());
            if (got <= 0) {
                if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
                    hungUp_ = true; // end of file on a terminal: the line has gone
                }
                return false;
            }
            head_ = 0;
            tail_ = static_cast<std::size_t>(got);
        }
        byte = buffer_[head_];
        head_ = head_ + 1;
        return true;
    }

    bool write(std::string_view frame) override {
        std::size_t done = 0;
        while (done < frame.size()) {
            const ssize_t put = ::write(fd_, frame.data() + done, frame.size() - done);
            if (put < 0) {
                if (errno == EINTR) {
                    continue;
                }
                if (errno == EAGAIN) {
                    // The driver's queue is full: wait until it drains, as a
                    // synchronous write would.
                    pollfd pfd{fd_, POLLOUT, 0};
                    if (::poll(&pfd, 1, 1000) <= 0) {
                        return false;
                    }
                    continue;
                }
                return false;
            }
            done += static_cast<std::size_t>(put);
        }
        return true;
    }

    void clearModemLines() override {
        int dtr = TIOCM_DTR;
        ioctl(fd_, TIOCMBIC, &dtr);
        int rts = TIOCM_RTS;
        ioctl(fd_, TIOCMBIC, &rts);
    }

    int waitHandle() const override { return fd_; }

    int outputPending() override {
        int queued = 0;
        return ioctl(fd_, TIOCOUTQ, &queued) == 0 ? queued : -1;
    }

    bool deviceGone() const override {
        struct stat info {};
        if (::stat(path_.c_str(), &info) != 0) {
            return errno == ENOENT;
        }
        // The name now leads to another device: the adapter was unplugged and
        // one plugged in again under the same name (a by-id link, a link the
        // user made) before this one was seen to go.
        return device_ != 0 && S_ISCHR(info.st_mode) && info.st_rdev != device_;
    }

    const std::string& devicePath() const override { return path_; }

  private:
    static long ErrorCount(const serial_icounter_struct& c) {
        return static_cast<long>(c.frame) + c.overrun + c.parity + c.buf_overrun;
    }
    std::uint32_t bufferedCount() const { return static_cast<std::uint32_t>(tail_ - head_); }

    int fd_;
    std::string path_;
    std::array<std::uint8_t, kReadBlock> buffer_{};
    // Written only on the reading side; read by status() from the receive thread.
    std::atomic<std::size_t> head_{0};
    std::atomic<std::size_t> tail_{0};
    std::atomic<bool> hungUp_{false};
    std::mutex statusMutex_;
    bool haveCounters_ = false;
    long lastErrorCount_ = 0;
    dev_t device_ = 0; // the device the descriptor was opened on
};

OpenFailure FailureOfErrno(int error) {
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
        return OpenFailure::Missing;
    case EACCES:
    case EPERM:
        return OpenFailure::PermissionDenied;
    case EBUSY:
        return OpenFailure::InUse; // held exclusively by another program
    default:
        return OpenFailure::Other;
    }
}

bool ProcessHoldsGroup(gid_t group) {
    if (::getegid() == group) {
        return true;
    }
    const int count = ::getgroups(0, nullptr);
    if (count <= 0) {
        return false;
    }
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    const int got = ::getgroups(count, groups.data());
    return got > 0 && std::find(groups.begin(), groups.begin() + got, group) != groups.end();
}

// The user's name and primary group, from the user database.
bool CurrentUser(std::string& name, gid_t& primary) {
    std::vector<char> buffer(4096);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr) {
        return false;
    }
    name = entry.pw_name;
    primary = entry.pw_gid;
    return true;
}

// Terminal devices are usually opened through their group (dialout on
// Debian, uucp elsewhere): name that group when it may read and write the
// node, and whether the user already belongs to it without this program
// having been started in a session that knows it.
void DescribeGroupAccess(const std::string& path, OpenError& error) {
    struct stat node {};
    if (::stat(path.c_str(), &node) != 0) {
        return;
    }
    const bool groupMayUse = (node.st_mode & S_IRGRP) != 0 && (node.st_mode & S_IWGRP) != 0;
    if (!groupMayUse || node.st_gid == 0) {
        return;
    }
    std::vector<char> buffer(16384);
    group entry{};
    group* found = nullptr;
    if (::getgrgid_r(node.st_gid, &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr) {
        return;
    }
    error.deviceGroup = entry.gr_name;
    std::string user;
    gid_t primary = 0;
    if (!CurrentUser(user, primary) || ProcessHoldsGroup(node.st_gid)) {
        return;
    }
    bool listed = primary == node.st_gid;
    for (char** member = entry.gr_mem; member != nullptr && *member != nullptr; ++member) {
        listed = listed || user == *member;
    }
    error.groupJoinPending = listed;
}

} // namespace

std::unique_ptr<SerialPort> PosixSerialPortOpener::open(const std::string& name, OpenError* error) {
    const std::string path = ResolvePortPath(name);
    auto fail = [&](OpenFailure kind, const std::string& why) -> std::unique_ptr<SerialPort> {
        if (error != nullptr) {
            *error = OpenError{};
            error->kind = kind;
            error->path = path;
            error->message = path.empty() ? why : path + ": " + why;
            if (kind == OpenFailure::PermissionDenied) {
                DescribeGroupAccess(path, *error);
            }
        }
        return nullptr;
    };
    if (path.empty()) {
        return fail(OpenFailure::NoName, "no port name");
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int why = errno;
        const OpenFailure kind = FailureOfErrno(why);
        return fail(kind,
                    kind == OpenFailure::InUse ? "in use by another program" : std::strerror(why));
    }
    if (!::isatty(fd)) {
        ::close(fd);
        return fail(OpenFailure::NotSerial, "not a serial device");
    }
    // Not shared: a second program (or a second instance of this one) must not
    // talk to the board at the same time.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return fail(OpenFailure::InUse, "in use by another program");
    }
    ioctl(fd, TIOCEXCL);
    return std::make_unique<PosixSerialPort>(fd, path);
}

} // namespace quvan::platform
