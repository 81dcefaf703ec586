// Cutting received bytes into commands, and shaping sent lines.
#include "sim/command_framer.h"
#include "sim/faults.h"

#include <gtest/gtest.h>

using namespace quvan::sim;
using Commands = std::vector<std::string>;

TEST(CommandFramer, EachDelimiterEndsACommandAndIsRemoved) {
    CommandFramer crlf(false, Delimiter::CrLf);
    EXPECT_EQ(crlf.feed("Ver\r\nT\r", 0), Commands{"Ver"});
    EXPECT_EQ(crlf.feed("\n", 0), Commands{"T"});
    // A lone LF does not end a command in CRLF mode; it stays in it.
    EXPECT_EQ(crlf.feed("A\nB\r\n", 0), Commands{"A\nB"});

    CommandFramer cr(false, Delimiter::Cr);
    EXPECT_EQ(cr.feed("Ver\rT\r", 0), (Commands{"Ver", "T"}));
    CommandFramer lf(false, Delimiter::Lf);
    EXPECT_EQ(lf.feed("Ver\nT\n", 0), (Commands{"Ver", "T"}));
    CommandFramer etx(false, Delimiter::Etx);
    EXPECT_EQ(etx.feed("Ver\x03T\x03", 0), (Commands{"Ver", "T"}));
}

TEST(CommandFramer, StxHeadStartsACommandAndNoiseBeforeItIsDropped) {
    CommandFramer f(true, Delimiter::Etx);
    EXPECT_EQ(f.feed("\x02T\x03", 0), Commands{"T"});
    EXPECT_EQ(f.feed("xx\x02Ver\x03", 0), Commands{"Ver"});
    // A command without its head is not taken.
    EXPECT_TRUE(f.feed("T\x03", 0).empty());
    // A new head abandons a half command.
    EXPECT_EQ(f.feed("\x02Ve\x02V\x03", 0), Commands{"V"});
}

TEST(CommandFramer, WithoutDelimiterSilenceEndsTheCommand) {
    CommandFramer f(false, Delimiter::None, 50);
    EXPECT_TRUE(f.feed("Ver", 1000).empty());
    EXPECT_EQ(f.idle_deadline(), 1050);
    EXPECT_FALSE(f.flush_if_idle(1049));
    EXPECT_EQ(f.flush_if_idle(1050), "Ver");
    EXPECT_FALSE(f.idle_deadline());
}

TEST(LineShaper, LineEndsAndFaults) {
    LineShaper shaper(3);
    const BoardOutput ack{BoardOutput::Kind::Line, "Trans Mode"};
    const BoardOutput byte{BoardOutput::Kind::Raw, "\x06"};
    EXPECT_EQ(shaper.shape(ack, "\r\n", {}), "Trans Mode\r\n");
    EXPECT_EQ(shaper.shape(ack, "\x03", {}), "Trans Mode\x03");

    const Faults cut{.cut = true};
    int without_end = 0, truncated = 0;
    for (int i = 0; i < 40; ++i) {
        const std::string s = shaper.shape(ack, "\r\n", cut);
        EXPECT_NE(s, "Trans Mode\r\n");
        if (s == "Trans Mode")
            ++without_end;
        else if (s.ends_with("\r\n") && s.size() < 12)
            ++truncated;
    }
    EXPECT_EQ(without_end + truncated, 40);
    EXPECT_GT(without_end, 0);
    EXPECT_GT(truncated, 0);

    const Faults garble{.garble_percent = 100};
    const std::string g = shaper.shape(ack, "\r\n", garble);
    ASSERT_EQ(g.size(), 12u);
    for (std::size_t i = 0; i < 10; ++i)
        EXPECT_NE(g[i], ack.text[i]);
    EXPECT_EQ(g.substr(10), "\r\n");
    // The completion byte is never damaged.
    EXPECT_EQ(shaper.shape(byte, "\r\n", garble), "\x06");
}

TEST(FramingNames, TheToolsSettingNamesAreUnderstood) {
    EXPECT_EQ(parse_delimiter_name("CRLF"), Delimiter::CrLf);
    EXPECT_EQ(parse_delimiter_name("ETX"), Delimiter::Etx);
    EXPECT_EQ(parse_delimiter_name("無し"), Delimiter::None);
    EXPECT_EQ(parse_head_name("STX"), true);
    EXPECT_EQ(parse_head_name("無し"), false);
    // Names are case-sensitive, as in the tool.
    EXPECT_FALSE(parse_delimiter_name("crlf"));
    EXPECT_FALSE(parse_head_name("stx"));
}
