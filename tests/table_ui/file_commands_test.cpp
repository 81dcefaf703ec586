// File New, Open and Save, the path commands and the start-up load, through
// the real main window. Expected file bytes are written out from the file's
// layout by hand.

#include "table_ui_fixture.h"

namespace quvan::table_ui {
namespace {

std::string BlankPatterns(int from) {
    std::string text;
    const char* digits = "0123456789ABCDEF";
    for (int i = from; i < 16; ++i)
        text += std::string("Twp:") + digits[i] + ":00000 000000,";
    return text;
}

std::string BlankRowLine(int row) {
    char label[16];
    std::snprintf(label, sizeof label, "[%03d],", row);
    return label + std::string(",,,,Twc:000,Twb:000,Twr:000,") + BlankPatterns(0) + "Twd:,\r\n";
}

// Row 1 of the tables below: a three-pulse signal with two patterns.
const std::string kRow1Line = "[001],38.0kHz,1,TV,Tm:NEC,Twc:380,Twb:003,Twr:000,"
                              "Twp:0:00560 001120,Twp:1:00560 002240," +
                              BlankPatterns(2) + "Twd:1011,\r\n";

class FileCommands : public TableUiTest {
  protected:
    void SetUp() override {
        Start();
        main().state().StartupDone = true; // the start sequence is tested on its own
    }
    void FillRow1() {
        table().setCell(1, ColCarry, "38.0kHz");
        table().setCell(1, ColFrames, "1");
        table().setCell(1, ColComments, "TV");
        table().setCell(1, ColResult, "Tm:NEC");
        LearnedSignal& s = table().record(1);
        s.Carry = 380;
        s.DataBits = 3;
        s.PatternHigh[0] = 560;
        s.PatternWidth[0] = 1120;
        s.PatternHigh[1] = 560;
        s.PatternWidth[1] = 2240;
        s.PatternCode[0] = 1;
        s.PatternCode[2] = 1;
    }
    void Answer(const std::filesystem::path& path, int filter = kFilterCsv) {
        dialogAnswer = FileDialogChoice{QString::fromStdString(path.string()), filter};
    }
    std::string ExpectedStdFile(const std::string& header) {
        std::string bytes = header + "\r\n" + kRow1Line;
        for (int row = 2; row <= 250; ++row)
            bytes += BlankRowLine(row);
        return bytes;
    }
    std::string& CsvPath() { return main().state().settings.CsvFilePath; }
};

TEST_F(FileCommands, SaveWritesTheTableAndOpenBringsItBack) {
    FillRow1();
    w().ckPhilips->setChecked(true);
    w().cmbTs->setCurrentText("560");
    main().SetTableModified(true);
    const auto path = dir.path() / "remotes.Csv";
    Answer(path);
    commands().FileSave();

    ASSERT_EQ(dialogRequests.size(), 1u);
    const FileDialogRequest& save = dialogRequests[0];
    EXPECT_EQ(save.kind, FileDialogKind::Save);
    EXPECT_EQ(save.filters,
              QStringList({"ｶﾝﾏ形式ﾃﾞｰﾀﾌｧｲﾙ (*.Csv)", "ﾃｷｽﾄﾌｧｲﾙ (*.Txt)", "Firmware File (*.Hex)",
                           "Sound File (*.Wav)", "ﾘﾓｺﾝ波形ｲﾒｰｼﾞﾌｧｲﾙ (*.Bmp)", "全てのﾌｧｲﾙ (*.*)"}));
    EXPECT_EQ(save.filterIndex, 1);
    EXPECT_EQ(save.defaultSuffix, "Csv");
    EXPECT_EQ(save.initialFileName.toStdString(), (dir.path() / "Dat/*.Csv").string());

    EXPECT_EQ(ReadBytes(path),
              ExpectedStdFile("QUVAN Table File : Philips Ts:560 Tw:1480 Bits:54"));
    EXPECT_FALSE(main().state().TableModified);
    EXPECT_EQ(main().statusPanelText(1), "");
    EXPECT_EQ(main().statusPanelText(2).toStdString(), path.string());
    EXPECT_EQ(CsvPath(), path.string());
    EXPECT_TRUE(shown.empty());

    // Change the table, then open the file again, discarding the change.
    commands().model().setData(commands().model().index(0, ColComments), "changed");
    table().clearRow(1);
    EXPECT_TRUE(main().state().TableModified);
    w().ckPhilips->setChecked(false);
    popup().ppCopy->trigger();
    answers = {true};
    commands().FileOpen();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "警告");
    EXPECT_EQ(shown[0].text, "現在の学習情報を保存していません。\n破棄してもよろしいですか？");
    ASSERT_EQ(dialogRequests.size(), 2u);
    EXPECT_EQ(dialogRequests[1].kind, FileDialogKind::Open);
    EXPECT_EQ(dialogRequests[1].filters.size(), 7);
    EXPECT_EQ(dialogRequests[1].filters[5], "USB Driver File (*.Exe)");
    EXPECT_EQ(dialogRequests[1].initialFileName.toStdString(), path.string());

