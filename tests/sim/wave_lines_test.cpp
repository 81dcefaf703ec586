// The wave and analysis lines, read at the fixed character positions
// (counted from 1) at which the tool reads them.
#include "sim/wave_lines.h"

#include <gtest/gtest.h>

using namespace quvan::sim;

namespace {
// Characters first..last, counted from 1.
std::string chars(const std::string& s, std::size_t first, std::size_t last) {
    return s.substr(first - 1, last - first + 1);
}
} // namespace

TEST(WaveLine, ThreeDigitIndexPositions) {
    const std::string l = wave_line(12, {560, 1120});
    EXPECT_EQ(l, "[012]:00560 001120");
    EXPECT_EQ(chars(l, 6, 6), ":");
    EXPECT_EQ(chars(l, 2, 4), "012");
    EXPECT_EQ(chars(l, 7, 11), "00560");
    EXPECT_EQ(chars(l, 13, 18), "001120");
    EXPECT_EQ(wave_line(999, {9000, 13500}), "[999]:09000 013500");
}

TEST(WaveLine, FourDigitIndexPositions) {
    const std::string l = wave_line(1000, {560, 1120});
    EXPECT_EQ(l, "[1000]:00560 0001120");
    EXPECT_NE(chars(l, 6, 6), ":");
    EXPECT_EQ(chars(l, 2, 5), "1000");
    EXPECT_EQ(chars(l, 8, 12), "00560");
    EXPECT_EQ(chars(l, 14, 20), "0001120");
    EXPECT_EQ(chars(wave_line(4095, {1, 2}), 2, 5), "4095");
}

TEST(WaveLine, OversizedValuesAreClampedSoFieldsKeepTheirPlace) {
    const std::string l = wave_line(3, {123456, 1234567});
    EXPECT_EQ(l.size(), 18u);
    EXPECT_EQ(chars(l, 7, 11), "99999");
    EXPECT_EQ(chars(l, 13, 18), "999999");
    EXPECT_EQ(chars(wave_line(1003, {5, 12345678}), 14, 20), "9999999");
}

TEST(AnalysisLine, CarrierAtCharacterTwelveFollowedByKhz) {
    for (auto [tenths, text] :
         {std::pair{380, "38.0"}, {367, "36.7"}, {400, "40.0"}, {95, "09.5"}}) {
        const std::string l = analysis_line(tenths);
        EXPECT_EQ(l.substr(0, 4), "Ave.");
        EXPECT_EQ(chars(l, 12, 15), text);
        EXPECT_EQ(l.find("kHz") + 1, 16u) << l;
    }
}

TEST(CaptureLines, OneLinePerPulseThenTheAnalysisLine) {
    const auto lines = capture_lines({{9000, 13500}, {560, 500560}}, 380);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "[000]:09000 013500");
    EXPECT_EQ(lines[1], "[001]:00560 500560");
    EXPECT_EQ(lines[2], "Ave.Freq = 38.0kHz");
}
