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
class LineAssembler;

// What the two threads share, and why each hand-off is safe:
// - The thread object is deleted on the user-interface thread once its body
//   has ended (deleteLater), possibly before calls it queued there have run.
//   So nothing queued captures the thread object: only the link, which owns
//   the thread, joins it before it goes, and is the context of every queued
//   call (a call whose context is gone is dropped by Qt).
// - A call into the user-interface thread runs at most once and never after
//   a stop was requested: its state moves Queued -> Running -> Finished, or
//   Queued -> Abandoned when requestStop() (on the user-interface thread)
//   finds it not yet started; the state changes under the call's lock and
//   Abandoned is final. A call already Running when the stop comes finishes
//   on its own, touching nothing but the link and the shared state; the
//   worker no longer waits for it.
// - The length of the partial line is read through the thread's own
//   reference to the assembler of its port (an atomic counter), never
//   through the link's pointer, which the user-interface thread replaces
//   when the port is reopened.
// - The port record's flags are atomics.
class TRcvThread final : public QThread {
    Q_OBJECT
  public:
    TRcvThread(BoardLink& link, std::shared_ptr<platform::SerialPort> port,
               std::shared_ptr<const LineAssembler> assembler, int recvToutMs);
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
    const std::shared_ptr<const LineAssembler> assembler_;
    const int recvToutMs_;
    int wakeFd_ = -1;
    std::atomic<bool> stopRequested_{false}; // set under currentMutex_

    // One call into the user-interface thread. Shared with the queued call, so
    // it stays valid whichever side finishes first.
    struct PendingCall {
        enum class State { Queued, Running, Finished, Abandoned };
        std::mutex mutex;
        std::condition_variable done;
        State state = State::Queued;
        bool stop = false; // a stop was requested: the worker waits no longer
    };
    std::mutex currentMutex_;
    std::shared_ptr<PendingCall> current_;
};

} // namespace quvan::link
