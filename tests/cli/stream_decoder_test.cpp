// The pieces quvan-decode is built from: a log fed in pieces gives what the
// whole log gives, and messages never carry raw hostile bytes.

#include "cli/cli_io.h"
#include "cli/decode_pipeline.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace quvan {
namespace {

std::string ReadLog() {
    std::ifstream in(std::string(QUVAN_TEST_DATA) + "/decode/nec-sony.log", std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string DecodeWhole(const std::string& log) {
    DecodePipeline pipeline{LearningOptions{}};
    std::string out;
    std::vector<std::string> errors;
    DecodeLog(pipeline, log, out, errors);
    return out;
}

TEST(LogStreamDecoder, EverySplitOfTheLogGivesTheSameLines) {
    // CR LF line ends, so that splits also fall between CR and LF.
    std::string log;
    for (char c : ReadLog())
        log += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const std::string whole = DecodeWhole(log);
    ASSERT_EQ(whole, "38.0kHz\t1\tTm:NEC-32A    d:20DF 10EF\n40.0kHz\t3\tTm:SONY12     d:0115\n");
    DecodePipeline pipeline{LearningOptions{}};
    for (std::size_t cut = 0; cut <= log.size(); cut += 7) {
        pipeline.reset(LearningOptions{});
        LogStreamDecoder decoder(pipeline);
        std::string out;
        std::vector<std::string> errors;
        decoder.feed(std::string_view(log).substr(0, cut), out, errors);
        decoder.feed(std::string_view(log).substr(cut), out, errors);
        decoder.finish(out, errors);
        ASSERT_EQ(out, whole) << "cut at " << cut;
    }
}

TEST(LogStreamDecoder, AVeryLongLineIsHandledInPiecesAndTheLogAfterItDecodes) {
    // Memory stays bounded: a line longer than kMaxLogLine is not collected
    // whole.
    DecodePipeline pipeline{LearningOptions{}};
    LogStreamDecoder decoder(pipeline);
    std::string out;
    std::vector<std::string> errors;
    const std::string noise(LogStreamDecoder::kMaxLogLine * 3 + 5, 'x');
    for (std::size_t at = 0; at < noise.size(); at += 1000)
        decoder.feed(std::string_view(noise).substr(at, 1000), out, errors);
    decoder.feed("\n" + ReadLog(), out, errors);
    decoder.finish(out, errors);
    EXPECT_EQ(out, DecodeWhole(ReadLog()));
}

TEST(Printable, ControlBytesAndBrokenUtf8AreEscapedJapaneseStays) {
    using cli::Printable;
    EXPECT_EQ(Printable("plain text"), "plain text");
    EXPECT_EQ(Printable("テレビ"), "テレビ");
    EXPECT_EQ(Printable(std::string("a\0b", 3)), "a\\x00b");
    EXPECT_EQ(Printable("tab\there\x1B[2J"), "tab\\x09here\\x1B[2J");
    EXPECT_EQ(Printable("\x7F"), "\\x7F");
    EXPECT_EQ(Printable("\xFF\xFE"), "\\xFF\\xFE");
    EXPECT_EQ(Printable("\xE3\x83"), "\\xE3\\x83");          // a character cut short
    EXPECT_EQ(Printable("\xC0\xAF"), "\\xC0\\xAF");          // an overlong "/"
    EXPECT_EQ(Printable("\xED\xA0\x80"), "\\xED\\xA0\\x80"); // a UTF-16 surrogate
}

} // namespace
} // namespace quvan