    EXPECT_EQ(table().cell(1, ColComments), "TV");
    EXPECT_EQ(table().record(1).PatternCode[3], 1); // the padding digit
    EXPECT_EQ(table().record(1).DataBits, 3);
    EXPECT_TRUE(w().ckPhilips->isChecked());
    EXPECT_EQ(w().pnlCont->property("tag").toInt(), 1);
    EXPECT_FALSE(w().ckPhilips->isHidden());
    EXPECT_FALSE(main().state().TableModified);
    EXPECT_EQ(main().statusPanelText(1), "");
    EXPECT_EQ(popup().copyMark(), 0);
    EXPECT_EQ(popup().ppCopy->text(), "コピー (&Copy)");
    EXPECT_EQ(grid().cursorRow(), 1);
    EXPECT_EQ(grid().cursorColumn(), ColCarry);

    // Nothing is unsaved now: New does not ask.
    commands().FileNew();
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_TRUE(table().isBlank(1));
    EXPECT_EQ(CsvPath(), "");
    EXPECT_EQ(main().statusPanelText(2), "");
}

TEST_F(FileCommands, NewAsksOnlyAboutUnsavedWork) {
    std::vector<std::string> calls;
    commands().waveView.ClearLanes = [&](int n) { calls.push_back("lanes" + std::to_string(n)); };
    commands().waveView.ClearLaneData = [&](int n) { calls.push_back("data" + std::to_string(n)); };
    commands().waveView.SetCurrentLane = [&](int n) { calls.push_back("cur" + std::to_string(n)); };
    commands().waveView.ResetCaptureResult = [&] { calls.push_back("result"); };

    FillRow1();
    main().SetTableModified(true);
    main().appendLog("line");
    answers = {false};
    commands().FileNew();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, 2);
    EXPECT_EQ(shown[0].text,
              "学習情報を新規作成します。\n現在の学習情報を破棄してもよろしいですか？");
    EXPECT_EQ(table().cell(1, ColComments), "TV");
    EXPECT_TRUE(main().state().TableModified);
    EXPECT_TRUE(calls.empty());

    CsvPath() = "/somewhere/old.Csv";
    commands().FileNew(); // answered Yes
    EXPECT_TRUE(table().isBlank(1));
    EXPECT_EQ(table().record(1).Carry, 0);
    EXPECT_FALSE(main().state().TableModified);
    EXPECT_EQ(main().statusPanelText(1), "");
    EXPECT_EQ(main().logLineCount(), 0);
    EXPECT_EQ(CsvPath(), "");
    EXPECT_EQ(calls, (std::vector<std::string>{"lanes2", "data2", "cur2", "result"}));
}

TEST_F(FileCommands, RefusedFiltersAndFailedSavesKeepEverything) {
    FillRow1();
    main().SetTableModified(true);
    Answer(dir.path() / "fw.Hex", kFilterHex);
    commands().FileSave();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, 1);
    EXPECT_EQ(shown[0].caption, "警告");
    EXPECT_EQ(shown[0].text, "選択されたファイル形式では保存出来ません。");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "fw.Hex"));
    EXPECT_TRUE(main().state().TableModified);

    for (int refused : {kFilterWav, kFilterBmp}) {
        Answer(dir.path() / "x", refused);
        commands().FileSave();
    }
    EXPECT_EQ(shown.size(), 3u);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "x"));

    // The text filter writes the table format under the chosen name.
    Answer(dir.path() / "t.Txt", kFilterTxt);
    commands().FileSave();
    EXPECT_EQ(ReadBytes(dir.path() / "t.Txt"), ExpectedStdFile("QUVAN Table File"));
    EXPECT_EQ(CsvPath(), (dir.path() / "t.Txt").string());

    // A file that cannot be written: reported, nothing else changes.
    main().SetTableModified(true);
    Answer(dir.path() / "missing-folder" / "t.Csv");
    commands().FileSave();
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[3].caption, "File Error");
    EXPECT_EQ(shown[3].text,
              "Can't perform one of the following \nfile operations: Open, Write, Close.");
    EXPECT_TRUE(main().state().TableModified);
    EXPECT_EQ(CsvPath(), (dir.path() / "t.Txt").string());
    EXPECT_EQ(main().statusPanelText(2).toStdString(), (dir.path() / "t.Txt").string());

    // Cancelling the dialog does nothing at all.
    dialogAnswer.reset();
    commands().FileSave();
    EXPECT_EQ(shown.size(), 4u);
    EXPECT_TRUE(main().state().TableModified);
}

