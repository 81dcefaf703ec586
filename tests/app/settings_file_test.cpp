#include "app/core/settings_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace quvan::app {
namespace {
namespace fs = std::filesystem;

class SettingsFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char name[] = "/tmp/quvan-settings-XXXXXX";
        ASSERT_NE(::mkdtemp(name), nullptr);
        dir_ = name;
        fs::create_directories(dir_ / "bin");
    }
    void TearDown() override { fs::remove_all(dir_); }

    static void Write(const fs::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // A tool installed in dir/bin, with no per-user folder.
    SettingsLocation Beside() const { return SettingsLocationFor(dir_ / "bin/quvan-tool", "", ""); }
    fs::path Ini() const { return dir_ / "bin/quvan-tool.ini"; }

    fs::path dir_;
};

TEST(SettingsLocationTest, FileNamesFollowTheExecutable) {
    const auto where = SettingsLocationFor("/opt/q/quvan-tool", "", "/home/u");
    EXPECT_EQ(where.file, "/opt/q/quvan-tool.ini");
    EXPECT_EQ(where.executableDir, "/opt/q/");
    EXPECT_EQ(where.userFile, "/home/u/.config/quvan-tool/quvan-tool.ini");

    EXPECT_EQ(SettingsLocationFor("/opt/q/tool.bin", "/xdg", "/home/u").file, "/opt/q/tool.ini");
    EXPECT_EQ(SettingsLocationFor("/opt/q/tool.bin", "/xdg", "/home/u").userFile,
              "/xdg/quvan-tool/tool.ini");
    // A relative XDG folder is ignored; without any home there is no fallback.
    EXPECT_EQ(SettingsLocationFor("/q/t", "rel", "/h").userFile, "/h/.config/quvan-tool/t.ini");
    EXPECT_TRUE(SettingsLocationFor("/q/t", "", "").userFile.empty());
    EXPECT_EQ(SettingsLocationFor("t", "", "").executableDir, "");
}

TEST_F(SettingsFileTest, FirstStartUsesDefaultsAndWritesAllSeventeenKeys) {
    const AppSettings s = LoadSettings(Beside());
    EXPECT_EQ(s.Port.PortName, "COM1");
    EXPECT_EQ(s.Port.SendHead, "無し");
    EXPECT_EQ(s.Port.RecvTout, 100);
    EXPECT_EQ(s.LearnTime, 500000);
    EXPECT_TRUE(s.IrAck);
    const std::string sounds = (dir_ / "bin").string() + "/Sounds/";
    EXPECT_EQ(s.SoundFolder, sounds);
    EXPECT_EQ(s.Sounds.SoundChimes, sounds + "snd_chimes.wav");

    const SaveOutcome saved = SaveSettings(Beside(), s);
    EXPECT_EQ(saved.savedTo, Ini());
    EXPECT_EQ(saved.status, "");
    EXPECT_EQ(Read(Ini()), "[COMPORT]\n"
                           "PortName=COM1\n"
                           "BaudRate=115200\n"
                           "ByteSize=8\n"
                           "StopBits=1\n"
                           "Parity__=NONE\n"
                           "SendHead=無し\n"
                           "SendDlmt=CRLF\n"
                           "RecvDlmt=CRLF\n"
                           "RecvTout=100\n"
                           "\n"
                           "[FILE]\n"
                           "CsvFile_=\n"
                           "HexFile_=\n"
                           "UsbFile_=\n"
                           "SndPath_=" +
                               sounds +
                               "\n"
                               "\n"
                               "[WAVE]\n"
                               "H_Range_=20\n"
                               "W_Range_=15\n"
                               "L_Time__=500000\n"
                               "IrAck___=1\n");
}

