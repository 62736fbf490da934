#include "database/access/AdoDataType.h"

namespace Access {

int AdoDataTypeOf(const Jet::Column& column) {
  using Jet::ColumnType;
  switch (column.type) {
    case ColumnType::Boolean: return AdoType::kBoolean;
    case ColumnType::Byte: return AdoType::kUnsignedTinyInt;
    case ColumnType::Integer: return AdoType::kSmallInt;
    case ColumnType::Long: return AdoType::kInteger;
    case ColumnType::Currency: return AdoType::kCurrency;
    case ColumnType::Single: return AdoType::kSingle;
    case ColumnType::Double: return AdoType::kDouble;
    case ColumnType::DateTime:
    case ColumnType::DateTimeExtended: return AdoType::kDate;
    case ColumnType::Binary: return AdoType::kVarBinary;
    case ColumnType::Text: return AdoType::kVarWChar;
    case ColumnType::OleObject: return AdoType::kLongVarBinary;
    case ColumnType::Memo: return AdoType::kLongVarWChar;
    case ColumnType::Guid: return AdoType::kGuid;
    case ColumnType::Decimal: return AdoType::kNumeric;
    case ColumnType::Complex: return AdoType::kInteger;
    case ColumnType::BigInt: return AdoType::kBigInt;
  }
  return AdoType::kVarBinary;  // a type this engine does not know: its bytes
}

}  // namespace Access
