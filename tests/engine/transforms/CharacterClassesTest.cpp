#include <gtest/gtest.h>

#include <string>

#include "engine/transforms/Fundamental.h"

namespace Fundamental {
namespace {

bool IsAsciiLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }
bool IsAsciiDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

TEST(CharacterSets, MembershipIsExactlyAsciiLettersDigitsAndSpace) {
  // Every code unit, one at a time: accented letters, other scripts' digits, full-width forms,
  // surrogate halves and the other blanks belong to no set.
  for (unsigned code = 0; code <= 0xFFFF; ++code) {
    const char16_t c = static_cast<char16_t>(code);
    const std::u16string value(1, c);
    const bool letter = IsAsciiLetter(c);
    const bool digit = IsAsciiDigit(c);
    EXPECT_EQ(RemoveAlphabet(value).empty(), letter) << "U+" << std::hex << code;
    EXPECT_EQ(RemoveNumeric(value).empty(), digit) << "U+" << std::hex << code;
    EXPECT_EQ(RemoveAlphanumeric(value).empty(), letter || digit) << "U+" << std::hex << code;
    EXPECT_EQ(RemoveNonAlphanumeric(value).empty(), !(letter || digit))
        << "U+" << std::hex << code;
    EXPECT_EQ(ReplaceNonAlphanumeric(value, u"<>") == value, letter || digit || c == u' ')
        << "U+" << std::hex << code;
  }
}

TEST(CharacterSets, RemoveAndReplaceByClass) {
  EXPECT_EQ(RemoveAlphabet(u"Caf\u00e9 42!"), u"\u00e9 42!");
  EXPECT_EQ(RemoveNonAlphanumeric(u"Caf\u00e9 42!"), u"Caf42");
  EXPECT_EQ(ReplaceNonAlphanumeric(u"Caf\u00e9 42!", u"_"), u"Caf_ 42_");
  EXPECT_EQ(ReplaceNumeric(u"a1b22", u"#"), u"a#b##");
  EXPECT_EQ(ReplaceNumeric(u"a1b22", u""), u"ab");
  EXPECT_EQ(RemoveNumeric(u"a1b22"), u"ab");
  EXPECT_EQ(ReplaceAlphabet(u"a1b22", u"<>"), u"<>1<>22");
  EXPECT_EQ(RemoveAlphanumeric(u"a-1 b_Z"), u"- _");
  EXPECT_EQ(ReplaceAlphanumeric(u"a-1 b", u"**"), u"**-** **");
  EXPECT_EQ(ReplaceNonAlphanumeric(u"x\ty\u00A0z", u""), u"xyz");
}

TEST(CharacterSets, SurrogatePairIsTwoNonMembers) {
  const std::u16string value = u"a\U0001F600b";
  EXPECT_EQ(ReplaceNonAlphanumeric(value, u"?"), u"a??b");
  EXPECT_EQ(RemoveNonAlphanumeric(value), u"ab");
  EXPECT_EQ(RemoveAlphabet(value), u"\U0001F600");
  EXPECT_EQ(ReplaceAlphanumeric(value, u"-"), u"-\U0001F600-");
}

TEST(CharacterSets, AnySetKeepsOrDropsItsMembers) {
  // Unsorted members with a repeat, ASCII and not.
  const std::u16string set = u"\u20ac\u00e9x\u00e9";
  EXPECT_EQ(FilterCharsBySet(u"x\u00e9\u20acy\u00e9", set, true), u"x\u00e9\u20ac\u00e9");
  EXPECT_EQ(FilterCharsBySet(u"x\u00e9\u20acy\u00e9", set, false), u"y");
  EXPECT_EQ(SubstituteCharsBySet(u"ax\u00e9b", set, u"()", true), u"()x\u00e9()");
  EXPECT_EQ(SubstituteCharsBySet(u"ax\u00e9b", set, u"()", false), u"a()()b");
  // Membership is per code unit, so one surrogate half can be a member on its own.
  const std::u16string highHalf(1, char16_t(0xD83D));
  EXPECT_EQ(FilterCharsBySet(u"\U0001F600", highHalf, true), highHalf);
  // The empty set has no members.
  EXPECT_EQ(FilterCharsBySet(u"abc", u"", true), u"");
  EXPECT_EQ(FilterCharsBySet(u"abc", u"", false), u"abc");
  EXPECT_EQ(SubstituteCharsBySet(u"abc", u"", u".", true), u"...");
}

}  // namespace
}  // namespace Fundamental
