#pragma once
// Names of heads and delimiters, and the bytes a command is framed with.

#include "link/rs232c.h"
#include "platform/serial_port.h"

#include <string>
#include <string_view>

namespace quvan::link {

// List positions of head and delimiter names, also the receive-delimiter
// modes: 0 none, 1 ETX, 2 CR, 3 LF, 4 CRLF. Names compare exactly.
int HeadIndex(std::string_view name);
int DlmtIndex(std::string_view name);

// Head byte, command text, delimiter: "Ver" with no head and CRLF is 56 65 72 0D 0A.
std::string FrameCommand(std::string_view text, std::string_view head, std::string_view dlmt);

// The driver settings the record asks for.
platform::LineSettings LineSettingsOf(const PortSettings& port);

} // namespace quvan::link
