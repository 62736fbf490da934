#include "jet/row/CalculatedValue.h"

#include <algorithm>

#include "jet/base/ByteWriter.h"

namespace Jet {
namespace {

constexpr size_t kLengthAt = 16;
constexpr size_t kDataAt = 20;
constexpr size_t kDecimalHeader = 4;      // n, scale, sign
constexpr size_t kDecimalMaxMagnitude = 16;
constexpr uint16_t kDecimalWrittenCount = 14;  // scale, sign and a 12-byte magnitude
constexpr uint8_t kMaxScale = 28;
constexpr uint8_t kNegative = 0x80;

__extension__ using Unsigned128 = unsigned __int128;

}  // namespace

std::optional<ColumnType> CalculatedResultType(uint8_t code) {
  switch (static_cast<ColumnType>(code)) {
    case ColumnType::Boolean: case ColumnType::Byte: case ColumnType::Integer: case ColumnType::Long:
    case ColumnType::Currency: case ColumnType::Single: case ColumnType::Double: case ColumnType::DateTime:
    case ColumnType::Text: case ColumnType::Memo: case ColumnType::Guid: case ColumnType::Decimal:
    case ColumnType::BigInt:
      return static_cast<ColumnType>(code);
    default: return std::nullopt;
  }
}

ByteSpan UnwrapCalculated(ByteSpan stored) {
  if (stored.empty()) return stored;  // no wrapper at all: an empty result
  if (stored.size() < kDataAt) ThrowCorrupt("a calculated value is shorter than its wrapper");
  const size_t length = ReadU32(stored, kLengthAt);
  return stored.subspan(kDataAt, std::min(length, stored.size() - kDataAt));
}

std::vector<uint8_t> WrapCalculated(ByteSpan data) {
  std::vector<uint8_t> stored(kCalculatedWrapperSize + data.size(), 0);
  PutU32(stored, kLengthAt, static_cast<uint32_t>(data.size()));
  std::copy(data.begin(), data.end(), stored.begin() + kDataAt);
  return stored;
}

Main::Decimal DecodeCalculatedDecimal(ByteSpan data) {
  RequireBytes(data, 0, kDecimalHeader);
  const uint16_t count = ReadU16(data, 0);
  // A count of 0 leaves the length to the data itself.
  const size_t following = count == 0 ? data.size() - 2 : count;
  if (following < 2) ThrowCorrupt("a calculated Decimal value has no magnitude");
  const size_t magnitudeSize = std::min((following - 2) / 4 * 4, kDecimalMaxMagnitude);
  const ByteSpan magnitude = Slice(data, kDecimalHeader, magnitudeSize);
  Main::Decimal number;
  number.scale = ReadU8(data, 2);
  number.negative = ReadU8(data, 3) != 0;
  if (number.scale > kMaxScale) ThrowCorrupt("a calculated Decimal value has a scale above 28");
  Unsigned128 value = 0;
  size_t at = 0;
  if (magnitudeSize % 8 != 0) {
    value = ReadU32(magnitude, 0);
    at = 4;
  }
  for (; at < magnitudeSize; at += 8) value = (value << 64) | ReadU64(magnitude, at);
  for (size_t word = 0; word < number.magnitude.size(); ++word)
    number.magnitude[word] = static_cast<uint32_t>(value >> (32 * word));
  return number;
}

std::vector<uint8_t> EncodeCalculatedDecimal(ByteSpan ordinary, uint8_t scale) {
  const uint32_t top = ReadU32(ordinary, 1);
  if (top != 0)
    ThrowOverflow(u"Overflow: a calculated Decimal result holds at most 96 bits.", Main::ErrorCause::kRecordValue);
  std::vector<uint8_t> data;
  AppendU16(data, kDecimalWrittenCount);
  AppendU8(data, scale);
  AppendU8(data, ReadU8(ordinary, 0) != 0 ? kNegative : 0);
  AppendU32(data, ReadU32(ordinary, 5));
  AppendLittleEndian(data, uint64_t{ReadU32(ordinary, 9)} << 32 | ReadU32(ordinary, 13), 8);
  return data;
}

}  // namespace Jet
