#pragma once
// Intel HEX text for test files, written the plain way and independently of
// the program's own reading: data records of `perRecord` bytes, an extended
// linear address record whenever the upper 16 bits of the address change,
// and the end-of-file record.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace quvan::test_support {

inline std::string HexRecordText(int type, std::uint16_t offset,
                                 const std::vector<std::uint8_t>& data) {
    unsigned sum = static_cast<unsigned>(data.size()) + (offset >> 8) + (offset & 0xFF) +
                   static_cast<unsigned>(type);
    char head[16];
    std::snprintf(head, sizeof head, ":%02X%04X%02X", static_cast<unsigned>(data.size()),
                  static_cast<unsigned>(offset), static_cast<unsigned>(type));
    std::string text = head;
    for (std::uint8_t byte : data) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02X", byte);
        text += digits;
        sum += byte;
    }
    char check[3];
    std::snprintf(check, sizeof check, "%02X", (0x100 - (sum & 0xFF)) & 0xFF);
    return text + check;
}

inline std::string HexText(std::uint32_t base, const std::string& bytes, std::size_t perRecord = 16,
                           const std::string& lineEnd = "\r\n") {
    std::string text;
    std::uint32_t upper = 0xFFFFFFFF;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::uint32_t address = base + static_cast<std::uint32_t>(at);
        if ((address >> 16) != upper) {
            upper = address >> 16;
            text += HexRecordText(4, 0,
                                  {static_cast<std::uint8_t>(upper >> 8),
                                   static_cast<std::uint8_t>(upper & 0xFF)}) +
                    lineEnd;
        }
        // A record never crosses a 64 KiB boundary.
        const std::size_t count = std::min(
            {perRecord, bytes.size() - at, static_cast<std::size_t>(0x10000 - (address & 0xFFFF))});
        const std::vector<std::uint8_t> data(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                                             bytes.begin() +
                                                 static_cast<std::ptrdiff_t>(at + count));
        text += HexRecordText(0, static_cast<std::uint16_t>(address & 0xFFFF), data) + lineEnd;
        at += count;
    }
    return text + ":00000001FF" + lineEnd;
}

// Firmware-like bytes: every value occurs, in an order that is not a counter.
inline std::string FirmwareBytes(std::size_t size) {
    std::string bytes(size, '\0');
    std::uint32_t x = 0x12345678;
    for (char& b : bytes) {
        x = x * 1103515245u + 12345u;
        b = static_cast<char>(x >> 24);
    }
    return bytes;
}

} // namespace quvan::test_support
