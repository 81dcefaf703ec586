#include "link/line_assembler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quvan::link {
namespace {

// Feeds bytes the way the receive side does and collects the finished lines
// (as display text) plus the partial line left at the end.
struct Fed {
    std::vector<std::string> lines;
    std::string partial;
    int dots = 0;
};

Fed Feed(int mode, std::string_view bytes, bool sending = false) {
    LineAssembler assembler(mode);
    Fed fed;
    for (char c : bytes) {
        const auto step = assembler.push(static_cast<std::uint8_t>(c), sending);
        fed.dots += step.dotResponse ? 1 : 0;
        if (step.lineReady) {
            fed.lines.push_back(assembler.takeDisplayText());
        }
    }
    fed.partial = std::string(assembler.bytes());
    return fed;
}

TEST(LineAssembler, CrLfModeRemovesTheDelimiter) {
    const Fed fed = Feed(DlmtCrLf, "Trans Mode\r\nACK\r\n");
    EXPECT_EQ(fed.lines, (std::vector<std::string>{"Trans Mode", "ACK"}));
    EXPECT_TRUE(fed.partial.empty());
}

TEST(LineAssembler, CrLfModeTurnsAnEmptyLineIntoOneBlank) {
    EXPECT_EQ(Feed(DlmtCrLf, "\r\n").lines, std::vector<std::string>{" "});
}

TEST(LineAssembler, CrLfModeKeepsALoneLineFeed) {
    const Fed fed = Feed(DlmtCrLf, "ab\ncd\r\n");
    EXPECT_EQ(fed.lines, std::vector<std::string>{"ab 0Ah cd"});
    // A carriage return alone does not end the line either.
    EXPECT_EQ(Feed(DlmtCrLf, "ab\rcd").partial, "ab\rcd");
}

TEST(LineAssembler, SingleByteDelimitersStayInTheLine) {
    EXPECT_EQ(Feed(DlmtEtx, "ACK\x03").lines, std::vector<std::string>{"ACK 03h"});
    EXPECT_EQ(Feed(DlmtLf, "ACK\n").lines, std::vector<std::string>{"ACK 0Ah"});
    // CR mode: the CR ends the line, the LF starts the next one.
    const Fed cr = Feed(DlmtCr, "ACK\r\n");
    EXPECT_EQ(cr.lines, std::vector<std::string>{"ACK 0Dh"});
    EXPECT_EQ(cr.partial, "\n");
}

TEST(LineAssembler, NoDelimiterModeOnlyCollects) {
    const Fed fed = Feed(DlmtNone, "QUVAN-ARM Ver.20251223\r\n");
    EXPECT_TRUE(fed.lines.empty());
    EXPECT_EQ(DisplayText(fed.partial), "QUVAN-ARM Ver.20251223 0Dh 0Ah");
}

TEST(LineAssembler, DotAnswersOnlyWhileSendingInNoDelimiterMode) {
    EXPECT_EQ(Feed(DlmtNone, "..", true).dots, 2);
    EXPECT_EQ(Feed(DlmtNone, "..", false).dots, 0);
    EXPECT_EQ(Feed(DlmtCrLf, "..", true).dots, 0);
    // The dot still belongs to the line.
    EXPECT_EQ(Feed(DlmtNone, "a.", true).partial, "a.");
}

TEST(LineAssembler, LongLinesAreCutAt8193Bytes) {
    const std::string bytes(9000, 'x');
    for (int mode : {DlmtNone, DlmtCrLf, DlmtEtx}) {
        const Fed fed = Feed(mode, bytes);
        ASSERT_EQ(fed.lines.size(), 1u) << mode;
        EXPECT_EQ(fed.lines[0].size(), 8193u);
        EXPECT_EQ(fed.partial.size(), 9000u - 8193u);
    }
    // A delimiter that completes at the limit still ends just one line.
    std::string exact(8191, 'y');
    exact += "\r\n";
    const Fed fed = Feed(DlmtCrLf, exact);
    ASSERT_EQ(fed.lines.size(), 1u);
    EXPECT_EQ(fed.lines[0], std::string(8191, 'y'));
}

TEST(DisplayText, ControlBytesBecomeHexTokens) {
    EXPECT_EQ(DisplayText("\x06"), " 06h");
    EXPECT_EQ(DisplayText("\x06OK"), " 06h OK");
    EXPECT_EQ(DisplayText(std::string("\0\x1F\x7F", 3)), " 00h 1Fh 7Fh");
    EXPECT_EQ(DisplayText("a\tb"), "a 09h b");
    EXPECT_EQ(DisplayText("\x80\xFF"), "\x80\xFF");
    EXPECT_EQ(DisplayText(""), "");
}

} // namespace
} // namespace quvan::link
