#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "common/ExtendedDateTime.h"

// The value of one field of one record, as it travels from the database to the windows and the
// cleaning run.
namespace Main {

// Money: an integer number of ten-thousandths.
struct Currency {
  int64_t tenThousandths = 0;
  friend bool operator==(const Currency&, const Currency&) = default;
};

// Exact decimal number: magnitude / 10^scale, with a sign.
struct Decimal {
  bool negative = false;
  uint8_t scale = 0;
  std::array<uint32_t, 4> magnitude{};  // 128-bit unsigned integer, least significant word first
  friend bool operator==(const Decimal&, const Decimal&) = default;
};

// Date and time as stored: days since 1899-12-30 (see DateTime.h).
struct DateTime {
  double oleDate = 0;
  friend bool operator==(const DateTime&, const DateTime&) = default;
};

// A replication id, the 16 bytes in their stored order (first three groups little-endian).
struct Guid {
  std::array<uint8_t, 16> bytes{};
  friend bool operator==(const Guid&, const Guid&) = default;
};

using Bytes = std::vector<uint8_t>;

class Value {
 public:
  enum class Kind {
    Null, Text, Integer, Single, Double, Currency, Decimal, DateTime, Boolean, Bytes, Guid, ExtendedDateTime
  };

  Value() = default;  // Null
  static Value Null() { return Value(); }
  static Value Text(std::u16string text) { return Value(Storage(std::move(text))); }
  static Value Integer(int64_t number) { return Value(Storage(number)); }
  static Value Single(float number) { return Value(Storage(number)); }
  static Value Double(double number) { return Value(Storage(number)); }
  static Value Money(Currency amount) { return Value(Storage(amount)); }
  static Value Exact(Decimal number) { return Value(Storage(number)); }
  static Value Date(DateTime when) { return Value(Storage(when)); }
  static Value Boolean(bool flag) { return Value(Storage(flag)); }
  static Value Binary(Bytes bytes) { return Value(Storage(std::move(bytes))); }
  static Value ReplicationId(Guid id) { return Value(Storage(id)); }
  static Value ExtendedDate(ExtendedDateTime when) { return Value(Storage(when)); }

  Kind kind() const { return static_cast<Kind>(storage_.index()); }
  bool IsNull() const { return kind() == Kind::Null; }

  // Access to the held alternative; throws std::bad_variant_access on the wrong kind.
  const std::u16string& AsText() const { return std::get<std::u16string>(storage_); }
  int64_t AsInteger() const { return std::get<int64_t>(storage_); }
  float AsSingle() const { return std::get<float>(storage_); }
  double AsDouble() const { return std::get<double>(storage_); }
  Currency AsCurrency() const { return std::get<Currency>(storage_); }
  const Decimal& AsDecimal() const { return std::get<Decimal>(storage_); }
  DateTime AsDateTime() const { return std::get<DateTime>(storage_); }
  bool AsBoolean() const { return std::get<bool>(storage_); }
  const Bytes& AsBytes() const { return std::get<Bytes>(storage_); }
  const Guid& AsGuid() const { return std::get<Guid>(storage_); }
  ExtendedDateTime AsExtendedDateTime() const { return std::get<ExtendedDateTime>(storage_); }

  // The value's text, as the windows show it and SQL text carries it: numbers in shortest
  // round-trip form with '.', dates as FormatOleDate gives them, extended dates as
  // FormatExtendedDateTime gives them, booleans as True/False, bytes as
  // lowercase hex, ids as {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}. Null gives the empty text.
  std::u16string ToText() const;

  friend bool operator==(const Value&, const Value&) = default;

 private:
  // The order of the alternatives follows Kind.
  using Storage = std::variant<std::monostate, std::u16string, int64_t, float, double, Currency,
                               Decimal, DateTime, bool, Bytes, Guid, ExtendedDateTime>;
  explicit Value(Storage storage) : storage_(std::move(storage)) {}
  Storage storage_;
};

// Text forms of the parts, for callers that hold the parts themselves.
std::u16string FormatInteger(int64_t number);
std::u16string FormatDouble(double number);
std::u16string FormatSingle(float number);
std::u16string FormatCurrency(Currency amount);
std::u16string FormatDecimal(const Decimal& number);
std::u16string FormatGuid(const Guid& id);
std::u16string FormatHex(const Bytes& bytes);

}  // namespace Main
