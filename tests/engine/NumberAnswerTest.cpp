#include "engine/NumberAnswer.h"

#include <gtest/gtest.h>

#include "common/Error.h"

namespace Engine {
namespace {

TEST(NumberAnswer, RecognisesSignedDecimalsWithBlanksAndExponents) {
  EXPECT_EQ(ParseNumberAnswer(u"12"), 12.0);
  EXPECT_EQ(ParseNumberAnswer(u"  -3.5\t"), -3.5);
  EXPECT_EQ(ParseNumberAnswer(u"+7"), 7.0);
  EXPECT_EQ(ParseNumberAnswer(u".5"), 0.5);
  EXPECT_EQ(ParseNumberAnswer(u"5."), 5.0);
  EXPECT_EQ(ParseNumberAnswer(u"2e1"), 20.0);
  EXPECT_EQ(ParseNumberAnswer(u"2.5E-1"), 0.25);
}

TEST(NumberAnswer, RejectsWhatIsNotANumber) {
  for (const std::u16string_view text :
       {u"", u"   ", u"abc", u"3a", u"a3", u"1 2", u"1,000", u"$5", u"--1", u"+", u".", u"e5",
        u"1e", u"1e+", u"0x10", u"１２" /* full-width digits */, u"inf", u"nan"}) {
    EXPECT_FALSE(ParseNumberAnswer(text).has_value()) << std::string(text.begin(), text.end());
  }
}

TEST(NumberAnswer, CountRoundsHalvesToEven) {
  EXPECT_EQ(ToCount(u"2.5"), 2);
  EXPECT_EQ(ToCount(u"3.5"), 4);
  EXPECT_EQ(ToCount(u"2.51"), 3);
  EXPECT_EQ(ToCount(u"-2.5"), -2);
  EXPECT_EQ(ToCount(u"0.5"), 0);
  EXPECT_EQ(ToCount(u"32767.4"), 32767);
  EXPECT_EQ(ToCount(u"-32768"), -32768);
}

TEST(NumberAnswer, CountFailsWithOverflowOrTypeMismatch) {
  for (const std::u16string_view text : {u"32767.5", u"32768", u"-32769", u"1e300", u"1e999"}) {
    try {
      ToCount(text);
      ADD_FAILURE() << "no overflow";
    } catch (const Main::Error& e) {
      EXPECT_EQ(e.Number(), Main::ErrorNumber::kOverflow);
    }
  }
  try {
    ToCount(u"x");
    ADD_FAILURE() << "no type mismatch";
  } catch (const Main::Error& e) {
    EXPECT_EQ(e.Number(), Main::ErrorNumber::kTypeMismatch);
  }
  EXPECT_EQ(ToCount(u"1e-999"), 0);
}

TEST(NumberAnswer, PromptAcceptsOnlyCountsFromZeroTo32767) {
  EXPECT_TRUE(IsAcceptedCount(u"0"));
  EXPECT_TRUE(IsAcceptedCount(u"-0.4"));  // rounds to 0
  EXPECT_TRUE(IsAcceptedCount(u"32767"));
  EXPECT_FALSE(IsAcceptedCount(u"32768"));
  EXPECT_FALSE(IsAcceptedCount(u"-1"));
  EXPECT_FALSE(IsAcceptedCount(u"ten"));
}

}  // namespace
}  // namespace Engine
