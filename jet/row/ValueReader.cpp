#include "jet/row/ValueReader.h"

#include <algorithm>

#include "common/Text.h"
#include "jet/row/CalculatedValue.h"
#include "jet/row/ExtendedDateFormat.h"
#include "jet/schema/FixedValueSize.h"
#include "jet/schema/LongValueColumn.h"

namespace Jet {
namespace {

bool IsText(ColumnType type) { return type == ColumnType::Text || type == ColumnType::Memo; }

Main::Bytes ToBytes(ByteSpan bytes) { return Main::Bytes(bytes.begin(), bytes.end()); }

}  // namespace

Main::Currency DecodeCurrency(ByteSpan stored) {
  return Main::Currency{static_cast<int64_t>(ReadU64(stored, 0))};
}

Main::Decimal DecodeDecimal(ByteSpan stored, uint8_t scale) {
  Main::Decimal number;
  number.negative = ReadU8(stored, 0) != 0;
  number.scale = scale;
  for (size_t word = 0; word < 4; ++word) number.magnitude[3 - word] = ReadU32(stored, 1 + 4 * word);
  return number;
}

ByteSpan ValueReader::Payload(const Column& column, const Cell& cell) const {
  ByteSpan bytes = cell.bytes;
  if (IsLongValue(column.type)) {
    longValues_.Read(bytes, longValue_);
    bytes = longValue_;
  }
  // A Memo result's long value holds the whole wrapper; an unknown result is kept as stored.
  return column.calculated && column.type != ColumnType::Binary ? UnwrapCalculated(bytes) : bytes;
}

Main::Value ValueReader::ReadCalculated(const Column& column, ByteSpan data) const {
  if (IsText(column.type)) return Main::Value::Text(codec_.Decode(data));
  if (column.type == ColumnType::Binary) return Main::Value::Binary(ToBytes(data));
  if (column.type == ColumnType::Boolean) return Main::Value::Boolean(!data.empty() && data[0] != 0);
  if (data.empty()) return Main::Value::Null();
  if (column.type == ColumnType::Decimal) return Main::Value::Exact(DecodeCalculatedDecimal(data));
  if (data.size() < FixedValueSize(column.type))
    ThrowCorrupt("the calculated field '" + Main::ToUtf8(column.name) + "' holds a result of " +
                 std::to_string(data.size()) + " bytes, too short for its type");
  return Decode(column, data);
}

bool ValueReader::ReadText(const Column& column, const Cell& cell, std::u16string& out) const {
  out.clear();
  if (cell.null) return false;
  if (!IsText(column.type)) {
    const Main::Value value = Read(column, cell);
    out = value.ToText();
    return !value.IsNull();
  }
  codec_.Decode(Payload(column, cell), out);
  return true;
}

Main::Value ValueReader::Read(const Column& column, const Cell& cell) const {
  if (column.type == ColumnType::Boolean && !column.calculated) return Main::Value::Boolean(cell.flag);
  if (cell.null) return Main::Value::Null();
  const ByteSpan bytes = Payload(column, cell);
  return column.calculated ? ReadCalculated(column, bytes) : Decode(column, bytes);
}

Main::Value ValueReader::Decode(const Column& column, ByteSpan bytes) const {
  switch (column.type) {
    case ColumnType::Byte: return Main::Value::Integer(ReadU8(bytes, 0));
    case ColumnType::Integer: return Main::Value::Integer(static_cast<int16_t>(ReadU16(bytes, 0)));
    case ColumnType::Long:
    case ColumnType::Complex: return Main::Value::Integer(static_cast<int32_t>(ReadU32(bytes, 0)));
    case ColumnType::BigInt: return Main::Value::Integer(static_cast<int64_t>(ReadU64(bytes, 0)));
    case ColumnType::Currency: return Main::Value::Money(DecodeCurrency(bytes));
    case ColumnType::Single: return Main::Value::Single(ReadFloat(bytes, 0));
    case ColumnType::Double: return Main::Value::Double(ReadDouble(bytes, 0));
    case ColumnType::DateTime: return Main::Value::Date(Main::DateTime{ReadDouble(bytes, 0)});
    case ColumnType::Decimal: return Main::Value::Exact(DecodeDecimal(bytes, column.scale));
    case ColumnType::DateTimeExtended: {
      // Bytes not of the stored form read as Null; the row keeps them as they are.
      const auto when = DecodeExtendedDate(bytes);
      return when ? Main::Value::ExtendedDate(*when) : Main::Value::Null();
    }
    case ColumnType::Guid: {
      Main::Guid id;
      const ByteSpan stored = Slice(bytes, 0, id.bytes.size());
      std::copy(stored.begin(), stored.end(), id.bytes.begin());
      return Main::Value::ReplicationId(id);
    }
    case ColumnType::Text:
    case ColumnType::Memo: return Main::Value::Text(codec_.Decode(bytes));
    default: return Main::Value::Binary(ToBytes(bytes));
  }
}

}  // namespace Jet
