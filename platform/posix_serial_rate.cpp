#include "platform/posix_serial_rate.h"

#include <asm/ioctls.h>
#include <asm/termbits.h>

extern "C" int ioctl(int fd, unsigned long request, ...);

namespace quvan::platform {
namespace {

speed_t ClassicSpeed(int rate) {
    switch (rate) {
    case 1200:
        return B1200;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    default:
        return BOTHER; // 56000 and 76800 have no constant
    }
}

} // namespace

TerminalFlags ComposeLineFlags(TerminalFlags tio, const LineSettings& settings) {
    // Raw bytes both ways: the board's protocol is plain ASCII lines and the
    // framing is ours, so the driver must not translate or interpret anything.
    tio.iflag &=
        ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY);
    tio.oflag &= ~OPOST;
    tio.lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    tio.cflag &= ~(CSIZE | CSTOPB | PARENB | PARODD | CRTSCTS | CBAUD | (CBAUD << IBSHIFT));
    tio.cflag |= CREAD | CLOCAL;
    tio.cflag |= settings.dataBits == 8 ? CS8 : CS7;
    if (settings.stopBits != 1) {
        tio.cflag |= CSTOPB;
    }
    if (settings.parity != Parity::None) {
        tio.cflag |= PARENB;
        if (settings.parity == Parity::Odd) {
            tio.cflag |= PARODD;
        }
    }
    tio.cflag |= ClassicSpeed(settings.baudRate);
    tio.ispeed = static_cast<unsigned>(settings.baudRate);
    tio.ospeed = static_cast<unsigned>(settings.baudRate);
    return tio;
}

bool ApplyLineSettings(int fd, const LineSettings& settings) {
    struct termios2 tio {};
    if (ioctl(fd, TCGETS2, &tio) != 0) {
        return false;
    }
    const TerminalFlags flags = ComposeLineFlags(
        {tio.c_iflag, tio.c_oflag, tio.c_cflag, tio.c_lflag, tio.c_ispeed, tio.c_ospeed}, settings);
    tio.c_iflag = flags.iflag;
    tio.c_oflag = flags.oflag;
    tio.c_cflag = flags.cflag;
    tio.c_lflag = flags.lflag;
    tio.c_ispeed = flags.ispeed;
    tio.c_ospeed = flags.ospeed;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    return ioctl(fd, TCSETS2, &tio) == 0;
}

} // namespace quvan::platform
