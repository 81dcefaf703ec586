#pragma once
// The program's message box as other code uses it: prepare with a kind, a
// caption and a text, show modally, get 1 for OK/Yes and 2 otherwise.

#include <QObject>
#include <QString>
#include <functional>

namespace quvan::app {

class MessageService {
  public:
    virtual ~MessageService() = default;
    virtual int show(int kind, const QString& caption, const QString& text) = 0;
    virtual bool isShowing() const = 0;
    // Runs `then` from the event loop once the box now showing has closed
    // (dropped if `context` is gone by then). A service whose boxes never
    // stay up has nothing to wait for and drops it.
    virtual void runWhenClosed(QObject* /*context*/, std::function<void()> /*then*/) {}
};

} // namespace quvan::app
