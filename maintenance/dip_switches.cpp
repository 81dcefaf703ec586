#include "maintenance/dip_switches.h"

#include "platform/user_text.h"

namespace quvan::maintenance {

const std::array<const char*, 5> kRsBpsItems = {"115200bps", "57600bps", "38400bps", "19200bps",
                                                "9600bps"};
const std::array<const char*, 2> kUsbBpsItems = {"115200bps", "57600bps"};
const std::array<const char*, 2> kInputSelItems = {QUVAN_TR_NOOP("DipSwitches", "16接点入力"),
                                                   QUVAN_TR_NOOP("DipSwitches", "バイナリ入力")};
const std::array<const char*, 4> kFrameMaxItems = {
    QUVAN_TR_NOOP("DipSwitches", "ストローブ優先"), QUVAN_TR_NOOP("DipSwitches", "2回発射"),
    QUVAN_TR_NOOP("DipSwitches", "4回発射"), QUVAN_TR_NOOP("DipSwitches", "6回発射")};
const std::array<int, 5> kRsBpsRates = {115200, 57600, 38400, 19200, 9600};
const std::array<int, 2> kUsbBpsRates = {115200, 57600};
const std::array<int, 4> kFrameCounts = {1, 2, 4, 6};

namespace {

// Switches 1, 2 and 3 for each RS-232C speed.
constexpr std::array<std::array<bool, 3>, 5> kRsPatterns = {{
    {false, false, false},
    {true, false, false},
    {false, true, false},
    {true, true, false},
    {false, false, true},
}};

bool& Switch(DipSwitchState& state, int number) {
    return state.switches[static_cast<std::size_t>(number - 1)];
}

} // namespace

int DipListSize(DipList list) {
    switch (list) {
    case DipList::RsBps:
        return static_cast<int>(kRsBpsItems.size());
    case DipList::UsbBps:
        return static_cast<int>(kUsbBpsItems.size());
    case DipList::InputSel:
        return static_cast<int>(kInputSelItems.size());
    case DipList::FrameMax:
        return static_cast<int>(kFrameMaxItems.size());
    }
    return 0;
}

void DipSwitchState::SetList(DipList list, int index) {
    if (index < 0 || index >= DipListSize(list))
        return;
    switch (list) {
    case DipList::RsBps:
        rsBps = index;
        for (int n = 1; n <= 3; ++n)
            Switch(*this, n) =
                kRsPatterns[static_cast<std::size_t>(index)][static_cast<std::size_t>(n - 1)];
        break;
    case DipList::UsbBps:
        usbBps = index;
        Switch(*this, 7) = index == 1;
        break;
    case DipList::InputSel:
        inputSel = index;
        Switch(*this, 4) = index == 1;
        break;
    case DipList::FrameMax:
        frameMax = index;
        Switch(*this, 5) = (index & 1) != 0;
        Switch(*this, 6) = (index & 2) != 0;
        break;
    }
}

void DipSwitchState::SwitchClicked(int number, bool isOn) {
    if (number < 1 || number > 7)
        return;
    Switch(*this, number) = isOn;
    switch (number) {
    case 1:
    case 2:
    case 3: {
        const std::array<bool, 3> pattern = {on(1), on(2), on(3)};
        for (std::size_t i = 0; i < kRsPatterns.size(); ++i) {
            if (kRsPatterns[i] == pattern) {
                rsBps = static_cast<int>(i);
                return;
            }
        }
        SetList(DipList::RsBps, 0);
        break;
    }
    case 4:
        inputSel = isOn ? 1 : 0;
        break;
    case 7:
        usbBps = isOn ? 1 : 0;
        break;
    default: // 5 and 6
        frameMax = (on(5) ? 1 : 0) + (on(6) ? 2 : 0);
        break;
    }
}

std::vector<std::string> DipQueryCommands() {
    return {"BpsR:?", "BpsU:?", "Bit16:?"};
}

DipReply ApplyDipReply(DipSwitchState& state, std::string_view line) {
    struct Prefix {
        std::string_view text;
        DipList list;
        int inputSel; // for the emission replies
    };
    static constexpr std::array<Prefix, 4> kPrefixes = {{
        {"BpsR:", DipList::RsBps, -1},
        {"BpsU:", DipList::UsbBps, -1},
        {"Bit16:", DipList::FrameMax, 0},
        {"Binary:", DipList::FrameMax, 1},
    }};
    for (const Prefix& prefix : kPrefixes) {
        if (!line.starts_with(prefix.text))
            continue;
        DipReply reply{true, false, prefix.list};
        const char c = line.size() > prefix.text.size() ? line[prefix.text.size()] : '\0';
        const int d = c >= '0' && c <= '9' ? c - '0' : 0;
        if (prefix.list != DipList::FrameMax) {
            reply.taken = d < DipListSize(prefix.list);
            if (reply.taken)
                state.SetList(prefix.list, d);
            return reply;
        }
        // The board counts the emission choices from 1.
        const int index = d > 0 ? d - 1 : 0;
        reply.taken = index < DipListSize(DipList::FrameMax);
        if (reply.taken) {
            state.SetList(DipList::InputSel, prefix.inputSel);
            state.SetList(DipList::FrameMax, index);
        }
        return reply;
    }
    return {};
}

std::vector<std::string> DipApplyCommands(const DipSwitchState& state) {
    const int count = kFrameCounts[static_cast<std::size_t>(state.frameMax)];
    return {"BpsR:" + std::to_string(state.rsBps), "BpsU:" + std::to_string(state.usbBps),
            (state.inputSel == 0 ? "Bit16:" : "Binary:") + std::to_string(count)};
}

} // namespace quvan::maintenance
