#include "link/receive_thread.h"

#include "link/board_link.h"
#include "link/line_assembler.h"
#include "link/posted_call_order.h"

#include <QMetaObject>
#include <chrono>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace quvan::link {
namespace {

std::uint32_t NowMs() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// How often an idle thread looks whether the device node still exists: an
// adapter can vanish without the terminal reporting a hang-up at once.
constexpr int kPresenceCheckMs = 1000;

} // namespace

TRcvThread::TRcvThread(BoardLink& link, std::shared_ptr<platform::SerialPort> port,
                       std::shared_ptr<const LineAssembler> assembler, int recvToutMs)
    : link_(link), port_(std::move(port)), assembler_(std::move(assembler)),
      recvToutMs_(recvToutMs), wakeFd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    link_.ComPort.CommError = false;
    link_.ComPort.RcvRunning = true;
}

TRcvThread::~TRcvThread() {
    if (wakeFd_ >= 0) {
        ::close(wakeFd_);
    }
}

void TRcvThread::requestStop() {
    {
        std::lock_guard lock(currentMutex_);
        stopRequested_ = true;
        if (current_) {
            {
                // A call that has not started yet never will: the stop is
                // decided here, on the window's thread, before its event
                // loop can dispatch the call.
                std::lock_guard callLock(current_->mutex);
                current_->stop = true;
                if (current_->state == PendingCall::State::Queued) {
                    current_->state = PendingCall::State::Abandoned;
                }
            }
            current_->done.notify_all();
        }
    }
    wake();
}

void TRcvThread::CallOnUiThread(std::function<void()> call) {
    using State = PendingCall::State;
    auto pending = std::make_shared<PendingCall>();
    {
        // Either the stop comes first and nothing is queued, or the call is
        // registered first and requestStop() finds it.
        std::lock_guard lock(currentMutex_);
        if (stopRequested_) {
            return;
        }
        current_ = pending;
    }
    MarkPosted(pending.get());
    // Captures only the shared state and the call, which captures the link.
    QMetaObject::invokeMethod(
        &link_,
        [pending, call = std::move(call)] {
            MarkDelivered(pending.get());
            {
                std::lock_guard lock(pending->mutex);
                if (pending->state != State::Queued) {
                    return; // abandoned: the worker has gone on without it
                }
                pending->state = State::Running;
            }
            call();
            {
                std::lock_guard lock(pending->mutex);
                pending->state = State::Finished;
            }
            pending->done.notify_all();
        },
        Qt::QueuedConnection);
    {
        // A running call is not waited for once a stop is requested: it may
        // itself be the one closing the port, in a nested event loop.
        std::unique_lock lock(pending->mutex);
        pending->done.wait(lock,
                           [&] { return pending->state == State::Finished || pending->stop; });
    }
    std::lock_guard lock(currentMutex_);
    current_.reset();
}

void TRcvThread::wake() {
    if (wakeFd_ >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] ssize_t n = ::write(wakeFd_, &one, sizeof one);
    }
}

void TRcvThread::waitForLine(int timeoutMs, bool watchPort) {
    pollfd fds[2] = {{wakeFd_, POLLIN, 0}, {watchPort ? port_->waitHandle() : -1, POLLIN, 0}};
    if (::poll(fds, 2, timeoutMs) > 0 && (fds[0].revents & POLLIN) != 0) {
        std::uint64_t count = 0;
        [[maybe_unused]] ssize_t n = ::read(wakeFd_, &count, sizeof count);
    }
}

void TRcvThread::run() {
    RS232C& com = link_.ComPort;
    std::uint32_t lastRcvTick = NowMs();
    bool removalReported = false;

    while (!stopRequested_) {
        const platform::LineStatus status = port_->status();
        if (!status.queryOk) {
            // The device has gone. Tell the window once (it probes the port and
            // closes it); then wait for the outcome without watching the line.
            if (!removalReported) {
                removalReported = true;
                // Not `this`: the thread object may be gone when this runs.
                QMetaObject::invokeMethod(
                    &link_, [&link = link_] { link.ReportDeviceRemoved(); }, Qt::QueuedConnection);
            }
            if (com.CommError) {
                break;
            }
            waitForLine(kPresenceCheckMs, false);
            continue;
        }
        if (status.lineError) {
            com.CommError = true;
        } else if (status.bytesWaiting > 0) {
            const std::uint32_t pending = status.bytesWaiting;
            CallOnUiThread([&link = link_, pending] { link.ReadPending(pending); });
            lastRcvTick = NowMs();
        }
        if (com.CommError) {
            break;
        }
        const std::uint32_t idle = NowMs() - lastRcvTick;
        if (idle > static_cast<std::uint32_t>(recvToutMs_)) {
            if (assembler_->length() > 0 && !stopRequested_) {
                CallOnUiThread([&link = link_] { link.FlushIdleLine(); });
            }
            lastRcvTick = NowMs();
        }
        if (status.bytesWaiting == 0 && !stopRequested_) {
            // Sleep until bytes arrive; with a partial line, no longer than
            // its idle flush is due.
            int timeout = kPresenceCheckMs;
            if (assembler_->length() > 0) {
                const std::uint32_t since = NowMs() - lastRcvTick;
                const int due = recvToutMs_ + 1 - static_cast<int>(since);
                timeout = due < 0 ? 0 : due;
            }
            waitForLine(timeout, true);
        }
    }
    // Let go of the device now, not when this object is eventually deleted:
    // a reopen of the same port must not find it still held.
    port_.reset();
    com.RcvRunning = false;
}

} // namespace quvan::link
