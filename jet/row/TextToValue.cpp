#include "jet/row/TextToValue.h"

#include <cctype>
#include <cstdlib>
#include <optional>
#include <string>

#include "common/DateTime.h"
#include "common/ExtendedDateTime.h"
#include "jet/schema/ColumnTypeName.h"
#include "jet/base/Failure.h"

namespace Jet {
namespace {

constexpr size_t kMaxExactDigits = 28;

// Binary, OLE object, replication ID and complex columns take no text at all: the refusal
// concerns the field, not the text.
bool TakesText(ColumnType type) {
  return type != ColumnType::Binary && type != ColumnType::OleObject && type != ColumnType::Guid &&
         type != ColumnType::Complex;
}

[[noreturn]] void ThrowMismatch(const Column& column, std::u16string_view text) {
  ThrowTypeMismatch(u"Type mismatch: the text '" + std::u16string(text) + u"' cannot be converted for the " +
                        ColumnTypeName(column) + u" field '" + column.name + u"'.",
                    TakesText(column.type) ? Main::ErrorCause::kRecordValue : Main::ErrorCause::kFieldCannotChange);
}

// The text as ASCII without surrounding blanks; nothing when it holds other characters.
std::optional<std::string> TrimmedAscii(std::u16string_view text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && text[first] == u' ') ++first;
  while (last > first && text[last - 1] == u' ') --last;
  std::string ascii;
  for (size_t n = first; n < last; ++n) {
    if (text[n] >= 0x80) return std::nullopt;
    ascii.push_back(static_cast<char>(text[n]));
  }
  return ascii;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::optional<Main::Value> ParseNumber(const std::string& text) {
  size_t at = 0;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  std::string digits;
  unsigned scale = 0;
  bool point = false;
  bool anyDigit = false;
  for (; at < text.size(); ++at) {
    const char c = text[at];
    if (std::isdigit(static_cast<unsigned char>(c))) {
      anyDigit = true;
      if (digits.empty() && c == '0') {
        if (point) ++scale;
        continue;
      }
      digits.push_back(c);
      if (point) ++scale;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (!anyDigit) return std::nullopt;
  if (at < text.size()) {
    // Only an exponent may follow.
    if (text[at] != 'e' && text[at] != 'E') return std::nullopt;
    size_t exponent = at + 1;
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
    if (exponent == text.size()) return std::nullopt;
    for (size_t n = exponent; n < text.size(); ++n)
      if (!std::isdigit(static_cast<unsigned char>(text[n]))) return std::nullopt;
    return Main::Value::Double(std::strtod(text.c_str(), nullptr));
  }
  if (digits.size() > kMaxExactDigits || scale > kMaxExactDigits)
    return Main::Value::Double(std::strtod(text.c_str(), nullptr));
  Main::Decimal number;
  number.negative = negative && !digits.empty();
  number.scale = static_cast<uint8_t>(scale);
  for (const char c : digits) {
    uint64_t carry = static_cast<uint64_t>(c - '0');
    for (uint32_t& word : number.magnitude) {
      const uint64_t product = uint64_t{word} * 10 + carry;
      word = static_cast<uint32_t>(product);
      carry = product >> 32;
    }
  }
  return Main::Value::Exact(number);
}

// Reads an unsigned number of 1 to `maxDigits` digits at `at`.
bool ReadField(const std::string& text, size_t& at, size_t maxDigits, int& out) {
  size_t count = 0;
  out = 0;
  while (at < text.size() && count < maxDigits && std::isdigit(static_cast<unsigned char>(text[at]))) {
    out = out * 10 + (text[at++] - '0');
    ++count;
  }
  return count > 0;
}

bool Expect(const std::string& text, size_t& at, char c) {
  if (at >= text.size() || text[at] != c) return false;
  ++at;
  return true;
}

// A time parsed from text: the calendar parts' time fields and the 100-ns ticks of a fraction
// of a second.
struct ParsedTime {
  int hour = 0, minute = 0, second = 0;
  int64_t fractionTicks = 0;
};

// ".f" to ".fffffff" after the seconds: up to seven digits, as 100-ns ticks.
bool ReadFraction(const std::string& text, size_t& at, int64_t& ticks) {
  constexpr size_t kMaxFractionDigits = 7;
  const size_t first = at;
  ticks = 0;
  while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
    if (at - first == kMaxFractionDigits) return false;
    ticks = ticks * 10 + (text[at++] - '0');
  }
  if (at == first) return false;
  for (size_t n = at - first; n < kMaxFractionDigits; ++n) ticks *= 10;
  return true;
}

// h:mm[:ss[.fffffff]][ AM|PM] from `at` to the end; a fraction only where `fractions` allows it.
bool ParseTime(const std::string& text, size_t at, bool fractions, ParsedTime& time) {
  int hour = 0, minute = 0, second = 0;
  if (!ReadField(text, at, 2, hour) || !Expect(text, at, ':') || !ReadField(text, at, 2, minute)) return false;
  if (Expect(text, at, ':')) {
    if (!ReadField(text, at, 2, second)) return false;
    if (Expect(text, at, '.') && (!fractions || !ReadFraction(text, at, time.fractionTicks))) return false;
  }
  while (at < text.size() && text[at] == ' ') ++at;
  const std::string suffix = Lower(text.substr(at));
  if (suffix == "am" || suffix == "pm") {
    if (hour < 1 || hour > 12) return false;
    hour = hour % 12 + (suffix == "pm" ? 12 : 0);
  } else if (!suffix.empty()) {
    return false;
  }
  if (hour > 23 || minute > 59 || second > 59) return false;
  time.hour = hour;
  time.minute = minute;
  time.second = second;
  return true;
}

bool ValidDate(int year, int month, int day, int firstYear) {
  if (year < firstYear || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return day <= (month == 2 && !leap ? 28 : kDays[month - 1]);
}

// The two kinds of date column: Date/Time (years 100 to 9999, whole seconds) and Date/Time
// Extended (years 1 to 9999, seconds to seven decimals).
struct DateRules {
  int firstYear;
  bool fractions;
};
constexpr DateRules kDateTimeRules{100, false};
constexpr DateRules kExtendedRules{1, true};

Main::Value DateValue(const DateRules& rules, const Main::CivilDateTime& when, const ParsedTime& time) {
  Main::CivilDateTime parts = when;
  parts.hour = time.hour;
  parts.minute = time.minute;
  parts.second = time.second;
  if (rules.fractions) return Main::Value::ExtendedDate(Main::ExtendedFromCivil(parts, time.fractionTicks));
  return Main::Value::Date(Main::DateTime{Main::OleDateFromCivil(parts)});
}

std::optional<Main::Value> ParseDate(const std::string& text, const DateRules& rules) {
  Main::CivilDateTime when;
  ParsedTime time;
  size_t at = 0;
  int first = 0;
  if (!ReadField(text, at, 4, first)) return std::nullopt;
  const size_t firstDigits = at;
  int year = 0, month = 0, day = 0;
  if (at < text.size() && text[at] == ':') {  // a time alone, on day 0
    if (!ParseTime(text, 0, rules.fractions, time)) return std::nullopt;
    return DateValue(rules, when, time);
  }
  if (Expect(text, at, '-')) {  // YYYY-MM-DD
    year = first;
    if (firstDigits != 4 || !ReadField(text, at, 2, month) || !Expect(text, at, '-') || !ReadField(text, at, 2, day))
      return std::nullopt;
  } else if (Expect(text, at, '/')) {  // M/D/YYYY
    month = first;
    if (firstDigits > 2 || !ReadField(text, at, 2, day) || !Expect(text, at, '/')) return std::nullopt;
    const size_t yearAt = at;
    if (!ReadField(text, at, 4, year)) return std::nullopt;
    // Access reads a year of one or two digits in its two-digit-year window; not taken here.
    if (at - yearAt <= 2) return std::nullopt;
  } else {
    return std::nullopt;
  }
  if (!ValidDate(year, month, day, rules.firstYear)) return std::nullopt;
  when.year = year;
  when.month = month;
  when.day = day;
  if (at < text.size()) {
    if (!Expect(text, at, ' ')) return std::nullopt;
    while (at < text.size() && text[at] == ' ') ++at;
    if (!ParseTime(text, at, rules.fractions, time)) return std::nullopt;
  }
  return DateValue(rules, when, time);
}

std::optional<Main::Value> ParseYesNo(const std::string& text) {
  const std::string word = Lower(text);
  if (word == "true" || word == "yes" || word == "on") return Main::Value::Boolean(true);
  if (word == "false" || word == "no" || word == "off") return Main::Value::Boolean(false);
  const std::optional<Main::Value> number = ParseNumber(text);
  if (!number) return std::nullopt;
  if (number->kind() == Main::Value::Kind::Double) return Main::Value::Boolean(number->AsDouble() != 0);
  const auto& words = number->AsDecimal().magnitude;
  return Main::Value::Boolean(words[0] != 0 || words[1] != 0 || words[2] != 0 || words[3] != 0);
}

}  // namespace

Main::Value ConvertText(const Column& column, std::u16string_view text) {
  if (column.type == ColumnType::Text || column.type == ColumnType::Memo)
    return Main::Value::Text(std::u16string(text));
  const std::optional<std::string> ascii = TrimmedAscii(text);
  std::optional<Main::Value> value;
  if (ascii && !ascii->empty()) {
    switch (column.type) {
      case ColumnType::Boolean: value = ParseYesNo(*ascii); break;
      case ColumnType::Byte:
      case ColumnType::Integer:
      case ColumnType::Long:
      case ColumnType::BigInt:
      case ColumnType::Currency:
      case ColumnType::Single:
      case ColumnType::Double:
      case ColumnType::Decimal: value = ParseNumber(*ascii); break;
      case ColumnType::DateTime: value = ParseDate(*ascii, kDateTimeRules); break;
      case ColumnType::DateTimeExtended: value = ParseDate(*ascii, kExtendedRules); break;
      default: break;
    }
  }
  if (!value) ThrowMismatch(column, text);
  return *value;
}

}  // namespace Jet
