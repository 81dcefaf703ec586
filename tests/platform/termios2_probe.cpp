#include "termios2_probe.h"

#include <asm/ioctls.h>
#include <asm/termbits.h>

extern "C" int ioctl(int fd, unsigned long request, ...);

namespace quvan::test_support {

ProbedSettings Interpret(const platform::TerminalFlags& f) {
    ProbedSettings s{};
    s.customSpeed = (f.cflag & CBAUD) == BOTHER;
    s.speed115200 = (f.cflag & CBAUD) == B115200;
    s.outputSpeed = f.ospeed;
    s.dataBits = (f.cflag & CSIZE) == CS8 ? 8 : (f.cflag & CSIZE) == CS7 ? 7 : 0;
    s.twoStopBits = (f.cflag & CSTOPB) != 0;
    s.parity = (f.cflag & PARENB) != 0;
    s.oddParity = (f.cflag & PARODD) != 0;
    s.hardwareFlow = (f.cflag & CRTSCTS) != 0;
    s.softwareFlow = (f.iflag & (IXON | IXOFF)) != 0;
    s.rawInput =
        (f.lflag & (ICANON | ECHO | ISIG)) == 0 && (f.iflag & ICRNL) == 0 && (f.oflag & OPOST) == 0;
    return s;
}

platform::TerminalFlags ReadFlags(int fd) {
    termios2 tio{};
    ioctl(fd, TCGETS2, &tio);
    return {tio.c_iflag, tio.c_oflag, tio.c_cflag, tio.c_lflag, tio.c_ispeed, tio.c_ospeed};
}

platform::TerminalFlags CookedFlags() {
    return {ICRNL | IXON | IXOFF,          OPOST | ONLCR, B9600 | CS8 | CREAD | HUPCL | CRTSCTS,
            ISIG | ICANON | ECHO | IEXTEN, 9600,          9600};
}

} // namespace quvan::test_support
