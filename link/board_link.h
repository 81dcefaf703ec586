#pragma once
// The one session with the board: owns the port record, the open port and the
// receive thread; sends commands, waits for replies and hands every received
// line to the dispatcher. The windows hear about the board only through it.

#include "link/line_assembler.h"
#include "link/line_dispatcher.h"
#include "link/rs232c.h"
#include "platform/serial_port.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QEventLoop;

namespace quvan::link {

class TRcvThread;

class BoardLink final : public QObject {
    Q_OBJECT
  public:
    explicit BoardLink(platform::SerialPortOpener& opener, QObject* parent = nullptr);
    ~BoardLink() override;

    RS232C ComPort;

    // Where received lines go; must outlive the link (or be reset to null).
    void setHandlers(LineHandlers* handlers);

    bool OpenPort(bool startReceiver);
    void ClosePort();
    // True when the whole frame went out; false when no port is open, the
    // line reported an error, or the device refused the bytes.
    bool SendCommand(std::string_view text);
    bool WaitResponse(std::uint32_t timeoutMs);
    void ShowPortStatus();

    bool ResponseFlag() const { return responseFlag_; }
    void SetResponseFlag();
    bool PortSearchActive() const { return portSearchActive_; }
    void SetPortSearchActive(bool active) { portSearchActive_ = active; }

    // Bytes the driver still has to send; -1 without a port.
    int OutputPending() const;

    // Why the last OpenPort failed, for messages.
    const std::string& lastOpenError() const { return lastOpenFailure_.message; }
    const platform::OpenError& lastOpenFailure() const { return lastOpenFailure_; }
    // The first port that would not open for want of permission since the
    // last attempt to reach the board began, while no board has been reached:
    // the messages that say the board cannot be reached explain it.
    const std::optional<platform::OpenError>& permissionRefusal() const {
        return permissionRefusal_;
    }
    void forgetPermissionRefusal() { permissionRefusal_.reset(); }

    // Called on the user-interface thread by the receive thread.
    void ReadPending(std::uint32_t pendingBytes);
    void FlushIdleLine();
    void ReportDeviceRemoved();
    void markCommError();

  signals:
    void portStatusChanged(const QString& text);
    // The serial device has gone (adapter unplugged, other end hung up).
    void deviceRemoved();
    // A reply a sender waits for has arrived (ResponseFlag was set). Lets a
    // caller wait with a timer of its own instead of inside WaitResponse.
    void responseFlagSet();

  private:
    void DispatchLine();

    platform::SerialPortOpener& opener_;
    std::shared_ptr<platform::SerialPort> port_;
    QPointer<TRcvThread> thread_;
    // Shared with the receive thread, which reads the partial line's length.
    std::shared_ptr<LineAssembler> assembler_;
    LineHandlers* handlers_ = nullptr;
    std::unique_ptr<LineDispatcher> dispatcher_;
    bool responseFlag_ = false;
    bool portSearchActive_ = false;
    std::vector<QEventLoop*> waits_;
    platform::OpenError lastOpenFailure_;
    std::optional<platform::OpenError> permissionRefusal_;
};

} // namespace quvan::link
