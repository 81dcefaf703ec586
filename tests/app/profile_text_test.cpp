#include "app/core/profile_text.h"

#include <gtest/gtest.h>

namespace quvan::app {
namespace {

TEST(ProfileTextTest, FindsKeysOnlyInTheirOwnSection) {
    const ProfileText p("[A]\nkey = one \n;key=comment\n[B]\nKEY=two\n");
    EXPECT_EQ(p.Get("a", "Key"), "one");
    EXPECT_EQ(p.Get("B", "key"), "two");
    EXPECT_EQ(p.Get("C", "key"), std::nullopt);
    EXPECT_EQ(p.Get("A", "other"), std::nullopt);
}

TEST(ProfileTextTest, SetReplacesAppendsAndAddsSections) {
    ProfileText p("[A]\nk=1\n\n[B]\nm=2\n");
    p.Set("A", "k", "9");
    p.Set("A", "n", "3");
    p.Set("C", "z", "");
    EXPECT_EQ(p.Text(), "[A]\nk=9\nn=3\n\n[B]\nm=2\n\n[C]\nz=\n");
}

} // namespace
} // namespace quvan::app
