#pragma once
// Cuts the bytes received from the board into lines.

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

namespace quvan::link {

// Receive-delimiter modes (DlmtIndex of the receive delimiter name).
enum DlmtMode : int { DlmtNone = 0, DlmtEtx = 1, DlmtCr = 2, DlmtLf = 3, DlmtCrLf = 4 };

class LineAssembler {
  public:
    static constexpr int kLineLimit = 8193; // a line is forced out at this length

    explicit LineAssembler(int dlmtMode) : mode_(dlmtMode) {}

    struct Step {
        bool lineReady = false;   // the collected bytes form a line now
        bool dotResponse = false; // a "." seen while a firmware file is being sent
    };

    // Adds one received byte. In delimiter mode none, a "." while the
    // firmware update is sending counts as the loader's acknowledgement.
    Step push(std::uint8_t byte, bool firmwareSending);

    // Bytes of the line being collected; read by the receive thread for the
    // idle flush, so it is atomic.
    int length() const { return length_.load(std::memory_order_relaxed); }
    int mode() const { return mode_; }
    std::string_view bytes() const {
        return {reinterpret_cast<const char*>(buffer_.data()), static_cast<std::size_t>(length())};
    }

    // The collected bytes as display text; empties the line.
    std::string takeDisplayText();

  private:
    int mode_;
    std::array<std::uint8_t, 8196> buffer_{};
    std::atomic<int> length_{0};
};

// The display form of received bytes: control bytes (0x00-0x1F, 0x7F) become
// a space, two upper-case hex digits and "h"; a printable byte that follows a
// control byte is preceded by one space. Bytes 0x80-0xFF pass unchanged.
std::string DisplayText(std::string_view bytes);

} // namespace quvan::link
