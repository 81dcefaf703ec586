// The wave text export: its bytes, the rows its blocks name, and a save that
// fails half-way leaving the previous file as it was.

#include "table/learning_table.h"
#include "tools/core/wave_text.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quvan::tools {
namespace {

namespace fs = std::filesystem;

std::unique_ptr<WaveLane> LaneOf(std::vector<PulsePair> pairs) {
    auto lane = std::make_unique<WaveLane>();
    for (std::size_t k = 0; k < pairs.size(); ++k)
        lane->Pairs[k] = pairs[k];
    lane->LastIndex = static_cast<int>(pairs.size()) - 1;
    return lane;
}

TEST(WaveText, ABlockIsTheCellsTheColumnLineOnePairLineEachAndAnEmptyLine) {
    auto lane = LaneOf({{9000, 13500}, {560, 1690}, {560, 1120}});
    // "テレビ" in Shift-JIS: 83 65 83 8C 83 72.
    const std::string bytes = WaveTextBlockBytes({"38.0kHz", "テレビ", lane.get()});
    EXPECT_EQ(bytes, "38.0kHz,\x83\x65\x83\x8C\x83\x72,\r\n"
                     "[No.],   [H],   [L],   [W] (uS)\r\n"
                     "[000],  9000,  4500, 13500\r\n"
                     "[001],   560,  1130,  1690\r\n"
                     "[002],   560,   560,  1120\r\n"
                     "\r\n");
}

TEST(WaveText, ALaneWithoutDataStillGetsItsBlockWithOnePairLine) {
    WaveLane lane; // LastIndex 0
    lane.Pairs[0] = {0, 0};
    lane.Pairs[1] = {560, 1120}; // beyond LastIndex: not written
    EXPECT_EQ(WaveTextBlockBytes({"", "", &lane}), ",,\r\n"
                                                   "[No.],   [H],   [L],   [W] (uS)\r\n"
                                                   "[000],     0,     0,     0\r\n"
                                                   "\r\n");
}

TEST(WaveText, TheWindowsBlocksStartTwoRowsAboveTheSelectedRow) {
    LearningTable table(kStdTableRows);
    for (int row = 1; row <= kStdTableRows; ++row) {
        table.setCell(row, ColCarry, "c" + std::to_string(row));
        table.setCell(row, ColComments, "n" + std::to_string(row));
    }
    WaveLane lanes[4];
    auto rowsOf = [&](int selected, int count) {
        std::vector<std::string> rows;
        for (const WaveTextBlock& b : WindowWaveTextBlocks(table, selected, lanes, count))
            rows.push_back(b.carry + "/" + b.comments);
        return rows;
    };
    EXPECT_EQ(rowsOf(5, 2), (std::vector<std::string>{"c3/n3", "c4/n4"}));
    EXPECT_EQ(rowsOf(2, 2), (std::vector<std::string>{"c1/n1", "c2/n2"}));
    EXPECT_EQ(rowsOf(0, 2), (std::vector<std::string>{"c1/n1", "c2/n2"}));
    // Past the last row the cells are empty.
    EXPECT_EQ(rowsOf(250, 4),
              (std::vector<std::string>{"c248/n248", "c249/n249", "c250/n250", "/"}));
    EXPECT_EQ(WindowWaveTextBlocks(table, 5, lanes, 2)[1].lane, &lanes[1]);
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class WaveTextFile : public ::testing::Test {
  protected:
    WaveTextFile() {
        dir = fs::temp_directory_path() / ("quvan-wave-text-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    ~WaveTextFile() override { fs::remove_all(dir); }
    fs::path dir;
};

TEST_F(WaveTextFile, SavingReplacesTheFile) {
    const fs::path path = dir / "wave.Txt";
    std::ofstream(path) << "old content that is longer than the new one";
    EXPECT_EQ(SaveWaveText(path.string(), "new\r\n"), "");
    EXPECT_EQ(ReadAll(path), "new\r\n");
    EXPECT_NE(SaveWaveText((dir / "missing" / "wave.Txt").string(), "x"), "");
}

// A save that runs out of room half-way (here: a file size limit) reports
// the failure and leaves the previous file whole, with no temporary beside it.
TEST_F(WaveTextFile, AFailedSaveKeepsTheOldFile) {
    const fs::path path = dir / "wave.Txt";
    std::ofstream(path) << "previous export";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64, 64};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const std::string failure = SaveWaveText(path.string(), std::string(4096, 'x'));
        ::_exit(failure.empty() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the save should have failed";
    EXPECT_EQ(ReadAll(path), "previous export");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

} // namespace
} // namespace quvan::tools
