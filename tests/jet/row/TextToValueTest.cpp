#include "jet/row/TextToValue.h"

#include <gtest/gtest.h>

#include "common/DateTime.h"
#include "jet/JetError.h"

namespace Jet {
namespace {

using Main::Value;

Column ColumnOf(ColumnType type) {
  Column column;
  column.name = u"Field";
  column.type = type;
  column.rawType = static_cast<uint8_t>(type);
  return column;
}

double Ole(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  return Main::OleDateFromCivil(Main::CivilDateTime{year, month, day, hour, minute, second});
}

TEST(TextToValue, DatesInTheFormsAccessTakes) {
  const Column date = ColumnOf(ColumnType::DateTime);
  EXPECT_EQ(ConvertText(date, u"2024-02-29"), Value::Date({Ole(2024, 2, 29)}));
  EXPECT_EQ(ConvertText(date, u"2024-02-29 13:05:09"), Value::Date({Ole(2024, 2, 29, 13, 5, 9)}));
  EXPECT_EQ(ConvertText(date, u"13:05:09"), Value::Date({Ole(1899, 12, 30, 13, 5, 9)}));
  EXPECT_EQ(ConvertText(date, u"3/7/2021 1:02:03 PM"), Value::Date({Ole(2021, 3, 7, 13, 2, 3)}));
  EXPECT_EQ(ConvertText(date, u"12/31/1999 12:00:00 AM"), Value::Date({Ole(1999, 12, 31)}));
  EXPECT_EQ(ConvertText(date, u" 1/1/2000 "), Value::Date({Ole(2000, 1, 1)}));
  for (const std::u16string bad : {u"2023-02-29", u"2024-13-01", u"13/1/2020", u"2020-01-01 24:00:00",
                                   u"1:00:00 XM", u"yesterday", u"", u"2020-1-1x", u"13:00 PM"}) {
    try {
      ConvertText(date, bad);
      ADD_FAILURE() << "converted " << std::string(bad.begin(), bad.end());
    } catch (const JetError& error) {
      EXPECT_EQ(error.Number(), Main::ErrorNumber::kTypeMismatch);
      EXPECT_NE(error.Description().find(u"Date/Time"), std::u16string::npos);
      EXPECT_NE(error.Description().find(u"'" + bad + u"'"), std::u16string::npos);
    }
  }
}

TEST(TextToValue, YesNoWords) {
  const Column flag = ColumnOf(ColumnType::Boolean);
  for (const std::u16string yes : {u"True", u"yes", u"ON", u"-1", u"5"}) EXPECT_EQ(ConvertText(flag, yes), Value::Boolean(true));
  for (const std::u16string no : {u"false", u"No", u"off", u"0", u"0.0"}) EXPECT_EQ(ConvertText(flag, no), Value::Boolean(false));
  EXPECT_THROW(ConvertText(flag, u"maybe"), JetError);
}

TEST(TextToValue, NumbersAreExactDecimalsOrDoubles) {
  const Column number = ColumnOf(ColumnType::Long);
  Main::Decimal expected;
  expected.negative = true;
  expected.scale = 2;
  expected.magnitude[0] = 1250;
  EXPECT_EQ(ConvertText(number, u"-12.50"), Value::Exact(expected));
  EXPECT_EQ(ConvertText(number, u"1.5e3"), Value::Double(1500));
  for (const std::u16string bad : {u"12,5", u"1.2.3", u"abc", u"--1", u"1e", u"."}) EXPECT_THROW(ConvertText(number, bad), JetError);
}

TEST(TextToValue, ColumnsWithoutTextRefuseIt) {
  for (const ColumnType type : {ColumnType::Binary, ColumnType::OleObject, ColumnType::Guid, ColumnType::Complex}) {
    try {
      ConvertText(ColumnOf(type), u"01");
      ADD_FAILURE();
    } catch (const JetError& error) {
      EXPECT_EQ(error.Number(), Main::ErrorNumber::kTypeMismatch);
    }
  }
  EXPECT_EQ(ConvertText(ColumnOf(ColumnType::Memo), u" kept as is "), Value::Text(u" kept as is "));
}

}  // namespace
}  // namespace Jet
