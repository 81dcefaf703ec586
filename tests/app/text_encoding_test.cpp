#include "app/core/text_encoding.h"

#include <gtest/gtest.h>

namespace quvan::app {
namespace {

TEST(TextEncodingTest, RecognisesUtf8) {
    EXPECT_TRUE(IsValidUtf8("PortName=COM1"));
    EXPECT_TRUE(IsValidUtf8("無し"));
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80"));  // U+1F600
    EXPECT_FALSE(IsValidUtf8("\x96\xB3\x82\xB5")); // "無し" in CP932
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));         // overlong "/"
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));     // a surrogate
    EXPECT_FALSE(IsValidUtf8("\xE7\x84"));         // cut short
}

TEST(TextEncodingTest, ConvertsCp932AndMarksWhatItCannotRead) {
    EXPECT_EQ(Cp932ToUtf8("\x96\xB3\x82\xB5"), "無し");
    EXPECT_EQ(Cp932ToUtf8("A\xB1"), "Aｱ"); // half-width katakana is one byte
    // A lead byte with nothing after it.
    EXPECT_EQ(Cp932ToUtf8("x\x82"), "x\xEF\xBF\xBD");
}

TEST(TextEncodingTest, SettingsTextDropsTheByteOrderMark) {
    EXPECT_EQ(SettingsTextToUtf8("\xEF\xBB\xBF[FILE]"), "[FILE]");
    EXPECT_EQ(SettingsTextToUtf8("S=\x96\xB3\x82\xB5"), "S=無し");
}

} // namespace
} // namespace quvan::app
