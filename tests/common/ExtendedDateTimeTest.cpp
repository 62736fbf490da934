#include "common/ExtendedDateTime.h"

#include <gtest/gtest.h>

#include "common/Value.h"

namespace Main {
namespace {

ExtendedDateTime When(int64_t year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                      int64_t fraction = 0) {
  return ExtendedFromCivil(CivilDateTime{year, month, day, hour, minute, second}, fraction);
}

TEST(ExtendedDateTime, TheRangeEndsAndTheirTicks) {
  EXPECT_EQ(When(1, 1, 1).ticks, 0);
  EXPECT_EQ(When(9999, 12, 31, 23, 59, 59, 9'999'999).ticks, kMaxExtendedTicks);
  // 2021-06-14 is day 737,954 counted from 0001-01-01.
  EXPECT_EQ(When(2021, 6, 14, 12, 45).ticks, (737'954 * int64_t{86'400} + 45'900) * kTicksPerSecond);
  EXPECT_TRUE(InExtendedRange(ExtendedDateTime{0}));
  EXPECT_TRUE(InExtendedRange(ExtendedDateTime{kMaxExtendedTicks}));
  EXPECT_FALSE(InExtendedRange(ExtendedDateTime{-1}));
  EXPECT_FALSE(InExtendedRange(ExtendedDateTime{kMaxExtendedTicks + 1}));
  EXPECT_FALSE(InExtendedRange(When(10000, 1, 1)));
}

TEST(ExtendedDateTime, ShownAsAccessShowsIt) {
  EXPECT_EQ(FormatExtendedDateTime(ExtendedDateTime{0}), u"1/1/0001");
  EXPECT_EQ(FormatExtendedDateTime(ExtendedDateTime{kMaxExtendedTicks}), u"12/31/9999 11:59:59.9999999 PM");
  EXPECT_EQ(FormatExtendedDateTime(When(2000, 2, 29)), u"2/29/2000");
  EXPECT_EQ(FormatExtendedDateTime(When(2024, 7, 1, 12)), u"7/1/2024 12:00:00 PM");
  EXPECT_EQ(FormatExtendedDateTime(When(2024, 7, 1, 0, 0, 1)), u"7/1/2024 12:00:01 AM");
  EXPECT_EQ(FormatExtendedDateTime(When(2024, 7, 1, 23, 5, 9)), u"7/1/2024 11:05:09 PM");
  EXPECT_EQ(FormatExtendedDateTime(When(2021, 6, 14, 12, 45, 0, 1'234'567)), u"6/14/2021 12:45:00.1234567 PM");
  EXPECT_EQ(FormatExtendedDateTime(When(950, 10, 5, 9, 30, 0, 5'000'000)), u"10/5/0950 9:30:00.5000000 AM");
  EXPECT_EQ(FormatExtendedDateTime(When(1, 1, 1, 0, 0, 0, 1)), u"1/1/0001 12:00:00.0000001 AM");
  EXPECT_EQ(Value::ExtendedDate(When(2024, 7, 1, 12)).ToText(), u"7/1/2024 12:00:00 PM");
  EXPECT_NE(Value::ExtendedDate(ExtendedDateTime{1}), Value::ExtendedDate(ExtendedDateTime{2}));
}

TEST(ExtendedDateTime, CalendarPartsRoundTripAcrossTheRange) {
  // Every 997th day and a tick pattern that moves through the day.
  for (int64_t day = 0; day < kExtendedDays; day += 997) {
    const ExtendedDateTime when{day * kTicksPerDay + (day * 7'919'999'999) % kTicksPerDay};
    int64_t fraction = -1;
    const CivilDateTime parts = CivilFromExtended(when, fraction);
    ASSERT_GE(parts.year, 1);
    ASSERT_LE(parts.year, 9999);
    ASSERT_EQ(ExtendedFromCivil(parts, fraction), when) << day;
  }
  int64_t fraction = 0;
  const CivilDateTime last = CivilFromExtended(ExtendedDateTime{kMaxExtendedTicks}, fraction);
  EXPECT_EQ(last.year, 9999);
  EXPECT_EQ(last.month, 12);
  EXPECT_EQ(last.day, 31);
  EXPECT_EQ(last.hour, 23);
  EXPECT_EQ(last.second, 59);
  EXPECT_EQ(fraction, 9'999'999);
  // Before day one the time still counts forwards: one tick before is 12/31 of year 0.
  const CivilDateTime before = CivilFromExtended(ExtendedDateTime{-1}, fraction);
  EXPECT_EQ(before.year, 0);
  EXPECT_EQ(before.hour, 23);
  EXPECT_EQ(fraction, 9'999'999);
}

}  // namespace
}  // namespace Main
