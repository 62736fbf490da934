#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <stdexcept>
#include <string>

#include "common/DateTime.h"
#include "common/ExtendedDateTime.h"
#include "common/Text.h"
#include "tools/jetdump/FieldText.h"

namespace JetDump {
namespace {

// The texts as printf lays them out, the reference the in-place builders must match.
std::string Printed(const char* format, long long number, int width) {
  char buffer[64];
  const int length = std::snprintf(buffer, sizeof buffer, format, width, number);
  return std::string(buffer, static_cast<size_t>(length));
}

std::string PrintedDate(const Main::CivilDateTime& parts) {
  char buffer[64];
  const int length = std::snprintf(buffer, sizeof buffer, "%04lld-%02d-%02d %02d:%02d:%02d",
                                   static_cast<long long>(parts.year), parts.month, parts.day, parts.hour,
                                   parts.minute, parts.second);
  return std::string(buffer, static_cast<size_t>(length));
}

TEST(JetDumpFieldText, PadsNumbersAsPrintfDoes) {
  const long long numbers[] = {0, 5, -5, 42, -42, 999, -999, 12345, -12345, 1234567,
                               std::numeric_limits<long long>::min(), std::numeric_limits<long long>::max()};
  for (const long long number : numbers) {
    for (const int width : {0, 1, 2, 4, 7}) {
      AsciiText text;
      text.AppendPadded(number, width);
      EXPECT_EQ(text.View(), Printed("%0*lld", number, width)) << number << " width " << width;
    }
  }
}

TEST(JetDumpFieldText, WritesShortestNumbersAsTheValuesTextDoes) {
  for (const double number : {0.0, -0.0, 0.1, 1.0 / 3.0, 1e300, -2.5e-310, 123456789012345678.0,
                              std::numeric_limits<double>::infinity(), std::numeric_limits<double>::max()}) {
    AsciiText text;
    text.AppendShortest(number);
    EXPECT_EQ(text.View(), Main::ToUtf8(Main::FormatDouble(number)));
  }
  for (const float number : {0.1f, -3.4e38f, 1e-45f, 16777217.0f}) {
    AsciiText text;
    text.AppendShortest(number);
    EXPECT_EQ(text.View(), Main::ToUtf8(Main::FormatSingle(number)));
  }
  for (const int64_t number : {int64_t{0}, int64_t{-1}, std::numeric_limits<int64_t>::min()}) {
    AsciiText text;
    text.AppendShortest(number);
    EXPECT_EQ(text.View(), Main::ToUtf8(Main::FormatInteger(number)));
  }
}

TEST(JetDumpFieldText, WritesDatesAsPrintfDidAcrossTheRange) {
  // Days from before year 100 to after 9999, with times, half seconds and the day's last second.
  for (double day = -700000; day <= 3000000; day += 7919.37) {
    for (const double time : {0.0, 0.5, 0.999994, 0.4 / 86400, 1.0 - 0.4 / 86400}) {
      const double oleDate = day + (day < 0 ? -time : time);
      EXPECT_EQ(FullDateText(oleDate).View(), PrintedDate(Main::CivilFromOleDate(oleDate))) << oleDate;
    }
  }
  EXPECT_EQ(FullDateTime(1.0 - 0.4 / 86400), u"1899-12-31 00:00:00");
}

TEST(JetDumpFieldText, WritesExtendedDatesWithSevenFractionDigits) {
  for (int64_t ticks = 0; ticks <= Main::kMaxExtendedTicks; ticks += Main::kMaxExtendedTicks / 997) {
    int64_t fraction = 0;
    const Main::CivilDateTime parts = Main::CivilFromExtended(Main::ExtendedDateTime{ticks}, fraction);
    EXPECT_EQ(FullExtendedDateText(Main::ExtendedDateTime{ticks}).View(),
              PrintedDate(parts) + "." + Printed("%0*lld", fraction, 7));
  }
}

TEST(JetDumpFieldText, WritesCurrencyAsTheValuesTextDoes) {
  const int64_t amounts[] = {0,     1,     -1,      10,     -10,   5000,  35000,  -35000, 10000, 12340,
                             10001, 99999, -100000, 123456, -1234, 40000, 999990, std::numeric_limits<int64_t>::min(),
                             std::numeric_limits<int64_t>::max()};
  for (const int64_t amount : amounts)
    EXPECT_EQ(CurrencyText({amount}).View(), Main::ToUtf8(Main::FormatCurrency({amount}))) << amount;
}

TEST(JetDumpFieldText, WritesIdsAsTheValuesTextDoes) {
  for (const uint8_t start : {0x00, 0x0F, 0xA0, 0xF1}) {
    Main::Guid id;
    for (uint8_t i = 0; i < 16; ++i) id.bytes[i] = static_cast<uint8_t>(start + i * 17);
    EXPECT_EQ(GuidText(id).View(), Main::ToUtf8(Main::FormatGuid(id)));
  }
}

TEST(JetDumpFieldText, RefusesToWritePastItsCapacity) {
  AsciiText text;
  text.Append(std::string(AsciiText::kCapacity - 1, 'x'));
  text.Append('y');
  EXPECT_THROW(text.Append('z'), std::length_error);
  EXPECT_THROW(text.AppendShortest(1.0), std::length_error);
  EXPECT_THROW(text.AppendPadded(1, 3), std::length_error);
  EXPECT_EQ(text.View().size(), AsciiText::kCapacity);
}

}  // namespace
}  // namespace JetDump
