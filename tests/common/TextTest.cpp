#include "common/Text.h"

#include <gtest/gtest.h>

namespace Main {
namespace {

TEST(Text, Utf8RoundTripIncludingSurrogatePairs) {
  const std::u16string text = u"Straße — 東京 😀 O'Brien";
  EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
  EXPECT_EQ(ToUtf8(u"é"), "\xC3\xA9");
  EXPECT_EQ(FromUtf8("\xF0\x9F\x98\x80"), u"😀");
}

TEST(Text, MalformedInputBecomesReplacementCharacters) {
  EXPECT_EQ(FromUtf8("a\xFF" "b"), u"a\uFFFDb");
  EXPECT_EQ(FromUtf8("a\xC3"), u"a\uFFFD");          // truncated sequence
  EXPECT_EQ(FromUtf8("\xC0\xAF"), u"\uFFFD");        // overlong
  EXPECT_EQ(FromUtf8("\xE2\x82" "A"), u"\uFFFDA");   // broken sequence keeps the next byte
  EXPECT_EQ(FromUtf8("\xED\xA0\x80"), u"\uFFFD");    // encoded surrogate
  EXPECT_EQ(ToUtf8(std::u16string{char16_t(0xDC00), u'x'}), "\xEF\xBF\xBDx");
  EXPECT_EQ(ToUtf8(std::u16string{char16_t(0xD800)}), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace Main
