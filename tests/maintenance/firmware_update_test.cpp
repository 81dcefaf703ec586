// The loader dialogue step by step, with the timers run by hand. Expected
// commands and texts are worked out from the formats of the update; the
// reason stands next to each case where it is not plain.

#include "../frame/temp_dir.h"
#include "firmware_recorder.h"

#include <fstream>
#include <gtest/gtest.h>

namespace quvan::maintenance {
namespace {

using Strings = std::vector<std::string>;

// 02+00+00+04+08+00 = 0E → F2; one byte at 0xC000: 01+C0 = C1 → 3F.
constexpr const char* kUpper0800 = ":020000040800F2";
constexpr const char* kByteAtC000 = ":01C00000003F";
// 04+00+10+00+01+02+03+04 = 1E → E2.
constexpr const char* kData0010 = ":0400100001020304E2";
constexpr const char* kEnd = ":00000001FF";
constexpr const char* kBanner = "QUVAN-Loader R1.00 ready";

std::string File(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines)
        text += std::string(line) + "\r\n";
    return text;
}

class Dialogue : public ::testing::Test {
  protected:
    std::string Write(const std::string& text, const char* name = "fw.hex") {
        const std::string path = (dir.path() / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    bool Fire(FirmwareTimer timer) {
        if (!fx.running(timer))
            return false;
        fx.timers.erase(timer);
        fw.TimerFired(timer);
        return true;
    }
    // Shows the dialog with `text` as the file and runs the update up to the
    // loader's request for the file.
    void UntilLoaderAsks(const std::string& text) {
        fw.Show(Write(text));
        fw.DownloadClick();
        ASSERT_TRUE(Fire(FirmwareTimer::StartWait)); // after "Ver"
        ASSERT_TRUE(Fire(FirmwareTimer::StartWait)); // the reset wait
        fw.HandleLoaderLine(kBanner);
        fw.HandleLoaderLine("FLASH Sector:2-3 Erased");
        fw.HandleLoaderLine("Please send the HEX file");
        ASSERT_EQ(fw.state(), DownloadState::Announced);
    }
    // Sends records until the run ends; `afterRecord` runs in the events
    // that follow each record, with the count sent so far.
    // Then waits out the line's queue and the loader's last answers, unless
    // told to stop there.
    void RunRecords(const std::function<void(std::size_t)>& afterRecord = {},
                    bool throughDrain = true) {
        while (fx.running(FirmwareTimer::NextRecord) ||
               (throughDrain && fx.running(FirmwareTimer::Drain))) {
            if (!Fire(FirmwareTimer::NextRecord))
                Fire(FirmwareTimer::Drain);
            if (afterRecord)
                afterRecord(fw.recordsSent());
        }
    }
    // The records sent, without the dialogue around them.
    Strings Records() const {
        Strings records;
        for (const std::string& text : fx.sent)
            if (text.empty() || text.front() == ':')
                records.push_back(text);
        return records;
    }

    test_support::TempDir dir;
    FirmwareRecorder fx;
    FirmwareUpdate fw{fx};
};

TEST_F(Dialogue, AWholeUpdateFromTheClickToTheOutcome) {
    const std::string file = File({kUpper0800, kByteAtC000, kEnd});
    fw.Show(Write(file));
    EXPECT_EQ(fx.status, "LastAdrs[0x0800:C000] EraseSector:3");
    EXPECT_EQ(fw.lastEraseSector(), 3);

    fw.DownloadClick();
    ASSERT_EQ(fx.messages.size(), 1u);
    EXPECT_EQ(fx.messages[0].kind, 2);
    EXPECT_EQ(fx.messages[0].caption, "Download");
    EXPECT_EQ(fx.messages[0].text, "Update the firmware of QUVAN-ARM.");
    EXPECT_TRUE(fx.busy);
    EXPECT_EQ(fx.sent, Strings{"Ver"});
    EXPECT_EQ(fx.timeOf(FirmwareTimer::StartWait), 500);
    EXPECT_EQ(fw.state(), DownloadState::Idle); // until the loader answers

    Fire(FirmwareTimer::StartWait);
    EXPECT_TRUE(fx.eraseNotice);
    EXPECT_EQ(fx.timeOf(FirmwareTimer::StartWait), 500); // edtRstWait
    Fire(FirmwareTimer::StartWait);
    EXPECT_EQ(fx.sent, (Strings{"Ver", "Reset"}));
    EXPECT_EQ(fx.timeOf(FirmwareTimer::LoaderWait), FirmwareUpdate::kDefaultLoaderWaitMs);

    fx.log = {"earlier line"};
    fw.HandleLoaderLine(kBanner);
    EXPECT_EQ(fw.state(), DownloadState::Announced);
    EXPECT_EQ(fx.log, Strings{kBanner}); // cleared first, then the banner itself
    EXPECT_EQ(fx.sent.back(), "3:Last Sector to Erase");
    EXPECT_EQ(fx.answeredWithOk, 1);

    fw.HandleLoaderLine("FLASH Sector:2-3 Erased");
    EXPECT_EQ(fx.status, "FLASH Sector:2-3 Erased");
    EXPECT_EQ(fx.sent.back(), "Download Ready ?");

    fw.HandleLoaderLine("Please send the HEX file");
    EXPECT_EQ(fx.sounds, std::vector<FirmwareSound>{FirmwareSound::Chimes});
    EXPECT_EQ(fx.timeOf(FirmwareTimer::AutoStart), 1000);
    EXPECT_FALSE(fx.running(FirmwareTimer::LoaderWait));

    Fire(FirmwareTimer::AutoStart);
    EXPECT_EQ(fw.state(), DownloadState::Sending);
    EXPECT_TRUE(fw.sending());
    EXPECT_EQ(fx.status, "Now Downloading ...");
    EXPECT_FALSE(fx.eraseNotice);
    EXPECT_FALSE(fx.fileEnabled);
    EXPECT_TRUE(fx.progressShown);
    // 45 bytes: below 100, so the bar spans the whole file.
    EXPECT_EQ(fx.progressMax, static_cast<int>(file.size()));

    RunRecords();
    EXPECT_EQ(Records(), (Strings{kUpper0800, kByteAtC000, kEnd}));
    EXPECT_EQ(fx.progress, fx.progressMax);
    EXPECT_EQ(fx.addresses.back(), "0x0800:C000");
    EXPECT_EQ(fx.sounds.back(), FirmwareSound::Tada);
    EXPECT_EQ(fx.status, "Completed");
    EXPECT_EQ(fx.messages.back().kind, 1);
    EXPECT_EQ(fx.messages.back().caption, "Download");
    EXPECT_EQ(fx.messages.back().text, "Completed");
    EXPECT_EQ(fx.sent.back(), "Reset");
    EXPECT_EQ(fw.state(), DownloadState::Halted);
    EXPECT_EQ(fw.outcome(), UpdateOutcome::Completed);
    EXPECT_FALSE(fx.busy);
    EXPECT_TRUE(fx.fileEnabled);
    EXPECT_FALSE(fx.progressShown);
    EXPECT_TRUE(fx.closed);
}

TEST_F(Dialogue, TheSendWalksTheLinesAsTheLoaderExpectsThem) {
    // The load offset shows alone until the first extended address has gone
    // out (01+1A+40 = 5B → A5); a blank line is sent as an empty command; the
    // send stops right after the end record.
    UntilLoaderAsks(std::string(":011A400000A5\r\n\r\n") + kUpper0800 + "\r\n" + kData0010 +
                    "\r\n" + kEnd + "\r\n:0100000000FF\r\n");
    Fire(FirmwareTimer::AutoStart);
    RunRecords();
    EXPECT_EQ(Records(), (Strings{":011A400000A5", "", kUpper0800, kData0010, kEnd}));
    EXPECT_EQ(fx.addresses, (Strings{"", ":1A40", "0x0800:0010"}));
    EXPECT_EQ(fw.outcome(), UpdateOutcome::Completed);
}

TEST_F(Dialogue, EachFlashSectorLineAsksAgainAndTheConsoleKeepsTheDialog) {
    fx.console = true;
    UntilLoaderAsks(File({kData0010, kEnd}));
    fw.HandleLoaderLine("FLASH Sector:2-3 Erased");
    int readyQuestions = 0;
    for (const std::string& text : fx.sent)
        readyQuestions += text == "Download Ready ?";
    EXPECT_EQ(readyQuestions, 2);

    Fire(FirmwareTimer::AutoStart);
    RunRecords();
    // With the console open the records are logged and the dialog stays.
    EXPECT_NE(std::find(fx.log.begin(), fx.log.end(), kData0010), fx.log.end());
    EXPECT_FALSE(fx.closed);
    EXPECT_EQ(fw.state(), DownloadState::Halted);
    fw.DownloadClick(); // state 3: back to idle, nothing sent
    const std::size_t before = fx.sent.size();
    EXPECT_EQ(fw.state(), DownloadState::Idle);
    EXPECT_EQ(fx.sent.size(), before);
    fw.DownloadClick(); // and the next click starts again
    EXPECT_EQ(fx.messages.back().text, "Update the firmware of QUVAN-ARM.");
}

TEST_F(Dialogue, ABadFileIsRefusedBeforeTheBoardIsTouched) {
    // 1E → E2, not E3.
    fw.Show(Write(File({kUpper0800, ":0400100001020304E3", kEnd})));
    EXPECT_EQ(fx.status, "2 行目: チェックサムが E3 ですが、レコードの内容からは E2 です");
    fw.DownloadClick();
    EXPECT_TRUE(fx.sent.empty());
    ASSERT_EQ(fx.messages.size(), 1u); // the refusal, no question
    EXPECT_EQ(fx.messages[0].caption, "Warning");
    EXPECT_NE(fx.messages[0].text.find("2 行目: チェックサムが E3"), std::string::npos);
    EXPECT_EQ(fw.outcome(), UpdateOutcome::FileRefused);
    EXPECT_FALSE(fx.busy);

    fw.Show(Write(File({kUpper0800, kData0010}), "noend.hex"));
    fw.DownloadClick();
    EXPECT_TRUE(fx.sent.empty());
    EXPECT_NE(fx.messages.back().text.find("終了レコード (:00000001FF) がありません"), std::string::npos);

    const std::string missing = (dir.path() / "missing.hex").string();
    fw.Show(missing);
    EXPECT_EQ(fx.status, "Can't open ... " + missing);
    fw.DownloadClick();
    EXPECT_TRUE(fx.sent.empty());
    EXPECT_NE(fx.messages.back().text.find("Can't open ... " + missing), std::string::npos);
}

TEST_F(Dialogue, AFileSpoiltAfterTheResetIsNotSent) {
    UntilLoaderAsks(File({kData0010, kEnd}));
    Write(File({":0400000300003800C1", kEnd})); // type 03 now
    Fire(FirmwareTimer::AutoStart);
    RunRecords();
    EXPECT_TRUE(Records().empty());
    EXPECT_EQ(fw.outcome(), UpdateOutcome::Failure);
    EXPECT_EQ(fx.sent.back(), "Reset");
}

TEST_F(Dialogue, ChoosingAFileScansAndJudgesIt) {
    fw.Show("");
    EXPECT_EQ(fw.lastEraseSector(), 0);
    fw.FileChosen(Write(File({kUpper0800, kByteAtC000, kEnd})));
    EXPECT_EQ(fw.lastEraseSector(), 3);
    EXPECT_TRUE(fx.messages.empty());
    fw.FileChosen(Write(File({":0500100001020304E2", kEnd}), "bad.hex"));
    ASSERT_EQ(fx.messages.size(), 1u);
    EXPECT_NE(fx.messages[0].text.find("1 行目: バイト数は 5 です"), std::string::npos);
    EXPECT_EQ(fw.hexPath(), (dir.path() / "bad.hex").string());
}

TEST_F(Dialogue, ALoaderErrorOrALostLineMeansFailure) {
    UntilLoaderAsks(File({kUpper0800, kData0010, kByteAtC000, kEnd}));
    Fire(FirmwareTimer::AutoStart);
    RunRecords([&](std::size_t sent) {
        if (sent == 2)
            fw.HandleLoaderLine("Record error: flash write failed");
    });
    // The run stops after the record during which the error came.
    EXPECT_EQ(Records(), (Strings{kUpper0800, kData0010}));
    EXPECT_EQ(fx.status, "Failure");
    EXPECT_EQ(fx.messages.back().text, "Failure\nRecord error: flash write failed");
    EXPECT_EQ(fx.sounds.back(), FirmwareSound::Chord);
    EXPECT_EQ(fx.sent.back(), "Reset");

    // A record the line does not take whole is a hole in the firmware.
    fx = FirmwareRecorder();
    UntilLoaderAsks(File({kUpper0800, kData0010, kByteAtC000, kEnd}));
    Fire(FirmwareTimer::AutoStart);
    fx.lineTakes = [](const std::string& text) { return text != kData0010; };
    RunRecords();
    EXPECT_EQ(Records(), Strings{kUpper0800});
    EXPECT_EQ(fw.outcome(), UpdateOutcome::Failure);
    EXPECT_EQ(fx.messages.back().text, "Failure\n2 行目の送信で通信に失敗しました。");

    // The adapter is pulled out while the records go.
    fx = FirmwareRecorder();
    UntilLoaderAsks(File({kUpper0800, kData0010, kByteAtC000, kEnd}));
    Fire(FirmwareTimer::AutoStart);
    RunRecords([&](std::size_t sent) {
        if (sent == 1)
            fw.LineLost();
    });
    EXPECT_EQ(Records(), Strings{kUpper0800});
    EXPECT_EQ(fw.outcome(), UpdateOutcome::Failure);
}

TEST_F(Dialogue, TheOutcomeWaitsUntilTheLineHasSentEverything) {
    UntilLoaderAsks(File({kData0010, kEnd}));
    Fire(FirmwareTimer::AutoStart);
    fx.queued = {120, 40};
    RunRecords({}, false);
    EXPECT_EQ(fx.timeOf(FirmwareTimer::Drain), FirmwareUpdate::kDrainLookMs);
    EXPECT_TRUE(fx.messages.back().text.starts_with("Update")); // no outcome yet
    Fire(FirmwareTimer::Drain);
    Fire(FirmwareTimer::Drain); // 0 now: the loader gets its moment
    EXPECT_EQ(fx.timeOf(FirmwareTimer::Drain), FirmwareUpdate::kSettleMs);
    fw.DownloadClick();                            // nothing left to stop
    fw.HandleLoaderLine("Record error: checksum"); // about the last record
    Fire(FirmwareTimer::Drain);
    EXPECT_EQ(fw.outcome(), UpdateOutcome::Failure);
    EXPECT_EQ(fx.messages.back().text, "Failure\nRecord error: checksum");

    // The line goes while its queue still empties.
    fx = FirmwareRecorder();
    UntilLoaderAsks(File({kData0010, kEnd}));
    Fire(FirmwareTimer::AutoStart);
    fx.queued = {120, -1};
    RunRecords();
    EXPECT_EQ(fw.outcome(), UpdateOutcome::Failure);
    EXPECT_EQ(fx.messages.back().text, "Failure\n通信が途絶えました。");

    // A queue that never empties has not delivered the file.
    fx = FirmwareRecorder();
    UntilLoaderAsks(File({kData0010, kEnd}));
    Fire(FirmwareTimer::AutoStart);
    fx.queued.assign(FirmwareUpdate::kDrainLimitMs / FirmwareUpdate::kDrainLookMs + 5, 64);
    RunRecords();
    EXPECT_EQ(fw.outcome(), UpdateOutcome::Failure);
    EXPECT_EQ(fx.messages.back().text, "Failure\n最後のレコードを送信できませんでした。");
}

TEST_F(Dialogue, AStopEndsTheSendWithCancel) {
    UntilLoaderAsks(File({kUpper0800, kData0010, kByteAtC000, kEnd}));
    Fire(FirmwareTimer::AutoStart);
    RunRecords([&](std::size_t sent) {
        if (sent == 1 && fw.state() == DownloadState::Sending) {
            fw.DownloadClick(); // stop
            fw.DownloadClick(); // a second click while the run winds down changes nothing
        }
    });
    EXPECT_EQ(Records(), Strings{kUpper0800});
    EXPECT_EQ(fx.messages.back().text, "Cancel");
    EXPECT_EQ(fw.outcome(), UpdateOutcome::Cancel);
    EXPECT_EQ(fw.state(), DownloadState::Halted);
}

TEST_F(Dialogue, AStopInTheSecondBeforeTheSendKeepsTheFileUnsent) {
    UntilLoaderAsks(File({kData0010, kEnd}));
    fw.DownloadClick();
    EXPECT_EQ(fw.state(), DownloadState::Halted);
    EXPECT_TRUE(fx.busy); // the caption keeps "Busy" until the next click
    EXPECT_FALSE(Fire(FirmwareTimer::AutoStart));
    fw.TimerFired(FirmwareTimer::AutoStart); // even a late tick does nothing
    EXPECT_TRUE(Records().empty());
    fw.DownloadClick();
    EXPECT_EQ(fw.state(), DownloadState::Idle);
    EXPECT_FALSE(fx.busy);
}

TEST_F(Dialogue, AClickDuringTheStartSequenceStopsItBeforeTheReset) {
    fw.Show(Write(File({kData0010, kEnd})));
    fw.DownloadClick();
    Fire(FirmwareTimer::StartWait);
    fw.DownloadClick();
    EXPECT_FALSE(fx.running(FirmwareTimer::StartWait));
    EXPECT_EQ(fx.sent, Strings{"Ver"});
    EXPECT_EQ(fw.state(), DownloadState::Halted);
    fw.DownloadClick();
    EXPECT_EQ(fw.state(), DownloadState::Idle);
    EXPECT_FALSE(fx.eraseNotice);
}

TEST_F(Dialogue, ASilentLoaderIsGivenUpAndARetryWorks) {
    fw.setLoaderWaitMs(5000);
    fw.Show(Write(File({kData0010, kEnd})));
    fw.DownloadClick();
    Fire(FirmwareTimer::StartWait);
    Fire(FirmwareTimer::StartWait);
    EXPECT_EQ(fx.timeOf(FirmwareTimer::LoaderWait), 5000);
    EXPECT_TRUE(Fire(FirmwareTimer::LoaderWait));
    EXPECT_EQ(fx.messages.back().text, "QUVAN-Loader が 5 秒以内に応答しませんでした。\n"
                                       "ボードとケーブルを確認してから、もう一度実行して下さい。");
    EXPECT_EQ(fw.outcome(), UpdateOutcome::NoLoader);
    EXPECT_EQ(fw.state(), DownloadState::Idle);
    EXPECT_FALSE(fx.busy);
    EXPECT_EQ(fx.sent, (Strings{"Ver", "Reset"})); // not in the loader: nothing more
    // A banner that comes after all does not start an erase unasked.
    fw.HandleLoaderLine(kBanner);
    EXPECT_EQ(fw.state(), DownloadState::Idle);
    EXPECT_EQ(fx.sent.size(), 2u);

    // The retry runs the whole start again.
    fw.DownloadClick();
    EXPECT_EQ(fx.sent.back(), "Ver");
    Fire(FirmwareTimer::StartWait);
    Fire(FirmwareTimer::StartWait);
    fw.HandleLoaderLine(kBanner);
    EXPECT_EQ(fw.state(), DownloadState::Announced);
}

TEST_F(Dialogue, ALoaderThatNeverAsksForTheFileIsResetToTheApplication) {
    fw.Show(Write(File({kData0010, kEnd})));
    fw.DownloadClick();
    Fire(FirmwareTimer::StartWait);
    Fire(FirmwareTimer::StartWait);
    fw.HandleLoaderLine(kBanner);
    // Each loader step gives it the whole wait again.
    fx.timers.erase(FirmwareTimer::LoaderWait);
    fw.HandleLoaderLine("FLASH Sector:2-2 Erased");
    EXPECT_TRUE(fx.running(FirmwareTimer::LoaderWait));
    Fire(FirmwareTimer::LoaderWait);
    EXPECT_EQ(fx.sent.back(), "Reset");
    EXPECT_EQ(fw.state(), DownloadState::Idle);
    EXPECT_EQ(fw.outcome(), UpdateOutcome::NoLoader);
}

TEST_F(Dialogue, AnEraseErrorStopsBeforeAnyRecord) {
    fw.Show(Write(File({kData0010, kEnd})));
    fw.DownloadClick();
    Fire(FirmwareTimer::StartWait);
    Fire(FirmwareTimer::StartWait);
    fw.HandleLoaderLine(kBanner);
    fw.HandleLoaderLine("Erase error: no sector 9");
    EXPECT_EQ(fw.outcome(), UpdateOutcome::Failure);
    EXPECT_EQ(fx.messages.back().text, "Failure\nErase error: no sector 9");
    EXPECT_EQ(fx.sent.back(), "Reset");
    EXPECT_FALSE(fx.running(FirmwareTimer::LoaderWait));
    fw.HandleLoaderLine("Please send the HEX file"); // too late: state 3
    EXPECT_FALSE(fx.running(FirmwareTimer::AutoStart));
    EXPECT_TRUE(Records().empty());
}

TEST_F(Dialogue, AnAnnouncementNobodyAskedForIsOnlyLogged) {
    fw.Show(Write(File({kData0010, kEnd})));
    fw.HandleLoaderLine(kBanner);
    EXPECT_EQ(fw.state(), DownloadState::Idle);
    EXPECT_TRUE(fx.sent.empty());
    EXPECT_EQ(fx.log, Strings{kBanner});
    // "Please send" outside state 1 is passed over too.
    fw.HandleLoaderLine("Please send the HEX file");
    EXPECT_FALSE(fx.running(FirmwareTimer::AutoStart));
}

TEST_F(Dialogue, VersionLinesWhileIdle) {
    fw.Show("");
    fw.HandleLoaderLine("QUVAN-ARM Ver.20251223");
    EXPECT_EQ(fx.status, "QUVAN-ARM Ver.20251223");
    EXPECT_EQ(fx.responseFlags, 0); // no reply while the dialog is up...
    fx.searching = true;
    fw.HandleLoaderLine("QUVAN-ARM Ver.20251223");
    EXPECT_EQ(fx.responseFlags, 1); // ...except to a port search
}

TEST_F(Dialogue, NoBoardNoPathAndTheResetWait) {
    fw.Show(Write(File({kData0010, kEnd})));
    fx.open = false;
    fx.boardAnswers = false;
    fw.DownloadClick();
    EXPECT_EQ(fx.messages.back().caption, "Warning");
    EXPECT_EQ(fx.messages.back().text, "QUVAN-ARM と通信出来ません。");
    EXPECT_EQ(fw.outcome(), UpdateOutcome::NoBoard);

    fx = FirmwareRecorder();
    fw.Show("");
    fw.DownloadClick(); // no file: not a word
    EXPECT_TRUE(fx.messages.empty());
    EXPECT_TRUE(fx.sent.empty());

    const std::vector<std::pair<std::string, int>> waits = {
        {"1500", 1500}, {"abc", 500}, {"", 500}, {"-5", 0}};
    for (const auto& [text, ms] : waits) {
        fx = FirmwareRecorder();
        fx.resetWait = text;
        fw.Show(Write(File({kData0010, kEnd})));
        fw.DownloadClick();
        Fire(FirmwareTimer::StartWait);
        EXPECT_EQ(fx.timeOf(FirmwareTimer::StartWait), ms) << text;
    }

    fx = FirmwareRecorder();
    fx.answer = 2; // No to the question
    fw.Show(Write(File({kData0010, kEnd})));
    fw.DownloadClick();
    EXPECT_TRUE(fx.sent.empty());
    EXPECT_FALSE(fx.busy);
}

TEST_F(Dialogue, AbandoningStopsEveryTimer) {
    UntilLoaderAsks(File({kData0010, kEnd}));
    fw.Abandon();
    EXPECT_TRUE(fx.timers.empty());
    EXPECT_EQ(fw.state(), DownloadState::Idle);
}

} // namespace
} // namespace quvan::maintenance
