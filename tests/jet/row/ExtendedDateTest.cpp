// Date/Time Extended values below the file: their 42 stored bytes both ways, text converted for
// such a field, the encoder's refusals, and their index keys.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/DateTime.h"
#include "jet/JetError.h"
#include "jet/index/IndexKeyEncoder.h"
#include "jet/row/ExtendedDateFormat.h"
#include "jet/row/TextToValue.h"
#include "jet/row/ValueEncoder.h"

namespace Jet {
namespace {

using Main::ExtendedDateTime;
using Main::Value;
using Bytes = std::vector<uint8_t>;

Column ExtendedColumn() {
  Column column;
  column.name = u"When";
  column.type = ColumnType::DateTimeExtended;
  column.rawType = 0x14;
  column.maxLength = 42;
  return column;
}

ExtendedDateTime When(int64_t year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                      int64_t fraction = 0) {
  return Main::ExtendedFromCivil(Main::CivilDateTime{year, month, day, hour, minute, second}, fraction);
}

Bytes Stored(const std::string& digits) {
  Bytes bytes(digits.begin(), digits.end());
  bytes.push_back(0);
  return bytes;
}

// 2021-06-14 12:45:00 as Access stores it.
const Bytes kExample = Stored("0000000000000737954:0000000459000000000:7");

Bytes Encoded(ExtendedDateTime when) {
  const auto stored = EncodeExtendedDate(when);
  return Bytes(stored.begin(), stored.end());
}

TEST(ExtendedDateFormat, BytesAsAccessWritesThem) {
  EXPECT_EQ(Encoded(When(2021, 6, 14, 12, 45)), kExample);
  EXPECT_EQ(Encoded(ExtendedDateTime{0}), Stored("0000000000000000000:0000000000000000000:7"));
  EXPECT_EQ(Encoded(ExtendedDateTime{Main::kMaxExtendedTicks}), Stored("0000000000003652058:0000000863999999999:7"));
  EXPECT_EQ(Encoded(When(2021, 6, 14, 12, 45, 0, 1234567)), Stored("0000000000000737954:0000000459001234567:7"));
  EXPECT_EQ(Encoded(When(2021, 6, 14)), Stored("0000000000000737954:0000000000000000000:7"));
  for (const ExtendedDateTime when : {ExtendedDateTime{0}, ExtendedDateTime{1}, When(1899, 12, 30, 6, 7, 8, 9),
                                      ExtendedDateTime{Main::kMaxExtendedTicks}}) {
    EXPECT_EQ(DecodeExtendedDate(Encoded(when)), when);
  }
}

TEST(ExtendedDateFormat, MalformedBytesDecodeToNothing) {
  EXPECT_EQ(DecodeExtendedDate(kExample), When(2021, 6, 14, 12, 45));
  const std::vector<std::pair<size_t, uint8_t>> spoils = {
      {0, 'x'}, {18, '/'}, {19, ':' + 1}, {20, ' '}, {31, 0}, {38, 'a'}, {39, '.'}, {40, '6'}, {41, '0'},
      {12, '9'},  // 9,000,000,737,954 days: past 9999-12-31
      {26, '9'},  // 900,045,900 seconds: past the day
  };
  for (const auto& [at, byte] : spoils) {
    Bytes spoiled = kExample;
    spoiled[at] = byte;
    EXPECT_FALSE(DecodeExtendedDate(spoiled)) << "byte " << at;
  }
  // The day after 9999-12-31 and the first second past midnight's day.
  EXPECT_FALSE(DecodeExtendedDate(Stored("0000000000003652059:0000000000000000000:7")));
  EXPECT_FALSE(DecodeExtendedDate(Stored("0000000000000000001:0000000864000000000:7")));
  EXPECT_FALSE(DecodeExtendedDate(Stored("9999999999999999999:0000000000000000000:7")));
  EXPECT_FALSE(DecodeExtendedDate(Bytes(kExample.begin(), kExample.end() - 1)));
  Bytes longer = kExample;
  longer.push_back(0);
  EXPECT_FALSE(DecodeExtendedDate(longer));
  EXPECT_FALSE(DecodeExtendedDate(Bytes(42, 0)));
  EXPECT_FALSE(DecodeExtendedDate(Bytes{}));
}

TEST(ExtendedDateText, TheFormsOfDateTimeAndFractionsAndEarlyYears) {
  const Column column = ExtendedColumn();
  const auto converted = [&](std::u16string_view text) { return ConvertText(column, text); };
  EXPECT_EQ(converted(u"2021-06-14"), Value::ExtendedDate(When(2021, 6, 14)));
  EXPECT_EQ(converted(u"2021-06-14 12:45"), Value::ExtendedDate(When(2021, 6, 14, 12, 45)));
  EXPECT_EQ(converted(u"6/14/2021 12:45:00 PM"), Value::ExtendedDate(When(2021, 6, 14, 12, 45)));
  EXPECT_EQ(converted(u"6/14/2021 12:45:00.1234567 PM"), Value::ExtendedDate(When(2021, 6, 14, 12, 45, 0, 1234567)));
  EXPECT_EQ(converted(u"2021-06-14 00:45:00.5"), Value::ExtendedDate(When(2021, 6, 14, 0, 45, 0, 5000000)));
  EXPECT_EQ(converted(u"2021-06-14 00:45:00.0000001"), Value::ExtendedDate(When(2021, 6, 14, 0, 45, 0, 1)));
  EXPECT_EQ(converted(u" 1/1/0001 "), Value::ExtendedDate(ExtendedDateTime{0}));
  EXPECT_EQ(converted(u"0001-01-01"), Value::ExtendedDate(ExtendedDateTime{0}));
  EXPECT_EQ(converted(u"12/31/9999 11:59:59.9999999 PM"), Value::ExtendedDate(ExtendedDateTime{Main::kMaxExtendedTicks}));
  EXPECT_EQ(converted(u"1/1/0050"), Value::ExtendedDate(When(50, 1, 1)));
  EXPECT_EQ(converted(u"1/1/100"), Value::ExtendedDate(When(100, 1, 1)));
  EXPECT_EQ(converted(u"13:05:09.25"), Value::ExtendedDate(When(1899, 12, 30, 13, 5, 9, 2500000)));
  // What Value::ToText gives converts back to the same value.
  for (const ExtendedDateTime when : {ExtendedDateTime{0}, ExtendedDateTime{Main::kMaxExtendedTicks},
                                      When(2021, 6, 14, 12, 45, 0, 1234567), When(2024, 7, 1, 12), When(3, 3, 3, 0, 0, 1)}) {
    EXPECT_EQ(converted(Value::ExtendedDate(when).ToText()), Value::ExtendedDate(when));
  }

  for (const std::u16string bad :
       {u"1/1/10000", u"10000-01-01", u"0000-12-31", u"12/31/9999 11:59:59.99999999 PM", u"2/30/2000", u"2021-06-14 24:00:00",
        u"2021-06-14 12:45:00.", u"2021-06-14 12:45.5", u"2021-06-14 12:45:00.5x", u"6/14/2021 13:00:00.5 PM", u"tomorrow",
        u"", u"1.5", u"2021-06-14T12:45:00", u"1/1/50", u"1/1/5"}) {
    try {
      converted(bad);
      ADD_FAILURE() << "converted " << std::string(bad.begin(), bad.end());
    } catch (const JetError& error) {
      EXPECT_EQ(error.Number(), Main::ErrorNumber::kTypeMismatch);
      EXPECT_EQ(error.Cause(), Main::ErrorCause::kRecordValue);
      EXPECT_NE(error.Description().find(u"Date/Time Extended"), std::u16string::npos);
    }
  }
}

TEST(ExtendedDateText, ClassicDatesStillTakeNeitherFractionsNorEarlyYears) {
  Column date = ExtendedColumn();
  date.type = ColumnType::DateTime;
  date.rawType = 0x08;
  for (const std::u16string_view bad : {u"2021-06-14 12:45:00.5", u"1/1/0050", u"0001-01-01"})
    EXPECT_THROW(ConvertText(date, bad), JetError);
  EXPECT_EQ(ConvertText(date, u"2021-06-14 12:45:00"),
            Value::Date({Main::OleDateFromCivil(Main::CivilDateTime{2021, 6, 14, 12, 45, 0})}));
}

TEST(ExtendedDateEncoder, ValuesAndTextToBytesAndRefusals) {
  const Column column = ExtendedColumn();
  ColumnLayout place;
  place.fixedSize = 42;
  const ValueEncoder encoder;
  EXPECT_EQ(encoder.Encode(column, place, Value::ExtendedDate(When(2021, 6, 14, 12, 45))), kExample);
  EXPECT_EQ(encoder.Encode(column, place, Value::Text(u"6/14/2021 12:45:00 PM")), kExample);
  // A classic date keeps its whole seconds.
  EXPECT_EQ(encoder.Encode(column, place,
                           Value::Date({Main::OleDateFromCivil(Main::CivilDateTime{2021, 6, 14, 12, 45, 0})})),
            kExample);
  for (const Value& bad : {Value::ExtendedDate(ExtendedDateTime{-1}),
                           Value::ExtendedDate(ExtendedDateTime{Main::kMaxExtendedTicks + 1}), Value::Integer(737954),
                           Value::Double(1.5), Value::Binary(kExample), Value::Null(), Value::Text(u"1/1/10000")}) {
    try {
      encoder.Encode(column, place, bad);
      ADD_FAILURE() << "encoded " << std::string(bad.ToText().begin(), bad.ToText().end());
    } catch (const JetError& error) {
      EXPECT_EQ(error.Number(), Main::ErrorNumber::kTypeMismatch);
      EXPECT_EQ(error.Cause(), Main::ErrorCause::kRecordValue);
    }
  }
}

Bytes Key(const Bytes& stored, bool ascending) {
  KeyValue value;
  value.null = false;
  value.stored = stored;
  Bytes key;
  AppendKeyColumn(key, ExtendedColumn(), ascending, value, LayoutOf(FileFormat::Ace17));
  return key;
}

TEST(ExtendedDateKeys, FiveGroupsOfEightTheLastTwoBytesAndTheirCount) {
  Bytes expected = {0x7F};
  for (size_t group = 0; group < 5; ++group) {
    expected.insert(expected.end(), kExample.begin() + 8 * group, kExample.begin() + 8 * group + 8);
    expected.push_back(0x09);
  }
  expected.insert(expected.end(), {'7', 0x00, 0, 0, 0, 0, 0, 0, 0x02});
  ASSERT_EQ(expected.size(), 55u);
  EXPECT_EQ(Key(kExample, true), expected);

  Bytes descending = expected;
  descending[0] = 0x80;
  for (size_t n = 1; n < descending.size(); ++n)
    if (n % 9 != 0 || n > 45) descending[n] = static_cast<uint8_t>(~descending[n]);
  EXPECT_EQ(Key(kExample, false), descending);

  // Keys sort as the dates do, both ways.
  const Bytes earlier = Encoded(When(2021, 6, 14, 12, 44, 59, 9999999));
  const Bytes later = Encoded(When(2021, 6, 14, 12, 45, 0, 1));
  EXPECT_LT(Key(earlier, true), Key(kExample, true));
  EXPECT_LT(Key(kExample, true), Key(later, true));
  EXPECT_GT(Key(earlier, false), Key(kExample, false));
  EXPECT_THROW(Key(Bytes(kExample.begin(), kExample.begin() + 41), true), JetError);
}

}  // namespace
}  // namespace Jet
