#include "link/framing.h"

namespace quvan::link {

int HeadIndex(std::string_view name) {
    return name == "STX" ? 1 : 0;
}

int DlmtIndex(std::string_view name) {
    if (name == "ETX")
        return 1;
    if (name == "CR")
        return 2;
    if (name == "LF")
        return 3;
    if (name == "CRLF")
        return 4;
    return 0;
}

std::string FrameCommand(std::string_view text, std::string_view head, std::string_view dlmt) {
    static constexpr std::string_view kDelimiters[] = {"", "\x03", "\r", "\n", "\r\n"};
    std::string frame;
    frame.reserve(text.size() + 3);
    if (HeadIndex(head) == 1) {
        frame += '\x02';
    }
    frame += text;
    frame += kDelimiters[DlmtIndex(dlmt)];
    return frame;
}

platform::LineSettings LineSettingsOf(const PortSettings& port) {
    platform::LineSettings line;
    line.baudRate = platform::SupportedBaudRate(port.BaudRate);
    line.dataBits = port.ByteSize == 8 ? 8 : 7;
    line.stopBits = port.StopBits == 1 ? 1 : 2;
    line.parity = port.Parity == "ODD"    ? platform::Parity::Odd
                  : port.Parity == "EVEN" ? platform::Parity::Even
                                          : platform::Parity::None;
    return line;
}

} // namespace quvan::link
