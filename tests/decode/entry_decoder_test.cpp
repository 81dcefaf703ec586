// Read-back decoding of bare records, written by hand from the formats.

#include "decode/entry_decoder.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace quvan {
namespace {

std::unique_ptr<LearnedSignal> Record(std::vector<std::pair<int, int>> patterns,
                                      const std::vector<int>& codes, int repeatBit = 0) {
    auto r = std::make_unique<LearnedSignal>();
    r->Carry = 380;
    for (std::size_t i = 0; i < patterns.size(); ++i) {
        r->PatternHigh[i] = patterns[i].first;
        r->PatternWidth[i] = patterns[i].second;
    }
    for (std::size_t i = 0; i < codes.size(); ++i)
        r->PatternCode[i] = static_cast<std::uint8_t>(codes[i]);
    r->DataBits = static_cast<int>(codes.size());
    r->RepeatBit = repeatBit;
    return r;
}

// Leader 0, the bits as patterns zero/one, then the stop pattern.
std::vector<int> Framed(const std::vector<int>& bytes, int bits, int zero, int one, int stop) {
    std::vector<int> codes{0};
    for (int i = 0; i < bits; ++i)
        codes.push_back(((bytes[static_cast<std::size_t>(i / 8)] >> (i % 8)) & 1) ? one : zero);
    codes.push_back(stop);
    return codes;
}

const std::vector<std::pair<int, int>> kNec{{9000, 13500}, {560, 1120}, {560, 2250}, {560, 40500}};
const std::vector<std::pair<int, int>> kSony{{2400, 3000}, {1200, 1800}, {600, 1200}, {600, 26400}};

TEST(DecodeLoadedEntry, NecEntryAndTheKanonMakerInPro) {
    auto r = Record(kNec, Framed({0x00, 0xFF, 0x12, 0xED}, 32, 1, 2, 3));
    EntryDecoding d = DecodeLoadedEntry(*r, false, false);
    EXPECT_EQ(d.Result, "Tm:NEC-32A    d:00FF 12ED");
    EXPECT_EQ(d.Comments, "NEC-32A");
    d = DecodeLoadedEntry(*r, false, true);
    EXPECT_EQ(d.Result, "Tm:KANON-ALL  d:00FF 12ED");
}

TEST(DecodeLoadedEntry, FortyFourEntriesByRepeatBit) {
    std::vector<int> codes = Framed({0x12, 0x34, 0x56, 0x78, 0x9A, 0x03}, 42, 1, 2, 3);
    auto withRepeat = Record(kNec, codes, 44);
    EXPECT_EQ(DecodeLoadedEntry(*withRepeat, false, false).Comments, "NEC-40R");
    auto plain = Record(kNec, codes, 0);
    const EntryDecoding d = DecodeLoadedEntry(*plain, false, false);
    EXPECT_EQ(d.Comments, "NEC-42A");
    EXPECT_EQ(d.Result, "Tm:NEC-42A    d:1234 5678 9A03");
}

TEST(DecodeLoadedEntry, PatternCodeWithoutPadding) {
    auto r = Record(kNec, {1, 0, 2, 2, 3});
    const EntryDecoding d = DecodeLoadedEntry(*r, true, false);
    EXPECT_EQ(d.Result, "Code(  5bits): 10223");
    EXPECT_FALSE(d.Comments); // the comment cell is left alone
}

// Command 0x15 (7 bits) then address 1 (5 bits), the last bit in pattern 3.
TEST(DecodeLoadedEntry, Sony12AddressFirst) {
    auto r = Record(kSony, {0, 1, 2, 1, 2, 1, 2, 2, 1, 2, 2, 2, 3});
    const EntryDecoding d = DecodeLoadedEntry(*r, false, false);
    EXPECT_EQ(d.Result, "Tm:SONY12     d:0115");
}

// Command 0x15, address 0x1A, extension 0x5C: learning writes "9A0B 15", and
// so must the read-back, third byte included.
TEST(DecodeLoadedEntry, Sony20KeepsItsThirdByteLikeLearning) {
    std::vector<int> codes{0, 1, 2, 1, 2, 1, 2, 2};    // leader, 0x15
    for (int b : {0, 1, 0, 1, 1, 0, 0, 1, 1, 1, 0, 1}) // 0x1A, 0x5C bits 0..6
        codes.push_back(b ? 1 : 2);
    codes.push_back(3); // bit 7 of 0x5C, a short mark before the gap
    auto r = Record(kSony, codes);
    ASSERT_EQ(r->DataBits, 21);
    EXPECT_EQ(DecodeLoadedEntry(*r, false, false).Result, "Tm:SONY20     d:9A0B 15");
}

TEST(DecodeLoadedEntry, UnknownTimingGroupsOfEightBits) {
    auto r = Record({{6500, 9750}, {700, 1400}, {700, 2800}, {700, 30700}},
                    Framed({0x5A, 0xC3}, 16, 1, 2, 3));
    const EntryDecoding d = DecodeLoadedEntry(*r, false, false);
    EXPECT_EQ(d.Comments, "Unknown");
    EXPECT_EQ(d.Result, "Tm:Unknown    d:5AC3");
}

TEST(DecodeLoadedEntry, LengthsOutsideTheRecordAreLimited) {
    auto r = Record(kNec, Framed({0x20, 0xDF, 0x10, 0xEF}, 32, 1, 2, 3));
    r->DataBits = 1 << 30;
    r->RepeatBit = -5;
    const EntryDecoding d = DecodeLoadedEntry(*r, false, false);
    EXPECT_EQ(d.Result.rfind("Tm:NEC-32A    d:20DF 10EF", 0), 0u);
    r->DataBits = -3;
    EXPECT_EQ(DecodeLoadedEntry(*r, true, false).Result, "Code( -3bits): ");
}

} // namespace
} // namespace quvan
