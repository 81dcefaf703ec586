#pragma once
// The board's DIP switch settings as the serial commands see them. New
// settings wait until the next reset to take effect, like real switches
// that are read at power-up.

#include <optional>
#include <string>
#include <string_view>

namespace quvan::sim {

struct DipValues {
    int rs232_index = 0; // 0..4: 115200, 57600, 38400, 19200, 9600 bit/s
    int usb_index = 0;   // 0..1: 115200, 57600 bit/s
    bool binary_input = false;
    int emission_index = 0; // 0..3: strobe priority, 2, 4, 6 emissions
    bool operator==(const DipValues&) const = default;
};

class DipSwitches {
  public:
    // Handles "BpsR:?", "BpsU:?", "Bit16:?" and the settings "BpsR:%d",
    // "BpsU:%d", "Bit16:%d", "Binary:%d" (count 1/2/4/6). Returns the reply
    // line, or nullopt when the text is not a DIP command. A setting with
    // a value out of range answers "?" and changes nothing.
    std::optional<std::string> handle(std::string_view command);

    // Makes the stored settings effective (the board's reset).
    void apply_pending() { effective_ = pending_; }

    const DipValues& effective() const { return effective_; }
    const DipValues& pending() const { return pending_; }
    void load(const DipValues& v) { effective_ = pending_ = v; }

    // The settings as command lines, for the flash file.
    std::string setting_lines(const DipValues& v) const;

  private:
    DipValues effective_;
    DipValues pending_;
};

} // namespace quvan::sim
