#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <string>
#include <string_view>

#include "engine/transforms/Fundamental.h"

namespace Fundamental {
namespace {

// The four count transforms in the order RemoveFirstChars, RemoveBeforePosition,
// RemoveLastChars, RemoveAfterPosition.
std::array<std::u16string, 4> Cut(std::u16string_view value, int x) {
  return {RemoveFirstChars(value, x), RemoveBeforePosition(value, x), RemoveLastChars(value, x),
          RemoveAfterPosition(value, x)};
}

using Results = std::array<std::u16string, 4>;

TEST(CountTransforms, CutAtACountInsideTheValue) {
  EXPECT_EQ(Cut(u"abcdef", 3), (Results{u"def", u"def", u"abc", u"abc"}));
  EXPECT_EQ(Cut(u"abcdef", 1), (Results{u"bcdef", u"bcdef", u"abcde", u"a"}));
  EXPECT_EQ(Cut(u"abcdef", 5), (Results{u"f", u"f", u"a", u"abcde"}));
}

TEST(CountTransforms, ZeroKeepsTheValueExceptTheFirstXCharacters) {
  EXPECT_EQ(Cut(u"abcdef", 0), (Results{u"abcdef", u"abcdef", u"abcdef", u""}));
}

TEST(CountTransforms, NegativeCountBehavesAsZero) {
  for (const int x : {-1, -32768, INT_MIN}) {
    EXPECT_EQ(Cut(u"abcdef", x), Cut(u"abcdef", 0)) << "x=" << x;
  }
}

TEST(CountTransforms, CountAtOrBeyondTheLength) {
  for (const int x : {6, 7, 32767, INT_MAX}) {
    EXPECT_EQ(Cut(u"abcdef", x), (Results{u"", u"", u"", u"abcdef"})) << "x=" << x;
  }
  const std::u16string longValue(40000, u'z');
  EXPECT_EQ(Cut(longValue, 32767), (Results{std::u16string(40000 - 32767, u'z'),
                                            std::u16string(40000 - 32767, u'z'),
                                            std::u16string(40000 - 32767, u'z'),
                                            std::u16string(32767, u'z')}));
}

TEST(CountTransforms, SurrogatePairCountsAsTwoCharacters) {
  const std::u16string value = u"a\U0001F600b";  // a, high and low surrogate, b
  ASSERT_EQ(value.size(), 4u);
  EXPECT_EQ(RemoveFirstChars(value, 3), u"b");
  EXPECT_EQ(RemoveLastChars(value, 1), u"a\U0001F600");
  EXPECT_EQ(RemoveAfterPosition(value, 2), (std::u16string{u'a', char16_t(0xD83D)}));
  EXPECT_EQ(RemoveBeforePosition(value, 2), (std::u16string{char16_t(0xDE00), u'b'}));
}

}  // namespace
}  // namespace Fundamental
