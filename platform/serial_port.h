#pragma once
// The serial line as the link layer sees it: a small interface so the link can
// run over a real device, a pseudo-terminal or a fake in tests.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace quvan::platform {

enum class Parity { None, Odd, Even };

struct LineSettings {
    int baudRate = 115200; // already mapped to a supported speed
    int dataBits = 8;      // 7 or 8
    int stopBits = 1;      // 1 or 2
    Parity parity = Parity::None;
};

// Speeds the board's line may run at; anything else falls back to 57600.
int SupportedBaudRate(int requested);

// What a status query of the line reports (the stand-in for ClearCommError).
struct LineStatus {
    bool queryOk = true;    // false: the device has gone (hang-up, removed)
    bool lineError = false; // framing, parity or overrun error since the last query
    std::uint32_t bytesWaiting = 0;
};

class SerialPort {
  public:
    virtual ~SerialPort() = default;

    virtual void configure(const LineSettings& settings) = 0;
    virtual LineStatus status() = 0;
    // Reads one byte that status() reported as waiting; false when the read fails.
    virtual bool readByte(std::uint8_t& byte) = 0;
    // Writes the whole frame in one go; false when the device refused it.
    virtual bool write(std::string_view frame) = 0;
    // Drops DTR, then RTS (done before closing).
    virtual void clearModemLines() = 0;
    // A descriptor that becomes readable when bytes arrive or the line hangs
    // up, for poll(); -1 when the port cannot be waited on.
    virtual int waitHandle() const = 0;
    // True once the device node has disappeared (adapter unplugged).
    virtual bool deviceGone() const = 0;
    // Bytes written but not yet sent on the line; -1 when the driver cannot
    // tell (the line has gone).
    virtual int outputPending() { return 0; }
    virtual const std::string& devicePath() const = 0;
};

// Why a port did not open. The kind decides what the user is told (a port
// refused for want of permission gets advice on how to get it).
enum class OpenFailure {
    None,
    NoName,           // the port name is empty
    Missing,          // no such device (never there, or unplugged)
    PermissionDenied, // the device exists but this user may not open it
    InUse,            // another program holds it
    NotSerial,        // the name is not a terminal device
    Other,
};

struct OpenError {
    OpenFailure kind = OpenFailure::None;
    std::string path;    // the device path that was tried
    std::string message; // "path: reason", for logs and command-line messages
    // PermissionDenied: the group that owns the device node and may read and
    // write it (usually "dialout"); empty when no group but root's may.
    std::string deviceGroup;
    // PermissionDenied: the user is listed in deviceGroup, but this program
    // runs without it (the user was added and has not logged in again since).
    bool groupJoinPending = false;
};

// Opens serial ports by the name the user knows; a seam for tests.
class SerialPortOpener {
  public:
    virtual ~SerialPortOpener() = default;
    // nullptr when the port cannot be opened; *error (when given) then says why.
    virtual std::unique_ptr<SerialPort> open(const std::string& name, OpenError* error) = 0;
};

// The device path of a port name: a full path is used as it is, "COMn" is
// the n-th classic serial port (/dev/ttyS<n-1>), and any other name is looked
// up under /dev (ttyUSB0 → /dev/ttyUSB0). An empty name gives "".
std::string ResolvePortPath(std::string_view name);

// The real opener: POSIX termios devices, exclusive read/write.
class PosixSerialPortOpener final : public SerialPortOpener {
  public:
    std::unique_ptr<SerialPort> open(const std::string& name, OpenError* error) override;
};

} // namespace quvan::platform
