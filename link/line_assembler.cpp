#include "link/line_assembler.h"

namespace quvan::link {

LineAssembler::Step LineAssembler::push(std::uint8_t byte, bool firmwareSending) {
    Step step;
    int len = length();
    if (len >= kLineLimit) {
        // The previous line was never taken; refuse to grow past the buffer.
        step.lineReady = true;
        return step;
    }
    buffer_[static_cast<std::size_t>(len)] = byte;
    ++len;
    if (len > kLineLimit - 1) {
        step.lineReady = true;
    }
    switch (mode_) {
    case DlmtEtx:
        step.lineReady |= byte == 0x03;
        break;
    case DlmtCr:
        step.lineReady |= byte == 0x0D;
        break;
    case DlmtLf:
        step.lineReady |= byte == 0x0A;
        break;
    case DlmtCrLf:
        if (byte == 0x0A && len > 1 && buffer_[static_cast<std::size_t>(len - 2)] == 0x0D) {
            len -= 2;
            if (len == 0) {
                // An empty line still reaches the dispatcher, as one blank.
                buffer_[0] = ' ';
                len = 1;
            }
            step.lineReady = true;
        }
        break;
    default:
        step.dotResponse = firmwareSending && byte == '.';
        break;
    }
    length_.store(len, std::memory_order_relaxed);
    return step;
}

std::string LineAssembler::takeDisplayText() {
    std::string text = DisplayText(bytes());
    length_.store(0, std::memory_order_relaxed);
    return text;
}

std::string DisplayText(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() + 8);
    bool lastPrintable = true;
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            text += ' ';
            text += kHex[byte >> 4];
            text += kHex[byte & 0x0F];
            text += 'h';
            lastPrintable = false;
        } else {
            if (!lastPrintable) {
                text += ' ';
                lastPrintable = true;
            }
            text += c;
        }
    }
    return text;
}

} // namespace quvan::link
