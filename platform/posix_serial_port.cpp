// Serial ports on POSIX terminals (real UARTs, USB adapters, pseudo-terminals).

#include "platform/posix_serial_rate.h"
#include "platform/serial_port.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/serial.h>
#include <mutex>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quvan::platform {
namespace {

// Bytes are handed to the framer one at a time, but fetched from the driver
// in blocks: one system call per byte would cap the line far below what a
// flood of wave lines needs.
constexpr std::size_t kReadBlock = 4096;

class PosixSerialPort final : public SerialPort {
  public:
    PosixSerialPort(int fd, std::string path) : fd_(fd), path_(std::move(path)) {
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
        return ::stat(path_.c_str(), &info) != 0 && errno == ENOENT;
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
};

} // namespace

std::unique_ptr<SerialPort> PosixSerialPortOpener::open(const std::string& name,
                                                        std::string* error) {
    auto fail = [error](std::string why) -> std::unique_ptr<SerialPort> {
        if (error != nullptr) {
            *error = std::move(why);
        }
        return nullptr;
    };
    const std::string path = ResolvePortPath(name);
    if (path.empty()) {
        return fail("no port name");
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return fail(path + ": " + std::strerror(errno));
    }
    if (!::isatty(fd)) {
        ::close(fd);
        return fail(path + ": not a serial device");
    }
    // Not shared: a second program (or a second instance of this one) must not
    // talk to the board at the same time.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return fail(path + ": in use by another program");
    }
    ioctl(fd, TIOCEXCL);
    return std::make_unique<PosixSerialPort>(fd, path);
}

} // namespace quvan::platform
