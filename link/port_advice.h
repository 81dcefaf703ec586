#pragma once
// What the user is told about a port that is there but would not open: on
// Linux that is nearly always permission (the user is not in the group that
// may use serial devices), and the fix is one command and a new login.

#include "link/board_link.h"
#include "platform/serial_port.h"

#include <QString>

namespace quvan::link {

// One line naming the port and the reason ("... を開く権限がありません。"),
// for the status bar; empty for failures that need no advice.
QString OpenFailureSummary(const platform::OpenError& error);

// The summary and how to put it right; empty for failures that need no advice
// (a missing port says enough by the message it already gets).
QString OpenFailureAdvice(const platform::OpenError& error);

// Why the board could not be reached, when the last attempt met a port this
// user may not open; empty otherwise.
QString NoBoardAdvice(const BoardLink& link);

// `message`, then the advice on lines of its own when there is any.
QString WithAdvice(const QString& message, const QString& advice);

// The name of a refused port as the port list shows it ("ttyUSB0 (アクセス権なし)").
QString RefusedPortLabel(const std::string& name, const platform::OpenError& error);

} // namespace quvan::link
