// The DIP switch bank and its lists: replies from the board, the rules that
// keep switches and lists in step, and the commands that write them back.

#include "maintenance/dip_switches.h"

#include <gtest/gtest.h>

namespace quvan::maintenance {
namespace {

using Switches = std::array<bool, 7>;

TEST(DipReply, EmissionRepliesCountFromOne) {
    DipSwitchState state;
    // Bit16:1 is the first choice, strobe priority, with 5 and 6 off.
    state.SetList(DipList::FrameMax, 2);
    EXPECT_TRUE(ApplyDipReply(state, "Bit16:1").taken);
    EXPECT_EQ(state.frameMax, 0);
    EXPECT_EQ(state.inputSel, 0);
    EXPECT_FALSE(state.on(5));
    EXPECT_FALSE(state.on(6));
    // Bit16:4 is "6回発射": both switches on.
    EXPECT_TRUE(ApplyDipReply(state, "Bit16:4").taken);
    EXPECT_EQ(state.frameMax, 3);
    EXPECT_TRUE(state.on(5) && state.on(6));
    // Bit16:0 counts as the first choice too.
    EXPECT_TRUE(ApplyDipReply(state, "Bit16:0").taken);
    EXPECT_EQ(state.frameMax, 0);
    // Binary:2: binary input (switch 4) and "2回発射" (switch 5).
    EXPECT_TRUE(ApplyDipReply(state, "Binary:2").taken);
    EXPECT_EQ(state.inputSel, 1);
    EXPECT_EQ(state.frameMax, 1);
    EXPECT_EQ(state.switches, (Switches{false, false, false, true, true, false, false}));
    // A digit that is not a number counts as 0.
    EXPECT_TRUE(ApplyDipReply(state, "Bit16:x").taken);
    EXPECT_EQ(state.inputSel, 0);
    EXPECT_EQ(state.frameMax, 0);
}

TEST(DipReply, SpeedRepliesSetTheirSwitches) {
    DipSwitchState state;
    EXPECT_TRUE(ApplyDipReply(state, "BpsR:3").taken); // 19200: switches 1 and 2
    EXPECT_EQ(state.rsBps, 3);
    EXPECT_EQ(state.switches, (Switches{true, true, false, false, false, false, false}));
    EXPECT_TRUE(ApplyDipReply(state, "BpsR:4").taken); // 9600: switch 3 alone
    EXPECT_EQ(state.switches, (Switches{false, false, true, false, false, false, false}));
    EXPECT_TRUE(ApplyDipReply(state, "BpsU:1").taken);
    EXPECT_EQ(state.usbBps, 1);
    EXPECT_TRUE(state.on(7));
}

TEST(DipReply, OtherLinesAndOutOfRangeDigitsChangeNothing) {
    DipSwitchState state;
    ApplyDipReply(state, "BpsR:2");
    ApplyDipReply(state, "Binary:3");
    const DipSwitchState before = state;
    // Only a prefix at the very start counts.
    EXPECT_FALSE(ApplyDipReply(state, " BpsR:1").isReply);
    EXPECT_FALSE(ApplyDipReply(state, "xBit16:1").isReply);
    EXPECT_FALSE(ApplyDipReply(state, "Trans Mode").isReply);
    // Replies beyond their lists are replies (the wait may end) but leave the
    // lists and the switches as they were.
    for (const char* reply : {"BpsR:7", "BpsR:5", "BpsU:2", "Bit16:9", "Binary:5"}) {
        const DipReply r = ApplyDipReply(state, reply);
        EXPECT_TRUE(r.isReply) << reply;
        EXPECT_FALSE(r.taken) << reply;
    }
    EXPECT_EQ(ApplyDipReply(state, "Binary:5").list, DipList::FrameMax);
    EXPECT_EQ(state, before);
}

TEST(DipStep, SwitchesOneToThreeFollowTheSpeedTable) {
    DipSwitchState state;
    state.SwitchClicked(2, true);
    EXPECT_EQ(state.rsBps, 2); // 38400
    state.SwitchClicked(1, true);
    EXPECT_EQ(state.rsBps, 3); // 1 and 2: 19200
    state.SwitchClicked(1, false);
    state.SwitchClicked(2, false);
    EXPECT_EQ(state.rsBps, 0);
    // Switch 1, then switch 3: no speed has that pattern, so back to
    // 115200bps with all three off.
    state.SwitchClicked(1, true);
    EXPECT_EQ(state.rsBps, 1);
    state.SwitchClicked(3, true);
    EXPECT_EQ(state.rsBps, 0);
    EXPECT_EQ(state.switches, Switches{});
}

TEST(DipStep, TheOtherSwitchesAndTheLists) {
    DipSwitchState state;
    state.SwitchClicked(4, true);
    EXPECT_EQ(state.inputSel, 1);
    state.SwitchClicked(7, true);
    EXPECT_EQ(state.usbBps, 1);
    state.SwitchClicked(6, true);
    EXPECT_EQ(state.frameMax, 2); // switch 6 alone: four emissions
    state.SwitchClicked(5, true);
    EXPECT_EQ(state.frameMax, 3);
    state.SwitchClicked(7, false);
    EXPECT_EQ(state.usbBps, 0);

    state.SetList(DipList::RsBps, 4);
    EXPECT_EQ(state.switches, (Switches{false, false, true, true, true, true, false}));
    state.SetList(DipList::FrameMax, 1);
    EXPECT_TRUE(state.on(5));
    EXPECT_FALSE(state.on(6));
    state.SetList(DipList::InputSel, 0);
    EXPECT_FALSE(state.on(4));
    state.SetList(DipList::UsbBps, 1);
    EXPECT_TRUE(state.on(7));
    const DipSwitchState before = state;
    state.SetList(DipList::RsBps, 5); // no such item
    EXPECT_EQ(state, before);
}

TEST(DipApply, CommandsCarryIndicesAndTheEmissionCount) {
    DipSwitchState state;
    EXPECT_EQ(DipApplyCommands(state), (std::vector<std::string>{"BpsR:0", "BpsU:0", "Bit16:1"}));
    // "6回発射" with "バイナリ入力": the count 6 goes with "Binary:".
    state.SetList(DipList::FrameMax, 3);
    state.SetList(DipList::InputSel, 1);
    state.SetList(DipList::RsBps, 1);
    state.SetList(DipList::UsbBps, 1);
    EXPECT_EQ(DipApplyCommands(state), (std::vector<std::string>{"BpsR:1", "BpsU:1", "Binary:6"}));
    state.SetList(DipList::FrameMax, 2);
    state.SetList(DipList::InputSel, 0);
    EXPECT_EQ(DipApplyCommands(state)[2], "Bit16:4");
    EXPECT_EQ(DipQueryCommands(), (std::vector<std::string>{"BpsR:?", "BpsU:?", "Bit16:?"}));
}

} // namespace
} // namespace quvan::maintenance
