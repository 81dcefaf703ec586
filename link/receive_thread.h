#pragma once
// The worker that watches the serial line. It never reads bytes itself: when
// bytes wait, or a partial line has been idle for the receive timeout, it
// calls into the user-interface thread and waits there until the call ran.

#include "platform/serial_port.h"

#include <QThread>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

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
    // Runs `call` on the user-interface thread and waits until it has run. A
    // stop request ends the wait early: the call is then dropped, so closing
    // the port never depends on how the event loops happen to be nested.
    void CallOnUiThread(std::function<void()> call);

    BoardLink& link_;
    std::shared_ptr<platform::SerialPort> port_;
    const int recvToutMs_;
    int wakeFd_ = -1;
    std::atomic<bool> stopRequested_{false};

    // One call into the user-interface thread. Shared with the queued call, so
    // it stays valid whichever side finishes first.
    struct PendingCall {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        bool abandoned = false;
        bool stop = false;
    };
    std::mutex currentMutex_;
    std::shared_ptr<PendingCall> current_;
};

} // namespace quvan::link
