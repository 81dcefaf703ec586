// Texts of the plain libraries: the source text until a translator is
// installed, and numbers placed by their markers in either language.

#include "platform/user_text.h"

#include <gtest/gtest.h>
#include <map>
#include <string>

namespace quvan::user_text {
namespace {

class UserText : public ::testing::Test {
  protected:
    ~UserText() override { SetTranslator({}); }
};

TEST_F(UserText, FillPutsEachArgumentAtItsMarker) {
    EXPECT_EQ(Fill("%1 / %2 行", {"3", "250"}), "3 / 250 行");
    // A translation may turn the order round.
    EXPECT_EQ(Fill("%2 rows, from %1", {"3", "250"}), "250 rows, from 3");
    EXPECT_EQ(Fill("%1%1", {"ab"}), "abab");
    // What is not a marker of a given argument stays as it is.
    EXPECT_EQ(Fill("100% of %1, %3 and %0", {"x", "y"}), "100% of x, %3 and %0");
    EXPECT_EQ(Fill("ends with %", {"x"}), "ends with %");
    // An argument that holds a marker is not filled again.
    EXPECT_EQ(Fill("%1 and %2", {"%2", "b"}), "%2 and b");
}

TEST_F(UserText, TheSourceTextUntilATranslatorIsInstalled) {
    EXPECT_EQ(Tr("Learning", "学習出来ません。"), "学習出来ません。");
    const std::map<std::string, std::string> english = {
        {"Learning|学習出来ません。", "Cannot learn this signal."}};
    SetTranslator([&english](const char* context, const char* source) {
        const auto found = english.find(std::string(context) + '|' + source);
        return found == english.end() ? std::string() : found->second;
    });
    EXPECT_EQ(Tr("Learning", "学習出来ません。"), "Cannot learn this signal.");
    // The context counts, and a text without a translation keeps its source.
    EXPECT_EQ(Tr("ReadBack", "学習出来ません。"), "学習出来ません。");
    SetTranslator({});
    EXPECT_EQ(Tr("Learning", "学習出来ません。"), "学習出来ません。");
}

} // namespace
} // namespace quvan::user_text