TEST_F(FileCommands, OpenAsksAboutForeignFilesAndReportsBadNumbers) {
    FillRow1();
    const auto foreign = dir.path() / "notes.txt";
    WriteBytes(foreign, "hello\r\n[001],x,,,,Twc:100,\r\n");
    Answer(foreign);
    answers = {false};
    commands().FileOpen();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "Warning");
    EXPECT_EQ(shown[0].text, "QUVANのテーブルファイルでは有りません。\n強制的に開きますか？");
    EXPECT_EQ(table().cell(1, ColComments), "TV");
    EXPECT_EQ(CsvPath(), "");

    // A bad pattern digit in row 2: row 1 and the read part of row 2 stay,
    // and the table counts as changed, not as opened.
    const auto bad = dir.path() / "bad.Csv";
    WriteBytes(bad, "QUVAN Table File : Eiritsu\r\n" + kRow1Line +
                        "[002],39.0kHz,3,AC,,Twc:390,Twb:002,Twr:000,Twd:1G,\r\n" +
                        BlankRowLine(3));
    Answer(bad);
    commands().FileOpen();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].kind, 1);
    EXPECT_TRUE(shown[1].text.contains("2")) << shown[1].text.toStdString();
    EXPECT_EQ(table().cell(1, ColResult), "Tm:NEC");
    EXPECT_EQ(table().cell(2, ColComments), "AC");
    EXPECT_EQ(table().record(2).Carry, 390);
    EXPECT_TRUE(main().state().TableModified);
    EXPECT_EQ(CsvPath(), "");
    EXPECT_TRUE(w().ckEiritsu->isChecked());
    EXPECT_FALSE(w().ckEiritsu->isHidden());

    // A file that cannot be read changes nothing, and says why.
    Answer(dir.path() / "nothing.Csv");
    answers = {true};
    commands().FileOpen();
    ASSERT_EQ(shown.size(), 4u); // the unsaved-work question, then the failure
    EXPECT_EQ(shown[3].kind, 1);
    EXPECT_EQ(shown[3].caption, "File Error");
    EXPECT_EQ(shown[3].text.toStdString(), "ファイルを開けません。\n" +
                                               (dir.path() / "nothing.Csv").string() +
                                               ": No such file or directory");
    EXPECT_EQ(table().cell(2, ColComments), "AC");
    EXPECT_TRUE(main().state().TableModified);
}

TEST_F(FileCommands, RowsLeftUnreadAreReportedAndTheTableCountsAsChanged) {
    // Blank lines are read past; the stray line on line 5 stops reading
    // with one row line after it.
    const auto path = dir.path() / "edited.Csv";
    WriteBytes(path, "QUVAN Table File\r\n" + kRow1Line + "\r\n" + BlankRowLine(2) +
                         "=SUM(A1:A2)\r\n" + kRow1Line);
    Answer(path);
    commands().FileOpen();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, 1);
    EXPECT_TRUE(shown[0].text.contains("line 5")) << shown[0].text.toStdString();
    EXPECT_TRUE(shown[0].text.contains("1 row line(s) after it were not read"));
    EXPECT_EQ(table().cell(1, ColComments), "TV");
    EXPECT_TRUE(main().state().TableModified);
    EXPECT_EQ(main().statusPanelText(1), "変更");
}

TEST_F(FileCommands, ARowCutShortIsShownAndTheTableCountsAsChanged) {
    const auto path = dir.path() / "cut.Csv";
    WriteBytes(path, "QUVAN Table File\r\n" + kRow1Line.substr(0, kRow1Line.size() - 5));
    Answer(path);
    commands().FileOpen();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "Warning");
    EXPECT_TRUE(shown[0].text.contains("row 1, Twd: holds 2 codes where Twb:3 asks for 3"))
        << shown[0].text.toStdString();
    EXPECT_EQ(CsvPath(), path.string());
    EXPECT_TRUE(main().state().TableModified);
}

TEST_F(FileCommands, ValuesTheTableCannotHoldAreShown) {
    // 5000 codes do not fit a record of 4096: the load says so.
    const auto path = dir.path() / "long.Csv";
    WriteBytes(path,
               "QUVAN Table File\r\n[001],38.0kHz,1,TV,,Twc:380,Twb:5000,Twr:000,Twd:00,\r\n");
    Answer(path);
    commands().FileOpen();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, 1);
    EXPECT_EQ(shown[0].caption, "Warning");
    EXPECT_TRUE(shown[0].text.contains("row 1")) << shown[0].text.toStdString();
    EXPECT_LE(table().record(1).DataBits, kMaxPatternCodes);
    EXPECT_EQ(CsvPath(), path.string());
}

