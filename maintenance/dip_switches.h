#pragma once
// The board's DIP switch bank DSW1 as the setup shows it: four lists
// (RS-232C speed, USB speed, parallel input, infrared emission count) and
// seven switches kept in step with them, the board's replies to the
// queries, and the commands that write the settings back.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quvan::maintenance {

enum class DipList { RsBps, UsbBps, InputSel, FrameMax };

// List items, index 0 first (the captions the dialog shows, translated in
// the context "DipSwitches").
extern const std::array<const char*, 5> kRsBpsItems;    // cmbRSbps
extern const std::array<const char*, 2> kUsbBpsItems;   // cmbUSBbps
extern const std::array<const char*, 2> kInputSelItems; // cmbInputSel
extern const std::array<const char*, 4> kFrameMaxItems; // cmbFrameMax
// Line speeds of cmbRSbps and cmbUSBbps by index, in bit/s.
extern const std::array<int, 5> kRsBpsRates;
extern const std::array<int, 2> kUsbBpsRates;
// Emissions sent for each cmbFrameMax index.
extern const std::array<int, 4> kFrameCounts;

struct DipSwitchState {
    int rsBps = 0;                  // cmbRSbps
    int usbBps = 0;                 // cmbUSBbps
    int inputSel = 0;               // cmbInputSel: 0 "16接点入力", 1 "バイナリ入力"
    int frameMax = 0;               // cmbFrameMax
    std::array<bool, 7> switches{}; // tgswNum1..7, on = true

    bool on(int number) const { return switches[static_cast<std::size_t>(number - 1)]; }
    bool operator==(const DipSwitchState&) const = default;

    // A list was set (closed up by the user, or by a reply): its switches follow.
    void SetList(DipList list, int index);
    // A switch was clicked to `on`: its list follows; switches 1 to 3 in a
    // pattern no speed has are all turned off and the speed becomes 115200.
    void SwitchClicked(int number, bool on);
};

// The number of items of a list.
int DipListSize(DipList list);

// Queries sent when the setup opens, each followed by a wait for its reply.
inline constexpr int kDipReplyWaitMs = 500;
std::vector<std::string> DipQueryCommands();

// A reply to a query: "BpsR:", "BpsU:", "Bit16:" or "Binary:" at the very
// start, then one digit (0 when it is not a digit). A digit beyond its list
// leaves everything as it was: the lists never show a setting they lack.
struct DipReply {
    bool isReply = false;          // the waiting sender may go on
    bool taken = false;            // the state follows the reply
    DipList list = DipList::RsBps; // FrameMax for "Bit16:" and "Binary:"
};
DipReply ApplyDipReply(DipSwitchState& state, std::string_view line);

// The settings as commands, in the order they are sent; "Reset" follows
// them without a wait.
std::vector<std::string> DipApplyCommands(const DipSwitchState& state);

} // namespace quvan::maintenance
