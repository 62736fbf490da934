#include "common/Value.h"

#include <charconv>
#include <cstdio>
#include <string_view>

#include "common/DateTime.h"

namespace Main {
namespace {

std::u16string Widen(std::string_view ascii) { return {ascii.begin(), ascii.end()}; }

template <class Number>
std::u16string ShortestText(Number number) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
  return Widen(std::string_view(buffer, static_cast<size_t>(result.ptr - buffer)));
}

// Digits of an unsigned integer held in 32-bit words, least significant first.
std::string DecimalDigits(std::array<uint32_t, 4> words) {
  std::string digits;
  bool zero = false;
  while (!zero) {
    uint64_t remainder = 0;
    zero = true;
    for (size_t i = words.size(); i-- > 0;) {
      const uint64_t current = (remainder << 32) | words[i];
      words[i] = static_cast<uint32_t>(current / 10);
      remainder = current % 10;
      if (words[i] != 0) zero = false;
    }
    digits.insert(digits.begin(), static_cast<char>('0' + remainder));
  }
  return digits;
}

// Places a decimal point `scale` digits from the right and trims trailing zeros of the fraction.
std::u16string ScaledText(bool negative, std::string digits, unsigned scale) {
  if (digits.size() <= scale) digits = std::string(scale + 1 - digits.size(), '0') + digits;
  std::string text = digits.substr(0, digits.size() - scale);
  std::string fraction = digits.substr(digits.size() - scale);
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  if (!fraction.empty()) text += "." + fraction;
  if (negative && text != "0") return u"-" + Widen(text);
  return Widen(text);
}

}  // namespace

std::u16string FormatInteger(int64_t number) { return ShortestText(number); }
std::u16string FormatDouble(double number) { return ShortestText(number); }
std::u16string FormatSingle(float number) { return ShortestText(number); }

std::u16string FormatCurrency(Currency amount) {
  const bool negative = amount.tenThousandths < 0;
  // Magnitude without overflow for the smallest value.
  const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(amount.tenThousandths)
                                      : static_cast<uint64_t>(amount.tenThousandths);
  return ScaledText(negative, std::to_string(magnitude), 4);
}

std::u16string FormatDecimal(const Decimal& number) {
  return ScaledText(number.negative, DecimalDigits(number.magnitude), number.scale);
}

std::u16string FormatGuid(const Guid& id) {
  const auto& b = id.bytes;
  char buffer[40];
  std::snprintf(buffer, sizeof buffer,
                "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", b[3],
                b[2], b[1], b[0], b[5], b[4], b[7], b[6], b[8], b[9], b[10], b[11], b[12], b[13],
                b[14], b[15]);
  return Widen(buffer);
}

std::u16string FormatHex(const Bytes& bytes) {
  static constexpr char16_t kDigits[] = u"0123456789abcdef";
  std::u16string text;
  text.reserve(bytes.size() * 2);
  for (const uint8_t byte : bytes) {
    text.push_back(kDigits[byte >> 4]);
    text.push_back(kDigits[byte & 0x0F]);
  }
  return text;
}

std::u16string Value::ToText() const {
  switch (kind()) {
    case Kind::Null: return {};
    case Kind::Text: return AsText();
    case Kind::Integer: return FormatInteger(AsInteger());
    case Kind::Single: return FormatSingle(AsSingle());
    case Kind::Double: return FormatDouble(AsDouble());
    case Kind::Currency: return FormatCurrency(AsCurrency());
    case Kind::Decimal: return FormatDecimal(AsDecimal());
    case Kind::DateTime: return FormatOleDate(AsDateTime().oleDate);
    case Kind::Boolean: return AsBoolean() ? u"True" : u"False";
    case Kind::Bytes: return FormatHex(AsBytes());
    case Kind::Guid: return FormatGuid(AsGuid());
    case Kind::ExtendedDateTime: return FormatExtendedDateTime(AsExtendedDateTime());
  }
  return {};
}

}  // namespace Main