TEST_F(SettingsFileTest, IntegerRulesOfAHandEditedWindowsFile) {
    Write(Ini(), "[comport]\r\nPortName=\r\nRecvTout=abc\r\nBaudRate= +9600 \r\n"
                 "StopBits=2147483648\r\n[WAVE]\r\nH_Range_=0\r\nW_Range_=0\r\n"
                 "IrAck___=7\r\nL_Time__=1999\r\n");
    AppSettings s = LoadSettings(Beside());
    EXPECT_EQ(s.Port.PortName, "");  // present but empty stays empty
    EXPECT_EQ(s.Port.RecvTout, 100); // not an integer
    EXPECT_EQ(s.Port.BaudRate, 9600);
    EXPECT_EQ(s.Port.StopBits, 1); // out of range of a 32-bit integer
    EXPECT_EQ(s.Port.ByteSize, 8); // missing
    EXPECT_EQ(s.HRange, 20);
    EXPECT_EQ(s.WRange, 15);
    EXPECT_TRUE(s.IrAck);
    EXPECT_EQ(s.LearnTime, 1999);

    ASSERT_EQ(SaveSettings(Beside(), s).status, "");
    const std::string text = Read(Ini());
    EXPECT_NE(text.find("IrAck___=1\n"), std::string::npos);
    EXPECT_NE(text.find("H_Range_=20\n"), std::string::npos);
    EXPECT_NE(text.find("RecvTout=100\n"), std::string::npos);

    Write(Ini(), "[WAVE]\nH_Range_=-5\nW_Range_=12x\nIrAck___=0\n");
    s = LoadSettings(Beside());
    EXPECT_EQ(s.HRange, -5);
    EXPECT_EQ(s.WRange, 15);
    EXPECT_FALSE(s.IrAck);
    SaveSettings(Beside(), s);
    // Keys already in the file keep their places; missing ones are added.
    EXPECT_EQ(Read(Ini()).rfind("[WAVE]\nH_Range_=-5\nW_Range_=15\nIrAck___=0\nL_Time__=500000\n\n"
                                "[COMPORT]\nPortName=COM1\n",
                                0),
              0u);
}

TEST_F(SettingsFileTest, SoundPathsAppendNamesWithoutASeparator) {
    Write(Ini(), "[FILE]\nSndPath_=/data/Snd\n");
    AppSettings s = LoadSettings(Beside());
    EXPECT_EQ(s.Sounds.SoundAction, "/data/Sndsnd_action.wav");
    EXPECT_EQ(s.Sounds.SoundChord, "/data/Sndsnd_chord.wav");
    EXPECT_EQ(s.Sounds.SoundNotify, "/data/Sndsnd_notify.wav");
    s.SoundFolder = "/data/Snd/";
    BuildSoundPaths(s, "/ignored/");
    EXPECT_EQ(s.Sounds.SoundTada, "/data/Snd/snd_tada.wav");
}

TEST_F(SettingsFileTest, InstalledToolFindsItsSoundsUnderShareUnlessSomeAreBesideIt) {
    const std::string bin = (dir_ / "bin").string() + "/";
    // Nothing anywhere: the folder beside the program, as before.
    EXPECT_EQ(DefaultSoundFolder(bin), bin + "Sounds/");
    fs::create_directories(dir_ / "share/quvan-tool/Sounds");
    EXPECT_EQ(DefaultSoundFolder(bin), (dir_ / "share/quvan-tool/Sounds/").string());
    AppSettings s = LoadSettings(Beside());
    EXPECT_EQ(s.Sounds.SoundTada, (dir_ / "share/quvan-tool/Sounds/snd_tada.wav").string());
    // A build tree keeps them beside the program; that folder wins.
    fs::create_directories(dir_ / "bin/Sounds");
    EXPECT_EQ(DefaultSoundFolder(bin), bin + "Sounds/");
}

TEST_F(SettingsFileTest, TextValuesReadBackExactly) {
    AppSettings s;
    s.Port.PortName = "/dev/ttyUSB0";
    s.Port.Parity = "odd";
    s.CsvFilePath = "/home/ユーザー/学習 table.csv";
    s.UsbDriverPath = "  spaced at both ends ";
    s.HexFilePath = "\"quoted\"";
    s.SoundFolder = "/snd=folder;x/";
    ASSERT_EQ(SaveSettings(Beside(), s).status, "");
    const AppSettings back = LoadSettings(Beside());
    EXPECT_EQ(back.Port.PortName, s.Port.PortName);
    EXPECT_EQ(back.Port.Parity, "odd");
    EXPECT_EQ(back.Port.SendHead, "無し");
    EXPECT_EQ(back.CsvFilePath, s.CsvFilePath);
    EXPECT_EQ(back.UsbDriverPath, s.UsbDriverPath);
    EXPECT_EQ(back.HexFilePath, s.HexFilePath);
    EXPECT_EQ(back.SoundFolder, s.SoundFolder);
}

