#include "link/line_dispatcher.h"
#include "recording_handlers.h"

#include <gtest/gtest.h>

namespace quvan::link {
namespace {

using test_support::RecordingHandlers;

class Dispatcher : public ::testing::Test {
  protected:
    Dispatcher() { handlers.state.startupDone = true; }

    Route Send(const std::string& text) {
        responded = false;
        return dispatcher.dispatch(text);
    }

    RecordingHandlers handlers;
    bool responded = false;
    LineDispatcher dispatcher{handlers, [this] { responded = true; }};
};

TEST_F(Dispatcher, FirmwareDialogTakesEveryLine) {
    handlers.state.firmwareDialogVisible = true;
    for (const char* line : {"[000]:00560 001120", "Ave.Freq = 38.0kHz", "Trans Mode", "ACK"}) {
        EXPECT_EQ(Send(line), Route::Loader);
    }
    EXPECT_EQ(handlers.calls.size(), 4u);
    EXPECT_EQ(handlers.calls[0], "Loader:[000]:00560 001120");
    EXPECT_EQ(handlers.learning, -1);
    EXPECT_TRUE(handlers.log.empty());
}

TEST_F(Dispatcher, WaveAndAnalysisLinesComeFirstEvenWhileStartingUp) {
    handlers.state.startupDone = false;
    handlers.state.readBackRunning = true;
    EXPECT_EQ(Send("[012]:00560 001120"), Route::Wave);
    EXPECT_EQ(Send("Ave.Freq = 38.0kHz"), Route::Analysis);
    EXPECT_EQ(Send("IrEND:ACK(0x06)"), Route::IrEnd);
    EXPECT_EQ(handlers.calls,
              (std::vector<std::string>{"Wave:[012]:00560 001120", "Analysis:Ave.Freq = 38.0kHz"}));
    // "Ave" without the point is not an analysis line.
    handlers.state = {};
    handlers.state.startupDone = true;
    EXPECT_EQ(Send("Ave 38"), Route::Logged);
}

TEST_F(Dispatcher, IrEndSetsTheCompletionCodeAndIsLogged) {
    EXPECT_EQ(Send("IrEND:ACK(0x06)"), Route::IrEnd);
    EXPECT_EQ(handlers.irAck, 1);
    EXPECT_EQ(Send("IrEND:CRLF"), Route::IrEnd);
    EXPECT_EQ(handlers.irAck, 0);
    EXPECT_EQ(handlers.log, (std::vector<std::string>{"IrEND:ACK(0x06)", "IrEND:CRLF"}));
    EXPECT_FALSE(responded);
}

TEST_F(Dispatcher, WhileSearchingOnlyVersionLinesCount) {
    handlers.state.portSearchActive = true;
    EXPECT_EQ(Send("QUVAN-ARM Ver.20251223"), Route::VersionReply);
    EXPECT_TRUE(responded);
    EXPECT_EQ(Send("Trans Mode"), Route::StartupDropped);
    EXPECT_FALSE(responded);
    EXPECT_EQ(handlers.learning, -1);
    EXPECT_EQ(Send("ZEM:off"), Route::StartupDropped); // only before start-up is done
    EXPECT_FALSE(responded);
    EXPECT_TRUE(handlers.log.empty());
    EXPECT_EQ(handlers.calls, std::vector<std::string>{"Version:QUVAN-ARM Ver.20251223"});
}

TEST_F(Dispatcher, BeforeStartupZemOffEndsTheWait) {
    handlers.state.startupDone = false;
    EXPECT_EQ(Send("ZEM:off"), Route::StartupReply);
    EXPECT_TRUE(responded);
    EXPECT_EQ(Send("QUVAN-Pro Ver.20251223"), Route::VersionReply);
    EXPECT_TRUE(responded);
    EXPECT_EQ(Send("Analyze Mode"), Route::StartupDropped);
    EXPECT_EQ(handlers.learning, -1);
    EXPECT_TRUE(handlers.log.empty());
}

TEST_F(Dispatcher, ModeLinesMustMatchWhole) {
    EXPECT_EQ(Send("Trans Mode"), Route::TransMode);
    EXPECT_TRUE(responded);
    EXPECT_EQ(handlers.learning, 0);
    EXPECT_EQ(Send("Analyze Mode"), Route::AnalyzeMode);
    EXPECT_FALSE(responded);
    EXPECT_EQ(handlers.learning, 1);
    // With a kept delimiter (CR mode) the whole-text test fails and the line is logged.
    EXPECT_EQ(Send("Trans Mode 0Dh"), Route::Logged);
    EXPECT_EQ(handlers.learning, 1);
}

TEST_F(Dispatcher, AckCountsOnlyWhileTheRegisterDialogIsOpen) {
    EXPECT_EQ(Send("ACK"), Route::Logged);
    EXPECT_FALSE(responded);
    handlers.state.registerDialogVisible = true;
    EXPECT_EQ(Send("ACK"), Route::RegisterAck);
    EXPECT_TRUE(responded);
    EXPECT_EQ(Send("NAK"), Route::Logged);
}

TEST_F(Dispatcher, ReadBackTakesWhatTheEarlierRulesLeave) {
    handlers.state.readBackRunning = true;
    handlers.state.dipSwitchDialogVisible = true;
    EXPECT_EQ(Send("Twl:001"), Route::ReadBack);
    EXPECT_EQ(Send("Lend:0500"), Route::ReadBack);
    EXPECT_EQ(Send("Trans Mode"), Route::TransMode);
    EXPECT_EQ(handlers.calls, (std::vector<std::string>{"ReadBack:Twl:001", "ReadBack:Lend:0500"}));
}

TEST_F(Dispatcher, LendEchoAndLoaderBannerAreLoggedOnlyWhenAsked) {
    EXPECT_EQ(Send("Lend:0500"), Route::LendDropped);
    handlers.state.waveDataPanelVisible = true;
    EXPECT_EQ(Send("Lend:0500"), Route::LendLogged);
    EXPECT_EQ(Send("QUVAN-Loader Ver1.0"), Route::LoaderBannerDropped);
    handlers.state.monitorMode = true;
    EXPECT_EQ(Send("QUVAN-Loader Ver1.0"), Route::LoaderBannerLogged);
    EXPECT_EQ(handlers.log, (std::vector<std::string>{"Lend:0500", "QUVAN-Loader Ver1.0"}));
}

TEST_F(Dispatcher, DipSwitchDialogTakesTheRest) {
    handlers.state.dipSwitchDialogVisible = true;
    EXPECT_EQ(Send("BpsR:1"), Route::DipSwitch);
    EXPECT_EQ(Send("IrEND:CRLF"), Route::IrEnd);
    EXPECT_EQ(handlers.calls, std::vector<std::string>{"Dsw:BpsR:1"});
}

TEST_F(Dispatcher, LogClearsOnlyPastThreeThousandLines) {
    handlers.log.assign(3000, "x");
    EXPECT_EQ(Send("line"), Route::Logged);
    EXPECT_EQ(handlers.log.size(), 3001u);
    EXPECT_EQ(Send("next"), Route::Logged);
    EXPECT_EQ(handlers.log, std::vector<std::string>{"next"});
    // Lines logged by the other rules never clear it.
    handlers.log.assign(3001, "x");
    Send("IrEND:CRLF");
    handlers.state.waveDataPanelVisible = true;
    Send("Lend:0500");
    handlers.state.monitorMode = true;
    Send("QUVAN-Loader");
    EXPECT_EQ(handlers.log.size(), 3004u);
}

TEST_F(Dispatcher, VersionLineAtAnyOtherTimeIsLoggedAndRecorded) {
    EXPECT_EQ(Send("QUVAN-ARM Ver.20251223"), Route::Logged);
    EXPECT_TRUE(responded);
    EXPECT_EQ(handlers.log, std::vector<std::string>{"QUVAN-ARM Ver.20251223"});
    EXPECT_EQ(handlers.calls, std::vector<std::string>{"Version:QUVAN-ARM Ver.20251223"});
    // Case matters.
    EXPECT_EQ(Send("quvan-arm Ver.1"), Route::Logged);
    EXPECT_FALSE(responded);
}

} // namespace
} // namespace quvan::link
