#include "jet/schema/FixedValueSize.h"

namespace Jet {

uint16_t FixedValueSize(ColumnType type) {
  switch (type) {
    case ColumnType::Boolean: case ColumnType::Byte: return 1;
    case ColumnType::Integer: return 2;
    case ColumnType::Long: case ColumnType::Single: case ColumnType::Complex: return 4;
    case ColumnType::Currency: case ColumnType::Double: case ColumnType::DateTime: case ColumnType::BigInt: return 8;
    case ColumnType::Guid: return 16;
    case ColumnType::Decimal: return 17;
    case ColumnType::DateTimeExtended: return 42;  // ASCII digits, see row/ExtendedDateFormat.h
    default: return 0;
  }
}

}  // namespace Jet
