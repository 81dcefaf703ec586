#pragma once
// The program's message box as other code uses it: prepare with a kind, a
// caption and a text, show modally, get 1 for OK/Yes and 2 otherwise.

#include <QString>

namespace quvan::app {

class MessageService {
  public:
    virtual ~MessageService() = default;
    virtual int show(int kind, const QString& caption, const QString& text) = 0;
    virtual bool isShowing() const = 0;
};

} // namespace quvan::app
