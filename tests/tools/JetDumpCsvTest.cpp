#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>

#include "common/DateTime.h"
#include "common/ExtendedDateTime.h"
#include "tools/jetdump/CsvWriter.h"
#include "tools/jetdump/ExportField.h"

namespace JetDump {
namespace {

using Main::Value;

std::string Row(const std::vector<Value>& values) {
  std::ostringstream out;
  StreamSink sink(out);
  CsvWriter csv(sink);
  for (const Value& value : values) WriteCell(csv, value);
  csv.EndRecord();
  csv.Flush();
  return out.str();
}

TEST(JetDumpCsv, QuotesTextAlwaysAndOtherFieldsOnlyWhenTheyNeedIt) {
  std::ostringstream out;
  StreamSink sink(out);
  CsvWriter csv(sink);
  csv.Plain(u"Name");
  csv.Plain(u"a,b");
  csv.Plain(u"say \"hi\"");
  csv.Plain(u"two\nlines");
  csv.EndRecord();
  csv.Quoted(u"");
  csv.Plain(u"");
  csv.Quoted(u"\"\"");
  csv.EndRecord();
  csv.Flush();
  EXPECT_EQ(out.str(),
            "Name,\"a,b\",\"say \"\"hi\"\"\",\"two\nlines\"\r\n"
            "\"\",,\"\"\"\"\"\"\r\n");
}

TEST(JetDumpCsv, WritesTextInUtf8) {
  EXPECT_EQ(Row({Value::Text(u"\u00e9\u20ac\U0001F600")}),
            "\"\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80\"\r\n");
}

TEST(JetDumpCsv, TellsNullFromEmptyText) {
  EXPECT_EQ(Row({Value::Null(), Value::Text(u""), Value::Null()}), ",\"\",\r\n");
}

TEST(JetDumpCsv, WritesNumbersInShortestRoundTripFormWithAPoint) {
  EXPECT_EQ(Row({Value::Integer(-32768), Value::Double(0.1), Value::Single(0.1f),
                 Value::Double(1e300), Value::Money({35000}), Value::Money({-1})}),
            "-32768,0.1,0.1,1e+300,3.5,-0.0001\r\n");
  const double third = 1.0 / 3.0;
  std::string text = Row({Value::Double(third)});
  EXPECT_EQ(std::stod(text), third);
}

TEST(JetDumpCsv, WritesDecimalsExactly) {
  Main::Decimal big;
  big.negative = true;
  big.scale = 2;
  big.magnitude = {0, 0, 1, 0};  // 2^64
  EXPECT_EQ(Row({Value::Exact(big)}), "-184467440737095516.16\r\n");
}

TEST(JetDumpCsv, WritesYesNoAsOneOrZero) {
  EXPECT_EQ(Row({Value::Boolean(true), Value::Boolean(false)}), "1,0\r\n");
}

TEST(JetDumpCsv, WritesDatesAlwaysWithDateAndTime) {
  const auto date = [](int64_t y, int mo, int d, int h, int mi, int s) {
    return Value::Date({Main::OleDateFromCivil({y, mo, d, h, mi, s})});
  };
  EXPECT_EQ(Row({date(1974, 9, 21, 0, 0, 0), date(1899, 12, 30, 13, 5, 9),
                 date(1899, 12, 30, 0, 0, 0), date(1800, 2, 28, 6, 0, 0),
                 date(9999, 12, 31, 23, 59, 59)}),
            "1974-09-21 00:00:00,1899-12-30 13:05:09,1899-12-30 00:00:00,"
            "1800-02-28 06:00:00,9999-12-31 23:59:59\r\n");
  // Half a second before midnight rounds into the next day.
  EXPECT_EQ(FullDateTime(1.0 - 0.4 / 86400), u"1899-12-31 00:00:00");
}

TEST(JetDumpCsv, WritesExtendedDatesWithAllSevenFractionDigits) {
  const auto when = [](int64_t y, int mo, int d, int h, int mi, int s, int64_t fraction) {
    return Value::ExtendedDate(Main::ExtendedFromCivil({y, mo, d, h, mi, s}, fraction));
  };
  EXPECT_EQ(Row({when(1, 1, 1, 0, 0, 0, 0), when(2021, 6, 14, 12, 45, 0, 1234567),
                 Value::ExtendedDate(Main::ExtendedDateTime{Main::kMaxExtendedTicks}), Value::Null()}),
            "0001-01-01 00:00:00.0000000,2021-06-14 12:45:00.1234567,9999-12-31 23:59:59.9999999,\r\n");
}

TEST(JetDumpCsv, WritesBytesAsLowercaseHexAndIdsBraced) {
  Main::Guid id;
  for (uint8_t i = 0; i < 16; ++i) id.bytes[i] = static_cast<uint8_t>(0xA0 + i);
  EXPECT_EQ(Row({Value::Binary({0x00, 0xAB, 0x7f}), Value::Binary({}), Value::ReplicationId(id)}),
            "00ab7f,,{A3A2A1A0-A5A4-A7A6-A8A9-AAABACADAEAF}\r\n");
}

}  // namespace
}  // namespace JetDump
