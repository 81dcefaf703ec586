#pragma once
// Line settings through the kernel's termios2 interface, which also takes
// speeds outside the classic Bxxx list (56000, 76800). Kept in its own file
// because <asm/termbits.h> cannot be mixed with <termios.h>.

#include "platform/serial_port.h"

namespace quvan::platform {

// The termios2 fields we set, without the kernel's header.
struct TerminalFlags {
    unsigned iflag = 0, oflag = 0, cflag = 0, lflag = 0;
    unsigned ispeed = 0, ospeed = 0;
};

// The driver's current flags changed to raw mode with the given speed and
// frame format and no flow control; other flags stay as the driver had them.
TerminalFlags ComposeLineFlags(TerminalFlags current, const LineSettings& settings);

// Applies ComposeLineFlags to the terminal. False when the driver refused.
bool ApplyLineSettings(int fd, const LineSettings& settings);

} // namespace quvan::platform