TEST_F(FileCommands, MonitorModeDumpsTheLoadedRows) {
    const auto path = dir.path() / "one.Csv";
    WriteBytes(path, "QUVAN Table File\r\n" + kRow1Line + BlankRowLine(2));
    main().appendLog("old line");
    commands().setMonitorMode(true);
    Answer(path);
    commands().FileOpen();
    EXPECT_EQ(main().logText().toStdString(),
              "[001] Twc:380,Twb:003,Twr:000,Twp:0:00560 001120,Twp:1:00560 002240," +
                  BlankPatterns(2) + "Twd:1011");
}

TEST_F(FileCommands, PathCommandsOnlyChangeThePaths) {
    Answer(dir.path() / "other.Csv");
    commands().ChooseCsvFilePath();
    EXPECT_EQ(CsvPath(), (dir.path() / "other.Csv").string());
    EXPECT_EQ(main().statusPanelText(2).toStdString(), CsvPath());
    EXPECT_EQ(dialogRequests.back().filterIndex, kFilterCsv);

    const std::string hexBefore = main().state().settings.HexFilePath;
    Answer(dir.path() / "fw" / "new.Hex");
    commands().ChooseHexFilePath();
    EXPECT_EQ(dialogRequests.back().filterIndex, kFilterHex);
    EXPECT_EQ(dialogRequests.back().initialFileName.toStdString(), hexBefore);
    EXPECT_EQ(main().state().settings.HexFilePath, (dir.path() / "fw" / "new.Hex").string());

    Answer(dir.path() / "snd" / "any.wav");
    commands().ChooseSoundFolder();
    EXPECT_EQ(dialogRequests.back().filterIndex, kFilterWav);
    EXPECT_TRUE(dialogRequests.back().initialFileName.endsWith("*.Wav"));
    const std::string folder = (dir.path() / "snd").string() + "/";
    EXPECT_EQ(main().state().settings.SoundFolder, folder);
    EXPECT_EQ(main().state().settings.Sounds.SoundTada, folder + "snd_tada.wav");

    dialogAnswer.reset();
    commands().ChooseCsvFilePath();
    EXPECT_EQ(CsvPath(), (dir.path() / "other.Csv").string());
    EXPECT_TRUE(table().isBlank(1));
}

class StartupLoad : public TableUiTest {
  protected:
    void StartWithTable(const std::string& csvPath) {
        std::ofstream ini(dir.path() / "quvan-tool.ini");
        ini << "[FILE]\nCsvFile_=" << csvPath << "\n";
        ini.close();
        Start();
        main().show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return main().state().StartupDone; }, 5000));
    }
};

TEST_F(StartupLoad, TheLastTableComesBackAtStart) {
    const auto path = dir.path() / "last.Csv";
    WriteBytes(path, "QUVAN Table File : Serial\n" + kRow1Line);
    StartWithTable(path.string());
    EXPECT_EQ(table().cell(1, ColComments), "TV");
    EXPECT_EQ(table().record(1).Carry, 380);
    EXPECT_TRUE(table().isBlank(2));
    EXPECT_TRUE(w().ckSerial->isChecked());
    EXPECT_EQ(main().statusPanelText(2).toStdString(), path.string());
    EXPECT_EQ(main().statusPanelText(1), "");
    EXPECT_EQ(main().state().settings.CsvFilePath, path.string());
    EXPECT_EQ(popup().ppCopy->text(), "コピー (&Copy)");
    EXPECT_EQ(grid().cursorRow(), 1);
}

TEST_F(StartupLoad, TheProEditionShowsFiveHundredRows) {
    Start("TAVIRO QUVAN-Pro Tool");
    EXPECT_EQ(table().rowCount(), 500);
    EXPECT_EQ(w().sGrid->model()->rowCount(), 500);
    EXPECT_EQ(w().sGrid->model()->index(499, 0).data().toString(), "500");
}

TEST_F(StartupLoad, AMissingTableIsForgotten) {
    StartWithTable((dir.path() / "gone.Csv").string());
    EXPECT_EQ(main().state().settings.CsvFilePath, "");
    EXPECT_EQ(main().statusPanelText(2), "");
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(main().logText().contains("gone.Csv: No such file or directory"))
        << main().logText().toStdString();
}

} // namespace
} // namespace quvan::table_ui
