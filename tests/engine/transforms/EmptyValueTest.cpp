#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <string_view>
#include <vector>

#include "engine/transforms/Fundamental.h"
#include "tests/engine/transforms/CountingPump.h"

namespace Fundamental {
namespace {

using Text = std::u16string_view;

// Every transform applied to `value`, with `find` as its find text, marker or set, `replacement`
// as its replacement and `x` as its count.
std::vector<std::u16string> AllTransforms(Text value, Text find, Text replacement, int x) {
  return {
      RemoveAllSpaces(value),
      RemoveLeadingSpaces(value),
      RemoveTrailingSpaces(value),
      RemoveExtraSpaces(value),
      RemoveEnters(value),
      RemoveTabs(value),
      RemoveAlphabet(value),
      RemoveNumeric(value),
      RemoveAlphanumeric(value),
      RemoveNonAlphanumeric(value),
      ReplaceAllSpaces(value, replacement),
      ReplaceEnters(value, replacement),
      ReplaceTabs(value, replacement),
      ReplaceAlphabet(value, replacement),
      ReplaceNumeric(value, replacement),
      ReplaceAlphanumeric(value, replacement),
      ReplaceNonAlphanumeric(value, replacement),
      RemoveUserDefined(value, find),
      ReplaceUserDefined(value, find, replacement),
      RemoveTextBefore(value, find),
      ReplaceTextBefore(value, find, replacement),
      RemoveTextAfter(value, find),
      ReplaceTextAfter(value, find, replacement),
      RemoveFirstChars(value, x),
      RemoveLastChars(value, x),
      RemoveAfterPosition(value, x),
      RemoveBeforePosition(value, x),
      FilterCharsBySet(value, find, true),
      FilterCharsBySet(value, find, false),
      SubstituteCharsBySet(value, find, replacement, true),
      SubstituteCharsBySet(value, find, replacement, false),
  };
}

TEST(EmptyValue, GivesTheEmptyTextWhateverTheOtherArguments) {
  Testing::CountingPump pump;
  const std::vector<Text> texts = {u"", u"x", u" ", u"\r\n", u"abc"};
  for (const Text find : texts) {
    for (const Text replacement : texts) {
      for (const int x : {INT_MIN, -1, 0, 1, 32767}) {
        for (const std::u16string& result : AllTransforms(u"", find, replacement, x)) {
          EXPECT_EQ(result, u"") << "find of length " << find.size() << ", replacement of length "
                                 << replacement.size() << ", x=" << x;
        }
      }
    }
  }
  EXPECT_EQ(pump.Calls(), 0);
}

}  // namespace
}  // namespace Fundamental
