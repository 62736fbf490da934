#include <gtest/gtest.h>

#include <string>

#include "engine/transforms/Fundamental.h"
#include "tests/engine/transforms/CountingPump.h"

namespace Fundamental {
namespace {

TEST(EventPump, LeadingAndTrailingSpacesPumpOncePerSpaceRemoved) {
  Testing::CountingPump pump;
  EXPECT_EQ(RemoveLeadingSpaces(u"   ab "), u"ab ");
  EXPECT_EQ(pump.Take(), 3);
  EXPECT_EQ(RemoveTrailingSpaces(u" ab  "), u" ab");
  EXPECT_EQ(pump.Take(), 2);
  RemoveLeadingSpaces(u"ab  ");
  RemoveTrailingSpaces(u"  ab");
  EXPECT_EQ(pump.Take(), 0);
}

TEST(EventPump, ExtraSpacesPumpOncePerHalvingPassThenPerEndSpace) {
  Testing::CountingPump pump;
  EXPECT_EQ(RemoveExtraSpaces(u"a b"), u"a b");
  EXPECT_EQ(pump.Take(), 0);
  EXPECT_EQ(RemoveExtraSpaces(u"a  b"), u"a b");
  EXPECT_EQ(pump.Take(), 1);
  EXPECT_EQ(RemoveExtraSpaces(u"a     b"), u"a b");  // five spaces: 3, 2, 1
  EXPECT_EQ(pump.Take(), 3);
  EXPECT_EQ(RemoveExtraSpaces(u" a  b "), u"a b");  // one pass, one leading, one trailing
  EXPECT_EQ(pump.Take(), 3);
  EXPECT_EQ(RemoveExtraSpaces(std::u16string(1'000'000, u' ')), u"");  // 20 passes, one space
  EXPECT_EQ(pump.Take(), 21);
}

TEST(EventPump, SetTransformsPumpOncePerCodeUnit) {
  Testing::CountingPump pump;
  const std::u16string value = u"a1 \U0001F600-";  // six code units
  EXPECT_EQ(FilterCharsBySet(value, u"a", true), u"a");
  EXPECT_EQ(pump.Take(), 6);
  EXPECT_EQ(SubstituteCharsBySet(value, u"a", u"", true), u"a");
  EXPECT_EQ(pump.Take(), 6);
  RemoveAlphabet(value);
  RemoveNumeric(value);
  RemoveAlphanumeric(value);
  RemoveNonAlphanumeric(value);
  ReplaceAlphabet(value, u"x");
  ReplaceNumeric(value, u"x");
  ReplaceAlphanumeric(value, u"x");
  ReplaceNonAlphanumeric(value, u"x");
  EXPECT_EQ(pump.Take(), 8 * 6);
}

}  // namespace
}  // namespace Fundamental
