#include <gtest/gtest.h>

#include <cstddef>
#include <random>
#include <string>
#include <string_view>

#include "engine/transforms/Fundamental.h"
#include "tests/engine/transforms/CountingPump.h"
#include "tests/engine/transforms/ReferenceText.h"

namespace Fundamental {
namespace {

TEST(Spaces, OnlyU0020IsASpace) {
  const std::u16string value = u" a\tb\u00A0c\u2003d\ne ";
  EXPECT_EQ(RemoveAllSpaces(value), u"a\tb\u00A0c\u2003d\ne");
  EXPECT_EQ(ReplaceAllSpaces(value, u"_"), u"_a\tb\u00A0c\u2003d\ne_");
  EXPECT_EQ(RemoveLeadingSpaces(u"\u00A0 a"), u"\u00A0 a");
  EXPECT_EQ(RemoveLeadingSpaces(u"\ta"), u"\ta");
  EXPECT_EQ(RemoveTrailingSpaces(u"a \n"), u"a \n");
  EXPECT_EQ(RemoveExtraSpaces(u"\u00A0\u00A0a\u00A0\u00A0"), u"\u00A0\u00A0a\u00A0\u00A0");
}

TEST(Spaces, OnlySpacesGiveTheEmptyText) {
  for (const std::size_t spaces : {1, 3, 1000}) {
    const std::u16string value(spaces, u' ');
    EXPECT_EQ(RemoveLeadingSpaces(value), u"");
    EXPECT_EQ(RemoveTrailingSpaces(value), u"");
    EXPECT_EQ(RemoveExtraSpaces(value), u"");
    EXPECT_EQ(RemoveAllSpaces(value), u"");
  }
}

TEST(Spaces, LeadingTrailingAndExtraSpaces) {
  EXPECT_EQ(RemoveLeadingSpaces(u"  a   b  "), u"a   b  ");
  EXPECT_EQ(RemoveTrailingSpaces(u"  a   b  "), u"  a   b");
  EXPECT_EQ(RemoveExtraSpaces(u"  a   b  "), u"a b");
  EXPECT_EQ(RemoveLeadingSpaces(u"ab"), u"ab");
  EXPECT_EQ(RemoveTrailingSpaces(u"ab"), u"ab");
  EXPECT_EQ(RemoveExtraSpaces(u"a b c"), u"a b c");
  EXPECT_EQ(RemoveExtraSpaces(u"a" + std::u16string(1025, u' ') + u"b    c"), u"a b c");
}

TEST(Spaces, ExtraSpacesLeaveTabsAndLineBreaksBetweenWords) {
  EXPECT_EQ(RemoveExtraSpaces(u"a\tb"), u"a\tb");
  EXPECT_EQ(RemoveExtraSpaces(u"a  \t  b"), u"a \t b");
  EXPECT_EQ(RemoveExtraSpaces(u"\t a  b \n"), u"\t a b \n");
  EXPECT_EQ(RemoveExtraSpaces(u"a \r\n  b"), u"a \r\n b");
}

TEST(Spaces, ReplaceAllSpacesWithLongerOrEmptyReplacement) {
  EXPECT_EQ(ReplaceAllSpaces(u"a  b", u"_-"), u"a_-_-b");
  EXPECT_EQ(ReplaceAllSpaces(u"a  b", u""), u"ab");
  EXPECT_EQ(ReplaceAllSpaces(u"a b", u"  "), u"a  b");  // the inserted spaces are not replaced
}

// The removal of extra spaces done step by step as the procedure reads: passes of "two spaces
// become one", pumping before each, then the leading spaces and the trailing spaces one by one.
std::u16string ExtraSpacesStepByStep(std::u16string value, int& pumps) {
  while (value.find(u"  ") != std::u16string::npos) {
    ++pumps;
    value = Testing::LiteralReplaceAll(value, u"  ", u" ");
  }
  while (!value.empty() && value.front() == u' ') {
    ++pumps;
    value.erase(0, 1);
  }
  while (!value.empty() && value.back() == u' ') {
    ++pumps;
    value.pop_back();
  }
  return value;
}

TEST(Spaces, ExtraSpacesMatchThePassByPassProcedure) {
  std::mt19937 random(20240611);
  Testing::CountingPump pump;
  for (int round = 0; round < 2000; ++round) {
    const std::u16string value = Testing::RandomText(random, u"    a\tb", 40);
    int expectedPumps = 0;
    const std::u16string expected = ExtraSpacesStepByStep(value, expectedPumps);
    EXPECT_EQ(RemoveExtraSpaces(value), expected) << "value of length " << value.size();
    EXPECT_EQ(pump.Take(), expectedPumps) << "value of length " << value.size();
  }
}

TEST(LineBreaks, EachLineFeedAndCarriageReturnIsReplacedSeparately) {
  EXPECT_EQ(RemoveEnters(u"x\r\ny"), u"x  y");
  EXPECT_EQ(ReplaceEnters(u"x\r\ny", u","), u"x,,y");
  EXPECT_EQ(RemoveEnters(u"\na\rb\n\n"), u" a b  ");
  EXPECT_EQ(ReplaceEnters(u"\n\r\r\n", u"<>"), u"<><><><>");
  EXPECT_EQ(ReplaceEnters(u"a\r\nb", u""), u"ab");
  EXPECT_EQ(RemoveEnters(u"a\tb\u2028c\u0085"), u"a\tb\u2028c\u0085");  // not line breaks here
}

TEST(LineBreaks, CarriageReturnsBroughtInByTheReplacementAreReplacedToo) {
  // Line feeds go first; the carriage returns the replacement put in are then replaced again.
  EXPECT_EQ(ReplaceEnters(u"a\nb", u"[\r]"), u"a[[\r]]b");
  EXPECT_EQ(ReplaceEnters(u"a\nb", u"\r\n"), u"a\r\n\nb");
  EXPECT_EQ(ReplaceEnters(u"a\rb", u"\r\n"), u"a\r\nb");
  EXPECT_EQ(ReplaceEnters(u"a\nb", u"\n"), u"a\nb");
}

TEST(LineBreaks, MatchTheLineFeedPassFollowedByTheCarriageReturnPass) {
  std::mt19937 random(1789);
  for (int round = 0; round < 2000; ++round) {
    const std::u16string value = Testing::RandomText(random, u"a\r\n", 12);
    const std::u16string replacement = Testing::RandomText(random, u"b\r\n", 3);
    const std::u16string afterLineFeeds = Testing::LiteralReplaceAll(value, u"\n", replacement);
    EXPECT_EQ(ReplaceEnters(value, replacement),
              Testing::LiteralReplaceAll(afterLineFeeds, u"\r", replacement));
  }
}

TEST(Tabs, RemovedWithoutASpaceOrReplaced) {
  EXPECT_EQ(RemoveTabs(u"a\tb\t\tc"), u"abc");
  EXPECT_EQ(RemoveTabs(u"a b"), u"a b");
  EXPECT_EQ(ReplaceTabs(u"a\tb\t", u"    "), u"a    b    ");
  EXPECT_EQ(ReplaceTabs(u"\t\t", u"\t"), u"\t\t");
  const std::u16string tabbed = u"one \t two";
  EXPECT_EQ(RemoveTabs(RemoveExtraSpaces(tabbed)), u"one  two");
  EXPECT_EQ(RemoveExtraSpaces(RemoveTabs(tabbed)), u"one two");
}

}  // namespace
}  // namespace Fundamental
