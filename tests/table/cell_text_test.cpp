#include "table/cell_text.h"
#include "table/cp932_codec.h"
#include "table/learning_table.h"

#include <gtest/gtest.h>

namespace quvan {
namespace {

TEST(CellText, CommaAndLineBreaksCannotReachTheFile) {
    LearningTable table(kStdTableRows);
    table.setCell(1, ColComments, "a,b\r\nc");
    EXPECT_EQ(table.cell(1, ColComments), "a\xEF\xBC\x8C"
                                          "b  c");
}

TEST(CellText, CharactersShiftJisLacksBecomeGetaMarks) {
    // U+1F600 (emoji) and U+00E9 (é) have no CP932 code; invalid UTF-8 too.
    EXPECT_EQ(StorableCellText("TV\xF0\x9F\x98\x80!", ColComments), "TV\xE3\x80\x93!");
    EXPECT_EQ(StorableCellText("caf\xC3\xA9", ColComments), "caf\xE3\x80\x93");
    EXPECT_EQ(StorableCellText("a\xFF"
                               "b",
                               ColResult),
              "a\xE3\x80\x93"
              "b");
    // Japanese text, half-width katakana and NEC specials pass unchanged.
    EXPECT_EQ(StorableCellText("テレビ電源ｶﾝﾏ①", ColComments), "テレビ電源ｶﾝﾏ①");
}

TEST(CellText, ResultCannotPassForARecordField) {
    LearningTable table(kStdTableRows);
    table.setCell(1, ColResult, " Twc:123");
    EXPECT_EQ(table.cell(1, ColResult), " Twc：123");
    table.setCell(1, ColComments, "Twc:123"); // the reader never tag-checks comments
    EXPECT_EQ(table.cell(1, ColComments), "Twc:123");
    table.setCell(1, ColResult, "Tm:NEC-32A d:20DF");
    EXPECT_EQ(table.cell(1, ColResult), "Tm:NEC-32A d:20DF");
}

TEST(Cp932Codec, ConvertsBothWaysAndMarksWhatItCannot) {
    Converted sjis = Cp932FromUtf8("テレビ電源");
    EXPECT_EQ(sjis.text, "\x83\x65\x83\x8C\x83\x72\x93\x64\x8C\xB9");
    EXPECT_EQ(sjis.replaced, 0);
    EXPECT_EQ(Utf8FromCp932(sjis.text).text, "テレビ電源");

    // 0x80 and 0xA0 are not CP932; a lead byte 0x83 cut off at the end neither.
    Converted bad = Utf8FromCp932("A\x80"
                                  "B\xA0\x83");
    EXPECT_EQ(bad.text, "A\xE3\x80\x93"
                        "B\xE3\x80\x93\xE3\x80\x93");
    EXPECT_EQ(bad.replaced, 3);
}

} // namespace
} // namespace quvan
