#pragma once
// The worker that watches the serial line. It never reads bytes itself: when
// bytes wait, or a partial line has been idle for the receive timeout, it
// calls into the user-interface thread and waits there until the call ran.

#include "platform/serial_port.h"

#include <QThread>
#include <atomic>
#include <memory>

namespace quvan::link {

class BoardLink;

class TRcvThread final : public QThread {
    Q_OBJECT
public:
    TRcvThread(BoardLink& link, std::shared_ptr<platform::SerialPort> port, int recvToutMs);
    ~TRcvThread() override;

    // Asks the thread to end; it does so at its next pass.
    void requestStop();
    // Wakes the thread from its wait, e.g. after CommError was set elsewhere.
    void wake();

protected:
    void run() override;

private:
    // Blocks until the line has bytes, the wake pipe fires or timeoutMs passes.
    void waitForLine(int timeoutMs, bool watchPort);

    BoardLink& link_;
    std::shared_ptr<platform::SerialPort> port_;
    const int recvToutMs_;
    int wakeFd_ = -1;
    std::atomic<bool> stopRequested_{false};
};

}  // namespace quvan::link
