// Faults of the table file that lost or corrupted users' tables, each mended.

#include "table/table_file.h"
#include "table_file_test_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#include <sys/resource.h>
#include <sys/stat.h>

namespace quvan {
namespace {

namespace fs = std::filesystem;

constexpr const char* kHeader = "QUVAN Table File\r\n";

std::string row(int n, const std::string& fields) {
    char label[16];
    std::snprintf(label, sizeof label, "[%03d],", n);
    return label + fields + "\r\n";
}

const std::string kPatterns = [] {
    std::string text;
    for (char p : std::string("0123456789ABCDEF"))
        text += std::string("Twp:") + p + ":00560 001120,";
    return text;
}();

std::size_t filesIn(const fs::path& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

// Makes every write past `bytes` fail with EFBIG, as a full disk would, and
// restores the limit afterwards. Works for root too, unlike permissions.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

  private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

TEST(TableFileFaults, FailedSaveLeavesTheOldFileWhole) {
    test::ScratchFolder folder;
    std::string path = folder.file("work.Csv");
    test::WriteBytes(path, "the user's old table");
    LearningTable table(kProTableRows);
    TableSaveResult result;
    {
        FileSizeLimit limit(4096); // the new file is about 175 kB
        result = SaveTable(path, table, {});
    }
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.empty());
    EXPECT_EQ(test::ReadBytes(path), "the user's old table");
    EXPECT_EQ(filesIn(folder.path()), 1u); // no temporary file left behind

    EXPECT_FALSE(SaveTable(folder.file("missing/work.Csv"), table, {}).ok);
    EXPECT_FALSE(SaveTable(folder.path().string(), table, {}).ok); // a folder is no file
    EXPECT_EQ(filesIn(folder.path()), 1u);
}

TEST(TableFileFaults, SaveReplacesTheLinkedFileAndKeepsItsPermissions) {
    test::ScratchFolder folder;
    std::string real = folder.file("real.Csv");
    test::WriteBytes(real, "old");
    ::chmod(real.c_str(), 0640);
    fs::create_symlink(real, folder.file("link.Csv"));
    LearningTable table(kStdTableRows);
    table.setCell(1, ColComments, "new");
    ASSERT_TRUE(SaveTable(folder.file("link.Csv"), table, {}).ok);
    EXPECT_TRUE(fs::is_symlink(folder.file("link.Csv")));
    EXPECT_NE(test::ReadBytes(real).find(",new,"), std::string::npos);
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(TableFileFaults, RowLinesLongerThan2047BytesLoadWholeWithTheRowsAfterThem) {
    LearningTable table(kProTableRows);
    for (int r = 1; r <= 3; ++r) {
        table.setCell(r, ColComments, std::string(3000, 'x') + "テレビ");
        LearnedSignal& s = table.record(r);
        s.Carry = 380;
        s.DataBits = 4096;
        s.PatternCode[4095] = static_cast<std::uint8_t>(r);
    }
    std::string file = FormatTableFile(table, {});
    ASSERT_GT(file.find("[002]") - file.find("[001]"), 7000u);

    LearningTable loaded(kProTableRows);
    TableLoadResult result = ParseTableFile(file, loaded);
    EXPECT_EQ(result.status, TableLoadStatus::Loaded);
    EXPECT_EQ(result.rowsRead, 500);
    for (int r = 1; r <= 3; ++r) {
        EXPECT_EQ(loaded.cell(r, ColComments), table.cell(r, ColComments));
        EXPECT_EQ(loaded.record(r).DataBits, 4096);
        EXPECT_EQ(loaded.record(r).PatternCode[4095], r);
    }
}

TEST(TableFileFaults, CommaTypedIntoACellLoadsBackAsTheSameTable) {
    LearningTable table(kStdTableRows);
    table.setCell(1, ColComments, "TV,power");
    table.setCell(1, ColResult, "Tm:NEC");
    table.record(1).Carry = 380;
    LearningTable loaded(kStdTableRows);
    ParseTableFile(FormatTableFile(table, {}), loaded);
    EXPECT_EQ(loaded.cell(1, ColComments), "TV，power");
    EXPECT_EQ(loaded.cell(1, ColComments), table.cell(1, ColComments));
    EXPECT_EQ(loaded.cell(1, ColResult), "Tm:NEC");
    EXPECT_EQ(loaded.record(1).Carry, 380);
}

TEST(TableFileFaults, DataBitsAndRepeatBitOutsideTheRecordAreLimitedAndReported) {
    std::string file = kHeader +
                       row(1, ",,,,Twc:380,Twb:5000,Twr:4999," + kPatterns +
                                  "Twd:" + std::string(4096, '1') + ",") +
                       row(2, ",,,,Twc:380,Twb:-7,Twr:-1," + kPatterns + "Twd:01,") +
                       row(3, ",,,,Twc:380,Twb:4,Twr:9," + kPatterns + "Twd:0101,");
    LearningTable table(kStdTableRows);
    TableLoadResult result = ParseTableFile(file, table);
    EXPECT_EQ(result.status, TableLoadStatus::Loaded);
    EXPECT_EQ(table.record(1).DataBits, 4096);
    EXPECT_EQ(table.record(1).RepeatBit, 4096);
    EXPECT_EQ(table.record(2).DataBits, 0);
    EXPECT_EQ(table.record(2).RepeatBit, 0);
    EXPECT_EQ(table.record(3).RepeatBit, 4);
    ASSERT_EQ(result.warnings.size(), 5u);
    EXPECT_EQ(result.warnings[0].rfind("row 1, Twb:5000", 0), 0u) << result.warnings[0];
    EXPECT_EQ(result.warnings[1].rfind("row 1, Twr:4999", 0), 0u) << result.warnings[1];
    EXPECT_EQ(result.warnings[4].rfind("row 3, Twr:9", 0), 0u) << result.warnings[4];
}

TEST(TableFileFaults, MalformedNumbersStopReadingWithRowAndFieldAndKeepEarlierRows) {
    struct Case {
        std::string badRow;
        int field;
        const char* tag;
        const char* text;
    };
    const Case cases[] = {
        {",,,,Twc:380,Twb:004,Twr:000," + kPatterns + "Twd:12G4,", 25, "Twd:", "G"},
        {",,,,Twc:380,Twp:0:00X60 001120,", 7, "Twp:", "00X60"},
        {",,,,Twc:380,Twp:0:00560 0011 0,", 7, "Twp:", "0011 0"},
        {",,,,Twc:380,Twp:G:00560 001120,", 7, "Twp:", "G"},
        {",,,,Twc:380,Twp:0:,", 7, "Twp:", ""},
        {",,,,Twc:380,Twp:,", 7, "Twp:", ""},
    };
    for (const Case& c : cases) {
        std::string file = kHeader + row(1, "38.0kHz,1,TV,R,Twc:380," + kPatterns) +
                           row(2, "40.0kHz,3,VCR,R,Twc:400,") + row(3, "36.0kHz" + c.badRow) +
                           row(4, "38.0kHz,1,late,,Twc:380,");
        LearningTable table(kStdTableRows);
        TableLoadResult result = ParseTableFile(file, table);
        SCOPED_TRACE(c.badRow);
        EXPECT_EQ(result.status, TableLoadStatus::StoppedAtError);
        ASSERT_TRUE(result.conversionError.has_value());
        EXPECT_EQ(result.conversionError->row, 3);
        EXPECT_EQ(result.conversionError->field, c.field);
        EXPECT_EQ(result.conversionError->tag, c.tag);
        EXPECT_EQ(result.conversionError->text, c.text);
        EXPECT_NE(result.conversionError->message.find("row 3"), std::string::npos);
        EXPECT_EQ(result.rowsRead, 3);
        EXPECT_EQ(table.record(1).PatternWidth[15], 1120);
        EXPECT_EQ(table.cell(2, ColComments), "VCR");
        EXPECT_EQ(table.record(3).Carry, 380); // the partly read row stays
        EXPECT_TRUE(table.isBlank(4));
    }
}

TEST(TableFileFaults, CarrierCountsThatAreNotNumbersReadAsZeroWithoutStopping) {
    LearningTable table(kStdTableRows);
    TableLoadResult result =
        ParseTableFile(kHeader + row(1, ",,,,Twc:38k,Twb:,Twr:x,") + row(2, ",,,,Twc:380,"), table);
    EXPECT_EQ(result.status, TableLoadStatus::Loaded);
    EXPECT_EQ(table.record(1).Carry, 0);
    EXPECT_EQ(table.record(2).Carry, 380);
}

TEST(TableFileFaults, BytesThatAreNotShiftJisShowAsGetaMarksAndAreReported) {
    LearningTable table(kStdTableRows);
    TableLoadResult result = ParseTableFile(kHeader + row(7, ",,TV\x80\xFD,,Twc:380,Twd:,"), table);
    EXPECT_EQ(table.cell(1, ColComments), "TV〓〓");
    ASSERT_EQ(result.warnings.size(), 1u);
    EXPECT_EQ(result.warnings[0].rfind("row 1, Comments", 0), 0u) << result.warnings[0];
}

TEST(TableFileFaults, CodesBeyondTheRecordAreIgnoredAndReported) {
    LearningTable table(kStdTableRows);
    std::string digits(4096, '1');
    digits += "2345";
    TableLoadResult result =
        ParseTableFile(kHeader + row(1, ",,,,Twb:4096,Twd:" + digits + ","), table);
    EXPECT_EQ(result.status, TableLoadStatus::Loaded);
    EXPECT_EQ(table.record(1).PatternCode[4095], 1);
    ASSERT_EQ(result.warnings.size(), 1u);
    EXPECT_EQ(result.warnings[0].rfind("row 1, Twd:", 0), 0u);
}

} // namespace
} // namespace quvan
