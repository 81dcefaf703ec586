#include "link/board_link.h"

#include "link/framing.h"
#include "link/receive_thread.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>

namespace quvan::link {

BoardLink::BoardLink(platform::SerialPortOpener& opener, QObject* parent)
    : QObject(parent), opener_(opener) {}

BoardLink::~BoardLink() {
    ClosePort();
}

void BoardLink::setHandlers(LineHandlers* handlers) {
    handlers_ = handlers;
    dispatcher_.reset();
    if (handlers_ != nullptr) {
        dispatcher_ = std::make_unique<LineDispatcher>(*handlers_, [this] { SetResponseFlag(); });
    }
}

bool BoardLink::OpenPort(bool startReceiver) {
    ClosePort();
    platform::OpenError error;
    std::unique_ptr<platform::SerialPort> port = opener_.open(ComPort.PortName, &error);
    if (!port) {
        if (error.kind == platform::OpenFailure::PermissionDenied && !permissionRefusal_) {
            permissionRefusal_ = error;
        }
        lastOpenFailure_ = std::move(error);
        ComPort.CommError = true;
        ComPort.PortOpen = false;
        ComPort.RcvRunning = false;
        if (!portSearchActive_) {
            ShowPortStatus();
        }
        return false;
    }
    lastOpenFailure_ = {};
    if (!portSearchActive_) {
        permissionRefusal_.reset(); // a port of the user's choice is open
    }
    port->configure(LineSettingsOf(ComPort));
    // The board is wired without handshake: keep DTR and RTS low.
    port->clearModemLines();
    port_ = std::move(port);
    ComPort.PortOpen = true;

    if (startReceiver) {
        ComPort.CommError = false;
        ComPort.RcvRunning = true;
        assembler_ = std::make_shared<LineAssembler>(DlmtIndex(ComPort.RecvDlmt));
        auto* thread = new TRcvThread(*this, port_, assembler_, ComPort.RecvTout);
        connect(thread, &QThread::finished, thread, &QObject::deleteLater);
        thread_ = thread;
        // Normal priority: the thread sleeps in poll() and costs nothing while
        // idle, and at idle priority any busy program on the machine would
        // starve the reception of board lines.
        thread->start();
    }
    if (!portSearchActive_) {
        ShowPortStatus();
    }
    return true;
}

void BoardLink::ClosePort() {
    if (!ComPort.PortOpen) {
        return;
    }
    if (ComPort.RcvRunning && thread_) {
        // The thread may be waiting in a call into this thread; keep handling
        // events until it has seen the request and ended.
        QEventLoop loop;
        connect(thread_.data(), &QThread::finished, &loop, &QEventLoop::quit);
        thread_->requestStop();
        if (thread_->isRunning() && ComPort.RcvRunning) {
            loop.exec();
        }
    }
    if (thread_) {
        thread_->wait(); // it has left its loop; this only joins it
    }
    // The worker's last write is RcvRunning = false. Reading it orders all
    // the worker did before everything that follows here (the port and,
    // later, the link itself going away) in terms the thread sanitizer can
    // follow: QThread::wait() synchronises through futexes it cannot see.
    [[maybe_unused]] const bool stillRunning = ComPort.RcvRunning.load(std::memory_order_acquire);
    if (port_) {
        port_->clearModemLines();
        port_.reset();
    }
    ComPort.CommError = false;
    ComPort.PortOpen = false;
    ComPort.RcvRunning = false;
    if (!portSearchActive_) {
        ShowPortStatus();
    }
}

bool BoardLink::SendCommand(std::string_view text) {
    if (!ComPort.PortOpen) {
        return false;
    }
    responseFlag_ = false;
    if (!port_) {
        return false; // the device vanished and was let go; the port is open but deaf
    }
    const std::string frame = FrameCommand(text, ComPort.SendHead, ComPort.SendDlmt);
    const platform::LineStatus status = port_->status();
    if (!status.queryOk || status.lineError) {
        markCommError();
        return false;
    }
    return port_->write(frame);
}

bool BoardLink::WaitResponse(std::uint32_t timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    // Wait inside an event loop: received lines are handled while we wait, and
    // the loop sleeps until a line, a user event or the time limit comes.
    while (true) {
        if (responseFlag_) {
            return true;
        }
        const qint64 elapsed = clock.elapsed();
        if (elapsed > static_cast<qint64>(timeoutMs)) {
            return false;
        }
        QEventLoop loop;
        QTimer limit;
        limit.setSingleShot(true);
        connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
        limit.start(static_cast<int>(std::min<qint64>(timeoutMs - elapsed + 1, 1 << 30)));
        waits_.push_back(&loop);
        loop.exec();
        waits_.erase(std::find(waits_.begin(), waits_.end(), &loop));
    }
}

void BoardLink::SetResponseFlag() {
    responseFlag_ = true;
    for (QEventLoop* loop : waits_) {
        loop->quit();
    }
    emit responseFlagSet();
}

void BoardLink::ShowPortStatus() {
    emit portStatusChanged(ComPort.PortOpen ? QString::fromStdString(ComPort.PortName)
                                            : tr("COM:OFF"));
}

int BoardLink::OutputPending() const {
    return ComPort.PortOpen && port_ ? port_->outputPending() : -1;
}

void BoardLink::markCommError() {
    ComPort.CommError = true;
    if (thread_) {
        thread_->wake();
    }
}

void BoardLink::ReadPending(std::uint32_t pendingBytes) {
    if (!port_ || !assembler_) {
        return;
    }
    // Keep the objects alive even if a handler closes the port meanwhile.
    std::shared_ptr<platform::SerialPort> port = port_;
    const bool noDelimiter = assembler_->mode() == DlmtNone;
    while (pendingBytes > 0) {
        std::uint8_t byte = 0;
        if (!port->readByte(byte)) {
            markCommError();
            return;
        }
        const bool sending =
            noDelimiter && handlers_ != nullptr && handlers_->dispatchState().firmwareSending;
        const LineAssembler::Step step = assembler_->push(byte, sending);
        if (step.dotResponse) {
            SetResponseFlag();
        }
        if (step.lineReady) {
            DispatchLine();
            if (!assembler_ || port_ != port) {
                return; // the port was closed or reopened by a handler
            }
        }
        --pendingBytes;
    }
}

void BoardLink::FlushIdleLine() {
    if (assembler_ && assembler_->length() > 0) {
        DispatchLine();
    }
}

void BoardLink::DispatchLine() {
    const std::string text = assembler_->takeDisplayText();
    if (dispatcher_) {
        dispatcher_->dispatch(text);
    }
    QCoreApplication::processEvents();
}

void BoardLink::ReportDeviceRemoved() {
    if (!ComPort.PortOpen) {
        return;
    }
    emit deviceRemoved();
    // Whoever handled the removal has probed or closed the port by now. If it
    // did neither (a message box was showing) and the line is dead, record
    // the error so the receive thread ends instead of watching a gone device,
    // and let go of the device: held, it keeps its name taken, and the
    // adapter plugged in again would come back under another one.
    if (ComPort.PortOpen && port_ && !port_->status().queryOk) {
        markCommError();
        port_.reset();
    }
}

} // namespace quvan::link
