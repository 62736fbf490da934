#include "common/ApplicationTitle.h"

#include <gtest/gtest.h>

namespace Main {
namespace {

TEST(ApplicationTitle, ProductNameWithoutABlankIsKeptWhole) {
  SetApplicationTitle();
  EXPECT_EQ(ApplicationTitle(), u"Quorvane");
  EXPECT_EQ(TitleFromName(u"Quorvane"), u"Quorvane");
}

TEST(ApplicationTitle, ShortNameWithABlankStillLosesItsLastWord) {
  const std::u16string name = u"Kestrova Field Cleaner Pro Edition";  // 34 characters
  EXPECT_EQ(TitleFromName(name), u"Kestrova Field Cleaner Pro");
}

TEST(ApplicationTitle, LongNameDropsWholeWordsUntilFortyOrFewerRemain) {
  const std::u16string name =
      u"Kestrova Data Tools & Utilities Access Field Cleaner Deluxe Edition 2021";
  ASSERT_GT(name.size(), 60u);
  const std::u16string title = TitleFromName(name);
  EXPECT_EQ(title, u"Kestrova Data Tools & Utilities Access");
  EXPECT_LE(title.size(), 40u);
  // The cut may leave a word of punctuation at the end.
  EXPECT_EQ(TitleFromName(u"Kestrova Data Tools & Utilities Access Field Cleaner & More"),
            u"Kestrova Data Tools & Utilities Access");
  EXPECT_EQ(TitleFromName(u"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa & bbbbbbbbbbbbbbbbbbbb cc"),
            u"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa &");
}

TEST(ApplicationTitle, CuttingStopsWhenNoBlankIsLeft) {
  const std::u16string longWord(50, u'x');
  EXPECT_EQ(TitleFromName(longWord + u" tail"), longWord);
  EXPECT_EQ(TitleFromName(u" lead"), u"");
  // Only U+0020 counts as a blank.
  EXPECT_EQ(TitleFromName(u"a\tb\u00A0c d"), u"a\tb\u00A0c");
}

}  // namespace
}  // namespace Main
