#include "jet/index/IndexKeyEncoder.h"

#include <algorithm>
#include <cstdio>

#include "common/Text.h"
#include "jet/base/Failure.h"
#include "jet/row/ExtendedDateFormat.h"
#include "jet/index/TextKey.h"
#include "jet/index/TextSortOrder.h"

namespace Jet {
namespace {

constexpr uint8_t kAscendingStart = 0x7F;
constexpr uint8_t kDescendingStart = 0x80;
constexpr uint8_t kAscendingNull = 0x00;
constexpr uint8_t kDescendingNull = 0xFF;
constexpr uint8_t kTrueKey = 0x00;  // ascending; false is 0xFF
constexpr uint8_t kSignBit = 0x80;

// Binary values go in segments of 8 bytes; a full segment with more after it ends in 0x09, the
// last one is zero-padded and ends in its count of real bytes.
constexpr size_t kSegmentBytes = 8;
constexpr uint8_t kMoreSegments = 0x09;

constexpr size_t kDecimalBytes = 17;  // sign byte and a 16-byte magnitude
constexpr size_t kGuidBytes = 16;

// A little-endian stored number as big-endian key bytes.
void AppendBigEndian(std::vector<uint8_t>& key, ByteSpan stored, size_t size) {
  const ByteSpan value = Slice(stored, 0, size);
  key.insert(key.end(), value.rbegin(), value.rend());
}

// Two's complement integers: sign bit flipped so that negatives sort first.
void AppendInteger(std::vector<uint8_t>& key, ByteSpan stored, size_t size, bool ascending) {
  const size_t start = key.size();
  AppendBigEndian(key, stored, size);
  key[start] ^= kSignBit;
  if (!ascending) InvertKeyBytes(key, start);
}

// IEEE numbers: a positive one gets its sign bit set, a negative one is inverted whole, which
// orders them; descending inverts that again.
void AppendFloating(std::vector<uint8_t>& key, ByteSpan stored, size_t size, bool ascending) {
  const size_t start = key.size();
  AppendBigEndian(key, stored, size);
  const bool negative = (key[start] & kSignBit) != 0;
  if (!negative) key[start] ^= kSignBit;
  if (negative == ascending) InvertKeyBytes(key, start);
}

// The row holds a sign byte (non-zero: negative) and the magnitude as four little-endian 32-bit
// words, most significant first; the key holds a sign byte and the magnitude big-endian. Jet3/Jet4
// order: inverted when the sign matches the direction, then the sign byte set to 0x00 for negative
// values and 0xFF otherwise. ACE: the sign byte set to 0xFF first, then the same inversion.
void AppendDecimal(std::vector<uint8_t>& key, ByteSpan stored, bool ascending, bool legacy) {
  RequireBytes(stored, 0, kDecimalBytes);
  const bool negative = stored[0] != 0;
  const size_t start = key.size();
  key.push_back(negative ? kSignBit : 0);
  for (size_t word = 0; word < 4; ++word) AppendBigEndian(key, stored.subspan(1 + 4 * word), 4);
  if (!legacy) key[start] = 0xFF;
  if (negative == ascending) InvertKeyBytes(key, start);
  if (legacy) key[start] = negative ? 0x00 : 0xFF;
}

void AppendSegments(std::vector<uint8_t>& key, ByteSpan value, bool ascending) {
  size_t at = 0;
  while (value.size() - at > kSegmentBytes) {
    const size_t start = key.size();
    key.insert(key.end(), value.begin() + at, value.begin() + at + kSegmentBytes);
    if (!ascending) InvertKeyBytes(key, start);
    key.push_back(kMoreSegments);
    at += kSegmentBytes;
  }
  if (at == value.size()) return;
  const size_t start = key.size();
  const size_t count = value.size() - at;
  key.insert(key.end(), value.begin() + at, value.end());
  key.resize(start + kSegmentBytes, 0);
  key.push_back(static_cast<uint8_t>(count));
  if (!ascending) InvertKeyBytes(key, start);
}

// A GUID is stored as its first three groups little-endian; the key has it in textual order.
void AppendGuid(std::vector<uint8_t>& key, ByteSpan stored, bool ascending) {
  const ByteSpan guid = Slice(stored, 0, kGuidBytes);
  std::vector<uint8_t> textual(guid.begin(), guid.end());
  std::reverse(textual.begin(), textual.begin() + 4);
  std::reverse(textual.begin() + 4, textual.begin() + 6);
  std::reverse(textual.begin() + 6, textual.begin() + 8);
  AppendSegments(key, textual, ascending);
}

[[noreturn]] void RefuseType(const Column& column) {
  char type[8];
  std::snprintf(type, sizeof type, "0x%02X", column.rawType);
  ThrowNotSupported(u"The field '" + column.name + u"' (type " + Main::FromUtf8(type) +
                    u") has no index key in this engine.");
}

}  // namespace

void InvertKeyBytes(std::vector<uint8_t>& key, size_t from) {
  for (size_t n = from; n < key.size(); ++n) key[n] = static_cast<uint8_t>(~key[n]);
}

void AppendKeyColumn(std::vector<uint8_t>& key, const Column& column, bool ascending,
                     const KeyValue& value, const FormatLayout& format) {
  switch (column.type) {
    case ColumnType::Boolean: {
      // Never null in a key: a Yes/No value is its null mask bit.
      key.push_back(ascending ? kAscendingStart : kDescendingStart);
      const uint8_t byte = value.flag ? kTrueKey : static_cast<uint8_t>(~kTrueKey);
      key.push_back(ascending ? byte : static_cast<uint8_t>(~byte));
      return;
    }
    case ColumnType::Text:
    case ColumnType::Memo: {
      // The sort order is checked for a null value too: no key of the column could be kept right.
      const TextSortOrder order = TextSortOrderOf(column, format);
      if (value.null) break;
      key.push_back(ascending ? kAscendingStart : kDescendingStart);
      AppendTextKey(key, value.text, ascending, order);
      return;
    }
    case ColumnType::Byte:
    case ColumnType::Integer:
    case ColumnType::Long:
    case ColumnType::Complex:
    case ColumnType::Currency:
    case ColumnType::BigInt:
    case ColumnType::Single:
    case ColumnType::Double:
    case ColumnType::DateTime:
    case ColumnType::Decimal:
    case ColumnType::Guid:
    case ColumnType::DateTimeExtended:
    case ColumnType::Binary: break;
    default: RefuseType(column);
  }
  if (value.null) {
    key.push_back(ascending ? kAscendingNull : kDescendingNull);
    return;
  }
  key.push_back(ascending ? kAscendingStart : kDescendingStart);
  const ByteSpan stored = value.stored;
  switch (column.type) {
    case ColumnType::Byte: {
      key.push_back(ReadU8(stored, 0));
      if (!ascending) key.back() = static_cast<uint8_t>(~key.back());
      return;
    }
    case ColumnType::Integer: return AppendInteger(key, stored, 2, ascending);
    case ColumnType::Long:
    case ColumnType::Complex: return AppendInteger(key, stored, 4, ascending);
    case ColumnType::Currency:
    case ColumnType::BigInt: return AppendInteger(key, stored, 8, ascending);
    case ColumnType::Single: return AppendFloating(key, stored, 4, ascending);
    case ColumnType::Double:
    case ColumnType::DateTime: return AppendFloating(key, stored, 8, ascending);
    case ColumnType::Decimal: return AppendDecimal(key, stored, ascending, format.legacyDecimalKeys);
    case ColumnType::Guid: return AppendGuid(key, stored, ascending);
    // The 42 stored ASCII bytes in binary segments: their digits sort as the dates do.
    case ColumnType::DateTimeExtended: return AppendSegments(key, Slice(stored, 0, kExtendedDateBytes), ascending);
    default: return AppendSegments(key, stored, ascending);
  }
}

}  // namespace Jet
