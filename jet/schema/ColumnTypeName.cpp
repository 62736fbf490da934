#include "jet/schema/ColumnTypeName.h"

#include <cstdio>

#include "common/Text.h"

namespace Jet {

std::u16string ColumnTypeName(const Column& column) {
  switch (column.type) {
    case ColumnType::Boolean: return u"Yes/No";
    case ColumnType::Byte: return u"Number (Byte)";
    case ColumnType::Integer: return u"Number (Integer)";
    case ColumnType::Long: return column.autonumber ? u"AutoNumber" : u"Number (Long Integer)";
    case ColumnType::Currency: return u"Currency";
    case ColumnType::Single: return u"Number (Single)";
    case ColumnType::Double: return u"Number (Double)";
    case ColumnType::DateTime: return u"Date/Time";
    case ColumnType::Binary: return u"Binary";
    case ColumnType::Text: return u"Text";
    case ColumnType::OleObject: return u"OLE Object";
    case ColumnType::Memo: return column.hyperlink ? u"Hyperlink" : u"Memo";
    case ColumnType::Guid: return u"Number (Replication ID)";
    case ColumnType::Decimal: return u"Number (Decimal)";
    case ColumnType::Complex: return u"Attachment or multi-valued field";
    case ColumnType::BigInt: return u"Large Number";
    case ColumnType::DateTimeExtended: return u"Date/Time Extended";
  }
  char code[16];
  std::snprintf(code, sizeof code, "type 0x%02X", column.rawType);
  return Main::FromUtf8(code);
}

bool IsKnownColumnType(ColumnType type) {
  switch (type) {
    case ColumnType::Boolean: case ColumnType::Byte: case ColumnType::Integer: case ColumnType::Long:
    case ColumnType::Currency: case ColumnType::Single: case ColumnType::Double: case ColumnType::DateTime:
    case ColumnType::Binary: case ColumnType::Text: case ColumnType::OleObject: case ColumnType::Memo:
    case ColumnType::Guid: case ColumnType::Decimal: case ColumnType::Complex: case ColumnType::BigInt:
    case ColumnType::DateTimeExtended:
      return true;
  }
  return false;
}

}  // namespace Jet
