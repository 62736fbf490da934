#include "mainwindow/OperationIndex.h"

#include <gtest/gtest.h>

#include "common/Error.h"

namespace Windows {
namespace {

long ErrorNumberOf(std::u16string_view text) {
  try {
    StoredOperationIndex(text);
  } catch (const Main::Error& error) {
    return error.Number();
  }
  return 0;
}

TEST(StoredOperationIndex, ReadsWholeNumbersWithSignAndBlanks) {
  EXPECT_EQ(StoredOperationIndex(u"0"), 0);
  EXPECT_EQ(StoredOperationIndex(u"26"), 26);
  EXPECT_EQ(StoredOperationIndex(u"-1"), -1);
  EXPECT_EQ(StoredOperationIndex(u" +7 "), 7);
  EXPECT_EQ(StoredOperationIndex(u"027"), 27);  // in range or not is the list's business
}

TEST(StoredOperationIndex, RefusesEverythingElse) {
  for (const char16_t* text : {u"", u"  ", u"-", u"1.5", u"two", u"1 2", u"0x1", u"--1"}) {
    EXPECT_EQ(ErrorNumberOf(text), Main::ErrorNumber::kTypeMismatch) << Main::Error(0, text).what();
  }
  EXPECT_EQ(ErrorNumberOf(u"99999999999"), Main::ErrorNumber::kOverflow);
}

}  // namespace
}  // namespace Windows