TEST_F(SettingsFileTest, ALineBreakInAValueCannotForgeKeys) {
    AppSettings s;
    s.CsvFilePath = "/t.csv\n[WAVE]\nH_Range_=99";
    SaveSettings(Beside(), s);
    const AppSettings back = LoadSettings(Beside());
    EXPECT_EQ(back.CsvFilePath, "/t.csv");
    EXPECT_EQ(back.HRange, 20);
}

TEST_F(SettingsFileTest, AFileFromTheWindowsToolKeepsItsJapaneseNames) {
    // "無し" in CP932 is 96 B3 82 B5.
    Write(Ini(), "[COMPORT]\r\nPortName=COM3\r\nSendHead=\x96\xB3\x82\xB5\r\n"
                 "[FILE]\r\nCsvFile_=C:\\\x8A\x77\x8F\x4B.csv\r\n");
    const AppSettings s = LoadSettings(Beside());
    EXPECT_EQ(s.Port.PortName, "COM3");
    EXPECT_EQ(s.Port.SendHead, "無し");
    EXPECT_EQ(s.CsvFilePath, "C:\\学習.csv"); // 学 = 8A 77, 習 = 8F 4B
    SaveSettings(Beside(), s);
    EXPECT_NE(Read(Ini()).find("SendHead=無し\n"), std::string::npos);
}

TEST_F(SettingsFileTest, KeepsLinesItDoesNotOwn) {
    Write(Ini(), "; written by hand\n[COMPORT]\nPortName=COM4\nExtra___=1\n\n[OTHER]\nx=y\n");
    AppSettings s = LoadSettings(Beside());
    EXPECT_EQ(s.Port.PortName, "COM4");
    s.Port.PortName = "COM5";
    SaveSettings(Beside(), s);
    const std::string text = Read(Ini());
    EXPECT_EQ(text.rfind("; written by hand\n[COMPORT]\nPortName=COM5\nExtra___=1\nBaudRate=", 0),
              0u);
    EXPECT_NE(text.find("\n\n[OTHER]\nx=y\n\n[FILE]\n"), std::string::npos);
}

TEST_F(SettingsFileTest, ALinkedFileIsUpdatedWhereItLies) {
    Write(dir_ / "shared.ini", "[COMPORT]\nPortName=COM2\n");
    fs::create_symlink(dir_ / "shared.ini", Ini());
    AppSettings s = LoadSettings(Beside());
    s.Port.PortName = "COM6";
    EXPECT_EQ(SaveSettings(Beside(), s).status, "");
    EXPECT_TRUE(fs::is_symlink(Ini()));
    EXPECT_EQ(Read(dir_ / "shared.ini").rfind("[COMPORT]\nPortName=COM6\n", 0), 0u);
}

TEST_F(SettingsFileTest, UnwritableFolderReportsNgAndFallsBackToTheUserFolder) {
    // Root may write anywhere, so the folder is made unusable by its shape:
    // the executable's "folder" is a plain file.
    Write(dir_ / "notadir", "");
    const auto where =
        SettingsLocationFor(dir_ / "notadir/quvan-tool", (dir_ / "xdg").string(), "");
    AppSettings s = LoadSettings(where);
    s.Port.PortName = "COM7";
    const SaveOutcome saved = SaveSettings(where, s);
    const fs::path user = dir_ / "xdg/quvan-tool/quvan-tool.ini";
    EXPECT_EQ(saved.status,
              "NG ... " + (dir_ / "notadir/quvan-tool.ini").string() + " → " + user.string());
    EXPECT_EQ(saved.savedTo, user);
    EXPECT_EQ(LoadSettings(where).Port.PortName, "COM7");

    // Nowhere to go at all: only the failure, the values stay in memory.
    const auto nowhere = SettingsLocationFor(dir_ / "notadir/quvan-tool", "", "");
    const SaveOutcome lost = SaveSettings(nowhere, s);
    EXPECT_EQ(lost.status, "NG ... " + (dir_ / "notadir/quvan-tool.ini").string());
    EXPECT_TRUE(lost.savedTo.empty());
}

