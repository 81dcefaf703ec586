#pragma once
// Board lines for the window's logs: the program's own notes are UTF-8, but
// a board line may carry any bytes, which show as Latin-1 rather than being
// lost.

#include <QString>
#include <string>

namespace quvan::link {

QString BoardLineText(const std::string& bytes);

} // namespace quvan::link
