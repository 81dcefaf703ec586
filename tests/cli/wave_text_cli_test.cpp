// quvan-decode --wave-text: the wave text export of every capture in a log,
// one block per capture with the cells of the row it landed in.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

namespace {

int RunDecode(const std::string& args) {
    const int status =
        std::system((std::string(QUVAN_DECODE_EXE) + " " + args + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

int CountOf(const std::string& text, const std::string& what) {
    int count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

const std::string kLog = std::string(QUVAN_TEST_DATA) + "/decode/nec-sony.log";
const std::string kColumns = "[No.],   [H],   [L],   [W] (uS)\r\n";

// The log holds an NEC capture of 102 pulse pairs (38.0 kHz, row 1) and a
// Sony capture of 65 (40.0 kHz, row 2); the command line leaves Comments empty.
TEST(QuvanDecodeWaveText, OneBlockPerCaptureWithItsRowsCells) {
    const std::string path = ::testing::TempDir() + "wave-text.Txt";
    std::ofstream(path) << "an older export";
    ASSERT_EQ(RunDecode("--wave-text " + path + " " + kLog), 0);
    const std::string text = Slurp(path);

    const std::string nec = "38.0kHz,,\r\n" + kColumns +
                            "[000],  9000,  4500, 13500\r\n"
                            "[001],   560,   565,  1125\r\n";
    EXPECT_EQ(text.rfind(nec, 0), 0u) << text.substr(0, 200);
    const std::size_t sony =
        text.find("\r\n\r\n40.0kHz,,\r\n" + kColumns + "[000],  2400,   600,  3000\r\n");
    ASSERT_NE(sony, std::string::npos);
    EXPECT_EQ(CountOf(text.substr(0, sony), "\r\n["), 1 + 102); // [No.] and pairs 0..101
    EXPECT_EQ(CountOf(text.substr(sony), "\r\n["), 1 + 65);     // [No.] and pairs 0..64
    EXPECT_NE(text.find("[101],   560, 39940, 40500\r\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 4), "\r\n\r\n");
}

TEST(QuvanDecodeWaveText, AnExportThatCannotBeWrittenFailsWithTwo) {
    EXPECT_EQ(RunDecode("--wave-text /nonexistent/folder/wave.Txt " + kLog), 2);
}

} // namespace