TEST_F(SettingsFileTest, AFailedWriteLeavesNoTemporaryFileBehind) {
    fs::create_directory(Ini()); // a folder where the file should be
    const SaveOutcome saved = SaveSettings(Beside(), AppSettings{});
    EXPECT_EQ(saved.status, "NG ... " + Ini().string());
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_ / "bin")) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

// A user who keeps the file private (it names their paths) keeps it private.
TEST_F(SettingsFileTest, SavingKeepsTheModeOfTheFile) {
    Write(Ini(), "[COMPORT]\nPortName=COM2\n");
    fs::permissions(Ini(), fs::perms::owner_read | fs::perms::owner_write);
    AppSettings s = LoadSettings(Beside());
    s.Port.PortName = "COM3";
    ASSERT_EQ(SaveSettings(Beside(), s).status, "");
    EXPECT_EQ(fs::status(Ini()).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(LoadSettings(Beside()).Port.PortName, "COM3");
}

TEST_F(SettingsFileTest, TheNewerOfTheTwoFilesIsRead) {
    const auto where = SettingsLocationFor(dir_ / "bin/quvan-tool", (dir_ / "xdg").string(), "");
    fs::create_directories(where.userFile.parent_path());
    Write(where.userFile, "[COMPORT]\nPortName=USER\n");
    Write(where.file, "[COMPORT]\nPortName=BESIDE\n");
    const auto now = fs::file_time_type::clock::now();
    fs::last_write_time(where.file, now - std::chrono::hours(1));
    fs::last_write_time(where.userFile, now);
    EXPECT_EQ(LoadSettings(where).Port.PortName, "USER");
    fs::last_write_time(where.file, now + std::chrono::seconds(1));
    EXPECT_EQ(LoadSettings(where).Port.PortName, "BESIDE");
    fs::remove(where.file);
    EXPECT_EQ(LoadSettings(where).Port.PortName, "USER");
}

// The window's language lives in a section of its own, which files written
// before there was a choice do not have.
TEST_F(SettingsFileTest, TheLanguageIsKeptOnceChosen) {
    Write(Ini(), "[WAVE]\nH_Range_=25\n");
    AppSettings s = LoadSettings(Beside());
    EXPECT_EQ(s.Language, "");
    EXPECT_EQ(LanguageCode(s.Language), "ja");
    ASSERT_EQ(SaveSettings(Beside(), s).status, "");
    EXPECT_EQ(Read(Ini()).find("LANGUAGE"), std::string::npos); // nothing chosen, nothing written

    s.Language = "en";
    ASSERT_EQ(SaveSettings(Beside(), s).status, "");
    const std::string text = Read(Ini());
    EXPECT_NE(text.find("\n[LANGUAGE]\nLanguage=en\n"), std::string::npos) << text;
    EXPECT_EQ(text.rfind("[WAVE]\nH_Range_=25\n", 0), 0u); // the older keys keep their places
    EXPECT_EQ(LoadSettings(Beside()).Language, "en");

    // A hand-edited section, in any case of its name, and codes the tool
    // does not know.
    Write(Ini(), "[language]\r\nLanguage=en\r\n");
    EXPECT_EQ(LanguageCode(LoadSettings(Beside()).Language), "en");
    Write(Ini(), "[LANGUAGE]\nLanguage=fr\n");
    EXPECT_EQ(LoadSettings(Beside()).Language, "fr");
    EXPECT_EQ(LanguageCode(LoadSettings(Beside()).Language), "ja");
}

} // namespace
} // namespace quvan::app
