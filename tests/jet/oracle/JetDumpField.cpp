#include "tests/jet/oracle/JetDumpField.h"

#include <charconv>
#include <cstdio>
#include <stdexcept>

#include "common/DateTime.h"
#include "common/ExtendedDateTime.h"
#include "common/Text.h"

namespace Oracle {
namespace {

using Jet::ColumnType;

[[noreturn]] void Malformed(const std::string& text) {
  throw std::runtime_error("not a jetdump field: '" + text + "'");
}

template <class Number>
Number ParseWhole(const std::string& text) {
  Number number{};
  const auto result = std::from_chars(text.data(), text.data() + text.size(), number);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) Malformed(text);
  return number;
}

// An exact decimal "-123.45" as sign, digits and scale.
Main::Decimal ParseDecimal(const std::string& text) {
  Main::Decimal number;
  size_t i = 0;
  if (i < text.size() && text[i] == '-') {
    number.negative = true;
    ++i;
  }
  bool fraction = false;
  bool anyDigit = false;
  for (; i < text.size(); ++i) {
    if (text[i] == '.' && !fraction) {
      fraction = true;
      continue;
    }
    if (text[i] < '0' || text[i] > '9') Malformed(text);
    anyDigit = true;
    if (fraction) ++number.scale;
    uint64_t carry = static_cast<uint64_t>(text[i] - '0');
    for (uint32_t& word : number.magnitude) {
      const uint64_t product = static_cast<uint64_t>(word) * 10 + carry;
      word = static_cast<uint32_t>(product);
      carry = product >> 32;
    }
    if (carry != 0) Malformed(text);
  }
  if (!anyDigit) Malformed(text);
  return number;
}

Main::Currency ParseCurrency(const std::string& text) {
  const Main::Decimal number = ParseDecimal(text);
  if (number.scale > 4 || number.magnitude[2] != 0 || number.magnitude[3] != 0) Malformed(text);
  int64_t tenThousandths =
      static_cast<int64_t>((static_cast<uint64_t>(number.magnitude[1]) << 32) | number.magnitude[0]);
  for (int scale = number.scale; scale < 4; ++scale) tenThousandths *= 10;
  return {number.negative ? -tenThousandths : tenThousandths};
}

double ParseDate(const std::string& text) {
  Main::CivilDateTime parts;
  long long year = 0;
  char end = 0;
  if (std::sscanf(text.c_str(), "%lld-%d-%d %d:%d:%d%c", &year, &parts.month, &parts.day,
                  &parts.hour, &parts.minute, &parts.second, &end) != 6) {
    Malformed(text);
  }
  parts.year = year;
  return Main::OleDateFromCivil(parts);
}

Main::ExtendedDateTime ParseExtendedDate(const std::string& text) {
  Main::CivilDateTime parts;
  long long year = 0;
  long long fraction = 0;
  int fractionEnd = 0;
  if (std::sscanf(text.c_str(), "%lld-%d-%d %d:%d:%d.%7lld%n", &year, &parts.month, &parts.day, &parts.hour,
                  &parts.minute, &parts.second, &fraction, &fractionEnd) != 7 ||
      static_cast<size_t>(fractionEnd) != text.size()) {
    Malformed(text);
  }
  parts.year = year;
  return Main::ExtendedFromCivil(parts, fraction);
}

Main::Bytes ParseHex(const std::string& text) {
  if (text.size() % 2 != 0) Malformed(text);
  Main::Bytes bytes;
  for (size_t i = 0; i < text.size(); i += 2) {
    uint8_t byte = 0;
    const auto result = std::from_chars(text.data() + i, text.data() + i + 2, byte, 16);
    if (result.ec != std::errc() || result.ptr != text.data() + i + 2) Malformed(text);
    bytes.push_back(byte);
  }
  return bytes;
}

Main::Guid ParseGuid(const std::string& text) {
  Main::Guid id;
  unsigned b[16];
  char end = 0;
  if (std::sscanf(text.c_str(),
                  "{%2X%2X%2X%2X-%2X%2X-%2X%2X-%2X%2X-%2X%2X%2X%2X%2X%2X}%c", &b[3], &b[2], &b[1],
                  &b[0], &b[5], &b[4], &b[7], &b[6], &b[8], &b[9], &b[10], &b[11], &b[12], &b[13],
                  &b[14], &b[15], &end) != 16) {
    Malformed(text);
  }
  for (size_t i = 0; i < 16; ++i) id.bytes[i] = static_cast<uint8_t>(b[i]);
  return id;
}

}  // namespace

Main::Value ValueFromJetDumpField(const Jet::Column& column, const CsvField& field) {
  using Main::Value;
  if (field.quoted) return Value::Text(Main::FromUtf8(field.text));
  const std::string& text = field.text;
  if (text.empty()) return Value::Null();
  switch (column.type) {
    case ColumnType::Boolean:
      if (text != "0" && text != "1") Malformed(text);
      return Value::Boolean(text == "1");
    case ColumnType::Byte:
    case ColumnType::Integer:
    case ColumnType::Long:
    case ColumnType::Complex:
    case ColumnType::BigInt: return Value::Integer(ParseWhole<int64_t>(text));
    case ColumnType::Single: return Value::Single(ParseWhole<float>(text));
    case ColumnType::Double: return Value::Double(ParseWhole<double>(text));
    case ColumnType::Currency: return Value::Money(ParseCurrency(text));
    case ColumnType::Decimal: return Value::Exact(ParseDecimal(text));
    case ColumnType::DateTime: return Value::Date({ParseDate(text)});
    case ColumnType::DateTimeExtended: return Value::ExtendedDate(ParseExtendedDate(text));
    case ColumnType::Binary:
    case ColumnType::OleObject: return Value::Binary(ParseHex(text));
    case ColumnType::Guid: return Value::ReplicationId(ParseGuid(text));
    case ColumnType::Text:
    case ColumnType::Memo: Malformed(text);  // text is always quoted
  }
  Malformed(text);
}

}  // namespace Oracle
