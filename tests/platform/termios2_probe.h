#pragma once
// Reads terminal flags through termios2, apart from <termios.h>.

#include "platform/posix_serial_rate.h"

namespace quvan::test_support {

struct ProbedSettings {
    bool customSpeed; // BOTHER
    bool speed115200; // classic B115200
    unsigned outputSpeed;
    int dataBits;
    bool twoStopBits;
    bool parity;
    bool oddParity;
    bool hardwareFlow;
    bool softwareFlow;
    bool rawInput;
};

ProbedSettings Interpret(const platform::TerminalFlags& flags);
platform::TerminalFlags ReadFlags(int fd);
// Flags of a terminal in the usual cooked state, as a driver starts.
platform::TerminalFlags CookedFlags();

} // namespace quvan::test_support
