#include "database/access/WhereEquality.h"

#include <optional>
#include <string>

#include "common/Error.h"
#include "common/Text.h"
#include "jet/text/CaseFold.h"
#include "jet/row/TextToValue.h"

namespace Access {
namespace {

constexpr long kCriteriaTypeMismatch = 3464;

// The value of a number kind, for comparing numbers of different kinds; nothing for the others.
std::optional<long double> NumberOf(const Main::Value& value) {
  using Kind = Main::Value::Kind;
  switch (value.kind()) {
    case Kind::Integer: return static_cast<long double>(value.AsInteger());
    case Kind::Single: return value.AsSingle();
    case Kind::Double: return value.AsDouble();
    case Kind::Currency: return static_cast<long double>(value.AsCurrency().tenThousandths) / 10000.0L;
    case Kind::Decimal: return std::stold(Main::ToUtf8(Main::FormatDecimal(value.AsDecimal())));
    case Kind::Boolean: return value.AsBoolean() ? -1.0L : 0.0L;
    default: return std::nullopt;
  }
}

}  // namespace

WhereEquality::WhereEquality(const Jet::Column& column, std::u16string_view literal) {
  try {
    literal_ = Jet::ConvertText(column, literal);
  } catch (const Main::Error& error) {
    throw Main::Error(kCriteriaTypeMismatch,
                      u"Data type mismatch in criteria expression. " + error.Description());
  }
}

bool WhereEquality::Matches(const Main::Value& stored) const {
  if (stored.IsNull() || literal_.IsNull()) return false;
  if (stored.kind() == Main::Value::Kind::Text && literal_.kind() == Main::Value::Kind::Text) {
    return Jet::EqualIgnoringCase(stored.AsText(), literal_.AsText());
  }
  const auto storedNumber = NumberOf(stored);
  const auto literalNumber = NumberOf(literal_);
  if (storedNumber && literalNumber) return *storedNumber == *literalNumber;
  return stored == literal_;
}

}  // namespace Access
