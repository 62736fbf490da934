#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <string_view>

#include "engine/transforms/Fundamental.h"
#include "tests/engine/transforms/ReferenceText.h"

namespace Fundamental {
namespace {

TEST(UserDefined, MatchesDoNotOverlapAndAreNotSearchedAgain) {
  EXPECT_EQ(ReplaceUserDefined(u"aaa", u"aa", u"b"), u"ba");
  EXPECT_EQ(ReplaceUserDefined(u"aaaa", u"aa", u"b"), u"bb");
  EXPECT_EQ(RemoveUserDefined(u"abcabc", u"bc"), u"aa");
  EXPECT_EQ(RemoveUserDefined(u"aabb", u"ab"), u"ab");  // the "ab" the removal forms stays
  EXPECT_EQ(ReplaceUserDefined(u"a-a", u"a", u"aa"), u"aa-aa");
  EXPECT_EQ(ReplaceUserDefined(u"x", u"x", u"xxx"), u"xxx");
  EXPECT_EQ(ReplaceUserDefined(u"abab", u"ab", u""), u"");
}

TEST(UserDefined, ExactCaseSensitiveMatching) {
  EXPECT_EQ(RemoveUserDefined(u"ABC", u"abc"), u"ABC");
  EXPECT_EQ(ReplaceUserDefined(u"ABC abc", u"abc", u"x"), u"ABC x");
  EXPECT_EQ(RemoveUserDefined(u"Caf\u00e9 Cafe", u"e"), u"Caf\u00e9 Caf");
  EXPECT_EQ(RemoveUserDefined(u"ab", u"abc"), u"ab");
}

TEST(UserDefined, EmptyFindTextMatchesNothing) {
  EXPECT_EQ(RemoveUserDefined(u"abc", u""), u"abc");
  EXPECT_EQ(ReplaceUserDefined(u"abc", u"", u"x"), u"abc");
}

TEST(UserDefined, SurrogatePairsAreMatchedByCodeUnit) {
  const std::u16string lowHalf(1, char16_t(0xDE00));
  EXPECT_EQ(ReplaceUserDefined(u"a\U0001F600", lowHalf, u"!"),
            (std::u16string{u'a', char16_t(0xD83D), u'!'}));
  EXPECT_EQ(RemoveUserDefined(u"\U0001F600x\U0001F600", u"\U0001F600"), u"x");
}

TEST(UserDefined, MatchesTheLiteralLeftToRightScan) {
  // Find texts whose beginnings repeat inside them, over a two-letter alphabet, where a search
  // that restarts wrongly after a partial match goes astray.
  const std::array<std::u16string_view, 7> finds = {u"a", u"aa", u"ab", u"aab", u"abab",
                                                    u"abaab", u"aabaaa"};
  std::mt19937 random(7);
  for (int round = 0; round < 3000; ++round) {
    const std::u16string value = Testing::RandomText(random, u"ab", 30);
    for (const std::u16string_view find : finds) {
      EXPECT_EQ(ReplaceUserDefined(value, find, u"[]"),
                Testing::LiteralReplaceAll(value, find, u"[]"));
    }
  }
}

TEST(Markers, SplitAtTheFirstOccurrence) {
  EXPECT_EQ(RemoveTextBefore(u"key=value=x", u"="), u"=value=x");
  EXPECT_EQ(ReplaceTextBefore(u"key=value=x", u"=", u"K"), u"K=value=x");
  EXPECT_EQ(RemoveTextAfter(u"key=value=x", u"="), u"key=");
  EXPECT_EQ(ReplaceTextAfter(u"key=value=x", u"=", u"V"), u"key=V");

  EXPECT_EQ(RemoveTextBefore(u"a==b==c", u"=="), u"==b==c");
  EXPECT_EQ(RemoveTextAfter(u"a==b==c", u"=="), u"a==");
  EXPECT_EQ(ReplaceTextAfter(u"a==b==c", u"==", u""), u"a==");
  // The first occurrence after a partial one.
  EXPECT_EQ(RemoveTextBefore(u"abaabab", u"abab"), u"abab");
  EXPECT_EQ(RemoveTextAfter(u"abaababx", u"abab"), u"abaabab");
}

TEST(Markers, MarkerAtEitherEnd) {
  EXPECT_EQ(RemoveTextBefore(u"=a", u"="), u"=a");
  EXPECT_EQ(ReplaceTextBefore(u"=a", u"=", u"R"), u"R=a");
  EXPECT_EQ(RemoveTextAfter(u"ab=", u"="), u"ab=");
  EXPECT_EQ(ReplaceTextAfter(u"ab=", u"=", u"R"), u"ab=R");
  EXPECT_EQ(RemoveTextAfter(u"whole", u"whole"), u"whole");
}

TEST(Markers, MissingMarkerLeavesTheValueUnchanged) {
  for (const std::u16string_view marker : {u"#", u"Key", u"key=value=xy", u"\U0001F600"}) {
    EXPECT_EQ(RemoveTextBefore(u"key=value=x", marker), u"key=value=x");
    EXPECT_EQ(ReplaceTextBefore(u"key=value=x", marker, u"R"), u"key=value=x");
    EXPECT_EQ(RemoveTextAfter(u"key=value=x", marker), u"key=value=x");
    EXPECT_EQ(ReplaceTextAfter(u"key=value=x", marker, u"R"), u"key=value=x");
  }
}

TEST(Markers, EmptyMarkerIsFoundAtTheStart) {
  EXPECT_EQ(RemoveTextBefore(u"abc", u""), u"abc");
  EXPECT_EQ(ReplaceTextBefore(u"abc", u"", u"R"), u"Rabc");
  EXPECT_EQ(RemoveTextAfter(u"abc", u""), u"");
  EXPECT_EQ(ReplaceTextAfter(u"abc", u"", u"R"), u"R");
}

}  // namespace
}  // namespace Fundamental
