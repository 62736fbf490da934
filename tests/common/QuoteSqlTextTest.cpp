#include "common/QuoteSqlText.h"

#include <gtest/gtest.h>

#include "common/DateTime.h"

namespace Main {
namespace {

TEST(QuoteSqlText, NullGivesTheSubstituteUnchanged) {
  EXPECT_EQ(QuoteSqlText(Value::Null(), u""), u"");
  EXPECT_EQ(QuoteSqlText(Value::Null(), u"it's"), u"it's");
}

TEST(QuoteSqlText, DoublesEveryApostropheAndNothingElse) {
  EXPECT_EQ(QuoteSqlText(Value::Text(u"O'Brien"), u""), u"O''Brien");
  EXPECT_EQ(QuoteSqlText(Value::Text(u"''"), u""), u"''''");
  EXPECT_EQ(QuoteSqlText(Value::Text(u"\"a\" [b] `c` %_"), u""), u"\"a\" [b] `c` %_");
  EXPECT_EQ(QuoteSqlText(Value::Text(u""), u"x"), u"");
}

TEST(QuoteSqlText, NumbersInShortestRoundTripFormWithAPoint) {
  EXPECT_EQ(QuoteSqlText(Value::Integer(-42), u""), u"-42");
  EXPECT_EQ(QuoteSqlText(Value::Double(0.1), u""), u"0.1");
  EXPECT_EQ(QuoteSqlText(Value::Double(1.0 / 3), u""), u"0.3333333333333333");
  EXPECT_EQ(QuoteSqlText(Value::Double(12.0), u""), u"12");
  EXPECT_EQ(QuoteSqlText(Value::Single(0.1f), u""), u"0.1");
  EXPECT_EQ(QuoteSqlText(Value::Money({125000}), u""), u"12.5");
  EXPECT_EQ(QuoteSqlText(Value::Money({-30000}), u""), u"-3");
  EXPECT_EQ(QuoteSqlText(Value::Money({INT64_MIN}), u""), u"-922337203685477.5808");
}

TEST(QuoteSqlText, DecimalsExactWithTrailingZerosTrimmed) {
  Decimal d;
  d.scale = 2;
  d.magnitude = {1250, 0, 0, 0};
  EXPECT_EQ(QuoteSqlText(Value::Exact(d), u""), u"12.5");
  d.negative = true;
  d.magnitude = {5, 0, 0, 0};
  EXPECT_EQ(QuoteSqlText(Value::Exact(d), u""), u"-0.05");
  d = Decimal{};
  d.magnitude = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0};  // 2^96 - 1
  EXPECT_EQ(QuoteSqlText(Value::Exact(d), u""), u"79228162514264337593543950335");
  d = Decimal{};
  d.negative = true;
  d.scale = 3;
  EXPECT_EQ(QuoteSqlText(Value::Exact(d), u""), u"0");
}

TEST(QuoteSqlText, DatesLeaveOutMidnightAndTheZeroDay) {
  const auto at = [](int64_t y, int mo, int d, int h, int mi, int s) {
    return Value::Date({OleDateFromCivil({y, mo, d, h, mi, s})});
  };
  EXPECT_EQ(QuoteSqlText(at(2021, 8, 31, 13, 5, 9), u""), u"2021-08-31 13:05:09");
  EXPECT_EQ(QuoteSqlText(at(2021, 8, 31, 0, 0, 0), u""), u"2021-08-31");
  EXPECT_EQ(QuoteSqlText(at(1899, 12, 30, 6, 30, 0), u""), u"06:30:00");
  EXPECT_EQ(QuoteSqlText(Value::Date({0.0}), u""), u"00:00:00");
}

TEST(DateTime, StoredDatesBeforeTheZeroDayCountTheTimeForwards) {
  EXPECT_EQ(FormatOleDate(-1.25), u"1899-12-29 06:00:00");
  EXPECT_EQ(FormatOleDate(-2.0), u"1899-12-28");
  EXPECT_EQ(FormatOleDate(1.5), u"1899-12-31 12:00:00");
  // 23:59:59.9 rounds into the next day, whichever side of the zero day.
  EXPECT_EQ(FormatOleDate(1.0 - 0.1 / 86400), u"1899-12-31");
  EXPECT_EQ(FormatOleDate(-1.0 - (1.0 - 0.1 / 86400)), u"00:00:00");
  EXPECT_EQ(FormatOleDate(OleDateFromCivil({9999, 12, 31, 23, 59, 59})), u"9999-12-31 23:59:59");
  EXPECT_EQ(FormatOleDate(OleDateFromCivil({100, 1, 1, 0, 0, 0})), u"0100-01-01");
}

TEST(DateTime, CivilRoundTripAcrossTheCalendar) {
  for (int64_t days = -800000; days <= 800000; days += 997) {
    int64_t y;
    int m, d;
    CivilFromDays(days, y, m, d);
    EXPECT_EQ(DaysFromCivil(y, m, d), days);
  }
  EXPECT_EQ(DaysFromCivil(1970, 1, 1), 0);
  EXPECT_EQ(DaysFromCivil(2000, 3, 1), 11017);
}

TEST(QuoteSqlText, OtherKindsHaveReadableText) {
  EXPECT_EQ(QuoteSqlText(Value::Boolean(true), u""), u"True");
  EXPECT_EQ(QuoteSqlText(Value::Boolean(false), u""), u"False");
  EXPECT_EQ(QuoteSqlText(Value::Binary({0x00, 0xAB, 0x27}), u""), u"00ab27");
  Guid id;
  for (int i = 0; i < 16; ++i) id.bytes[i] = static_cast<uint8_t>(i);
  EXPECT_EQ(QuoteSqlText(Value::ReplicationId(id), u""), u"{03020100-0504-0706-0809-0A0B0C0D0E0F}");
}

}  // namespace
}  // namespace Main
