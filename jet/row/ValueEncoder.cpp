#include "jet/row/ValueEncoder.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "common/DateTime.h"

#include "common/Text.h"
#include "jet/schema/ColumnTypeName.h"
#include "jet/base/Failure.h"
#include "jet/text/TextEncoder.h"
#include "jet/row/ExtendedDateFormat.h"
#include "jet/row/TextToValue.h"

namespace Jet {
namespace {

__extension__ using Unsigned128 = unsigned __int128;

std::u16string Shown(const Main::Value& value) { return value.IsNull() ? u"Null" : value.ToText(); }

[[noreturn]] void ThrowMismatch(const Column& column, const Main::Value& value) {
  ThrowTypeMismatch(u"Type mismatch: the value '" + Shown(value) + u"' cannot be stored in the " +
                        ColumnTypeName(column) + u" field '" + column.name + u"'.",
                    Main::ErrorCause::kRecordValue);
}

[[noreturn]] void ThrowOverflow(const Column& column, const Main::Value& value) {
  Jet::ThrowOverflow(u"Overflow: the value '" + Shown(value) + u"' does not fit the " +
                         ColumnTypeName(column) + u" field '" + column.name + u"'.",
                     Main::ErrorCause::kRecordValue);
}

template <class Number>
void Append(std::vector<uint8_t>& out, Number number) {
  uint8_t bytes[sizeof number];
  std::memcpy(bytes, &number, sizeof number);
  out.insert(out.end(), bytes, bytes + sizeof number);
}

Unsigned128 Magnitude(const Main::Decimal& number) {
  Unsigned128 value = 0;
  for (size_t word = 4; word-- > 0;) value = (value << 32) | number.magnitude[word];
  return value;
}

Unsigned128 PowerOfTen(unsigned exponent) {
  Unsigned128 value = 1;
  while (exponent-- > 0) value *= 10;
  return value;
}

// Divides rounding half to even.
Unsigned128 DivideRounded(Unsigned128 value, Unsigned128 divisor) {
  const Unsigned128 quotient = value / divisor;
  const Unsigned128 remainder = value % divisor;
  if (2 * remainder > divisor || (2 * remainder == divisor && (quotient & 1) != 0)) return quotient + 1;
  return quotient;
}

// A number as sign and magnitude at `scale` decimal places; false when it cannot be one (not a
// number kind, not finite, or beyond 128 bits).
bool Scaled(const Main::Value& value, unsigned scale, bool& negative, Unsigned128& magnitude) {
  constexpr unsigned kMaxScale = 28;
  if (scale > kMaxScale) return false;
  switch (value.kind()) {
    case Main::Value::Kind::Integer:
    case Main::Value::Kind::Boolean: {
      const int64_t whole = value.kind() == Main::Value::Kind::Boolean ? (value.AsBoolean() ? -1 : 0)
                                                                      : value.AsInteger();
      negative = whole < 0;
      const uint64_t absolute = negative ? 0 - static_cast<uint64_t>(whole) : static_cast<uint64_t>(whole);
      magnitude = Unsigned128{absolute} * PowerOfTen(scale);
      return true;
    }
    case Main::Value::Kind::Currency: {
      const int64_t amount = value.AsCurrency().tenThousandths;
      negative = amount < 0;
      Unsigned128 absolute = negative ? 0 - static_cast<uint64_t>(amount) : static_cast<uint64_t>(amount);
      magnitude = scale >= 4 ? absolute * PowerOfTen(scale - 4) : DivideRounded(absolute, PowerOfTen(4 - scale));
      return true;
    }
    case Main::Value::Kind::Decimal: {
      const Main::Decimal& number = value.AsDecimal();
      negative = number.negative;
      const Unsigned128 stored = Magnitude(number);
      if (scale >= number.scale) {
        const Unsigned128 factor = PowerOfTen(scale - number.scale);
        if (stored != 0 && factor > std::numeric_limits<Unsigned128>::max() / stored) return false;
        magnitude = stored * factor;
      } else {
        magnitude = DivideRounded(stored, PowerOfTen(number.scale - scale));
      }
      return true;
    }
    case Main::Value::Kind::Single:
    case Main::Value::Kind::Double:
    case Main::Value::Kind::DateTime: {
      const double number = value.kind() == Main::Value::Kind::Single ? value.AsSingle()
                            : value.kind() == Main::Value::Kind::Double ? value.AsDouble()
                                                                          : value.AsDateTime().oleDate;
      if (!std::isfinite(number)) return false;
      const long double shifted = std::nearbyint(std::fabs(static_cast<long double>(number)) *
                                                 static_cast<long double>(std::pow(10.0L, scale)));
      if (shifted >= 3.4e38L) return false;
      negative = number < 0;
      magnitude = static_cast<Unsigned128>(shifted);
      return true;
    }
    default: return false;
  }
}

// A whole number of the value in [minimum, maximum].
int64_t Whole(const Column& column, const Main::Value& value, int64_t minimum, int64_t maximum) {
  bool negative = false;
  Unsigned128 magnitude = 0;
  if (!Scaled(value, 0, negative, magnitude)) {
    if (value.kind() == Main::Value::Kind::Single || value.kind() == Main::Value::Kind::Double)
      ThrowOverflow(column, value);
    ThrowMismatch(column, value);
  }
  const Unsigned128 limit = negative ? Unsigned128{0 - static_cast<uint64_t>(minimum)}
                                     : Unsigned128{static_cast<uint64_t>(maximum)};
  if (magnitude > limit) ThrowOverflow(column, value);
  const uint64_t bits = static_cast<uint64_t>(magnitude);
  return negative ? static_cast<int64_t>(0 - bits) : static_cast<int64_t>(bits);
}

double Real(const Column& column, const Main::Value& value) {
  switch (value.kind()) {
    case Main::Value::Kind::Integer: return static_cast<double>(value.AsInteger());
    case Main::Value::Kind::Boolean: return value.AsBoolean() ? -1.0 : 0.0;
    case Main::Value::Kind::Single: return value.AsSingle();
    case Main::Value::Kind::Double: return value.AsDouble();
    case Main::Value::Kind::DateTime: return value.AsDateTime().oleDate;
    case Main::Value::Kind::Currency: return static_cast<double>(value.AsCurrency().tenThousandths) / 10000.0;
    case Main::Value::Kind::Decimal: {
      const Main::Decimal& number = value.AsDecimal();
      const long double magnitude = static_cast<long double>(Magnitude(number)) / std::pow(10.0L, number.scale);
      return static_cast<double>(number.negative ? -magnitude : magnitude);
    }
    default: ThrowMismatch(column, value);
  }
}

// The Date/Time Extended value of a date: a classic date keeps its whole seconds. Anything else,
// or a date outside years 1 to 9999, is a type mismatch.
Main::ExtendedDateTime ExtendedOf(const Column& column, const Main::Value& value) {
  Main::ExtendedDateTime when;
  if (value.kind() == Main::Value::Kind::ExtendedDateTime)
    when = value.AsExtendedDateTime();
  else if (value.kind() == Main::Value::Kind::DateTime && std::isfinite(value.AsDateTime().oleDate))
    when = Main::ExtendedFromCivil(Main::CivilFromOleDate(value.AsDateTime().oleDate), 0);
  else
    ThrowMismatch(column, value);
  if (!Main::InExtendedRange(when)) ThrowMismatch(column, value);
  return when;
}

void AppendDecimal(std::vector<uint8_t>& out, const Column& column, const Main::Value& value) {
  bool negative = false;
  Unsigned128 magnitude = 0;
  if (!Scaled(value, column.scale, negative, magnitude)) ThrowOverflow(column, value);
  const unsigned precision = column.precision == 0 ? 18 : column.precision;
  if (magnitude >= PowerOfTen(precision)) ThrowOverflow(column, value);
  out.push_back(negative && magnitude != 0 ? 0x80 : 0x00);
  for (size_t word = 4; word-- > 0;) Append(out, static_cast<uint32_t>(magnitude >> (32 * word)));
}

// Refuses Jet3 text that cannot be written faithfully: a code page this system cannot convert (it
// is read as 1252) or a column naming a code page other than the database's.
void CheckCodePageWritable(const Column& column, const CodePageText& text) {
  const std::u16string field = u"The field '" + column.name + u"' holds text in code page ";
  if (!text.Writable())
    ThrowNotSupported(field + Main::FromUtf8(std::to_string(text.CodePage())) +
                          u", which this system cannot convert; it is read as code page 1252 and cannot be changed.",
                      Main::ErrorCause::kFieldCannotChange);
  if (column.codePage != 0 && column.codePage != text.CodePage())
    ThrowNotSupported(field + Main::FromUtf8(std::to_string(column.codePage)) +
                          u" in a database whose text is in code page " +
                          Main::FromUtf8(std::to_string(text.CodePage())) + u"; it cannot be changed.",
                      Main::ErrorCause::kFieldCannotChange);
}

}  // namespace

bool ValueEncoder::Flag(const Column& column, const Main::Value& value) const {
  switch (value.kind()) {
    case Main::Value::Kind::Null: return false;
    case Main::Value::Kind::Boolean: return value.AsBoolean();
    case Main::Value::Kind::Text: return ConvertText(column, value.AsText()).AsBoolean();
    default: return Real(column, value) != 0;
  }
}

std::vector<uint8_t> ValueEncoder::EncodeText(const Column& column, const ColumnLayout& place,
                                              std::u16string_view text) const {
  if (codePage_) CheckCodePageWritable(column, *codePage_);
  if (column.type == ColumnType::Text && column.maxCharacters != 0 && text.size() > column.maxCharacters)
    ThrowFieldTooSmall();
  const bool compressible = column.compressedUnicode && !column.fixedLength;
  std::vector<uint8_t> out = codePage_ ? codePage_->Encode(text) : EncodeUnicodeText(text, compressible);
  // A Jet3 Text column's size counts bytes, two for a double-byte character.
  if (codePage_ && column.type == ColumnType::Text && !column.fixedLength && column.maxLength != 0 &&
      out.size() > column.maxLength)
    ThrowFieldTooSmall();
  if (column.fixedLength) {
    if (out.size() > place.fixedSize) ThrowFieldTooSmall();
    // Fixed-length text is padded with blanks to the column's size.
    while (out.size() < place.fixedSize) {
      out.push_back(' ');
      if (!codePage_ && out.size() < place.fixedSize) out.push_back(0);
    }
  }
  return out;
}

std::vector<uint8_t> ValueEncoder::Encode(const Column& column, const ColumnLayout& place,
                                          const Main::Value& value) const {
  if (value.IsNull()) ThrowMismatch(column, value);
  const bool numeric = column.type != ColumnType::Text && column.type != ColumnType::Memo &&
                       column.type != ColumnType::Binary && column.type != ColumnType::OleObject &&
                       column.type != ColumnType::Guid;
  if (numeric && value.kind() == Main::Value::Kind::Text)
    return Encode(column, place, ConvertText(column, value.AsText()));

  std::vector<uint8_t> out;
  switch (column.type) {
    case ColumnType::Boolean: out.push_back(Flag(column, value) ? 0xFF : 0x00); break;
    case ColumnType::Byte: out.push_back(static_cast<uint8_t>(Whole(column, value, 0, 255))); break;
    case ColumnType::Integer:
      Append(out, static_cast<int16_t>(Whole(column, value, INT16_MIN, INT16_MAX)));
      break;
    case ColumnType::Long: Append(out, static_cast<int32_t>(Whole(column, value, INT32_MIN, INT32_MAX))); break;
    case ColumnType::BigInt: Append(out, Whole(column, value, INT64_MIN, INT64_MAX)); break;
    case ColumnType::Currency: {
      bool negative = false;
      Unsigned128 magnitude = 0;
      if (!Scaled(value, 4, negative, magnitude) || magnitude > Unsigned128{uint64_t{INT64_MAX}})
        ThrowOverflow(column, value);
      const int64_t amount = static_cast<int64_t>(magnitude);
      Append(out, negative ? -amount : amount);
      break;
    }
    case ColumnType::Single: {
      const double number = Real(column, value);
      if (std::isfinite(number) && std::fabs(number) > std::numeric_limits<float>::max())
        ThrowOverflow(column, value);
      Append(out, static_cast<float>(number));
      break;
    }
    case ColumnType::Double: Append(out, Real(column, value)); break;
    case ColumnType::DateTime: {
      const double days = Real(column, value);
      // Access dates run from the year 100 to the year 9999.
      if (!std::isfinite(days) || days < -657434.0 || days >= 2958466.0) ThrowOverflow(column, value);
      Append(out, days);
      break;
    }
    case ColumnType::Decimal: AppendDecimal(out, column, value); break;
    case ColumnType::DateTimeExtended: {
      const auto stored = EncodeExtendedDate(ExtendedOf(column, value));
      out.assign(stored.begin(), stored.end());
      break;
    }
    case ColumnType::Guid: {
      if (value.kind() != Main::Value::Kind::Guid) ThrowMismatch(column, value);
      out.assign(value.AsGuid().bytes.begin(), value.AsGuid().bytes.end());
      break;
    }
    case ColumnType::Text:
    case ColumnType::Memo:
      if (value.kind() == Main::Value::Kind::Bytes) ThrowMismatch(column, value);
      return EncodeText(column, place, value.kind() == Main::Value::Kind::Text ? value.AsText() : value.ToText());
    case ColumnType::Binary:
    case ColumnType::OleObject:
      if (value.kind() != Main::Value::Kind::Bytes) ThrowMismatch(column, value);
      out = value.AsBytes();
      if (column.type == ColumnType::Binary && out.size() > column.maxLength) ThrowFieldTooSmall();
      if (column.fixedLength) out.resize(place.fixedSize, 0);
      break;
    default: ThrowMismatch(column, value);
  }
  return out;
}

}  // namespace Jet
