#include "tools/jetdump/ColumnDescription.h"

#include <algorithm>
#include <cstdio>

namespace JetDump {
namespace {

bool IsIndexed(const Jet::TableDefinition& table, const Jet::Column& column) {
  return std::any_of(table.indexes.begin(), table.indexes.end(), [&](const Jet::Index& index) {
    return std::any_of(index.columns.begin(), index.columns.end(),
                       [&](const Jet::IndexColumn& part) {
                         return part.columnNumber == column.number;
                       });
  });
}

std::u16string UnknownTypeName(uint8_t rawType) {
  char buffer[32];
  const int length = std::snprintf(buffer, sizeof buffer, "Unknown (0x%02X)", rawType);
  return std::u16string(buffer, buffer + length);
}

}  // namespace

std::u16string DesignerTypeName(const Jet::Column& column) {
  using Jet::ColumnType;
  // A calculated column is named by its result's type, which differs from its stored code.
  const bool namedByResult = column.calculated && column.type != ColumnType::Binary;
  if (!namedByResult && column.rawType != static_cast<uint8_t>(column.type)) return UnknownTypeName(column.rawType);
  switch (column.type) {
    case ColumnType::Boolean: return u"Yes/No";
    case ColumnType::Byte: return u"Byte";
    case ColumnType::Integer: return u"Integer";
    case ColumnType::Long: return u"Long Integer";
    case ColumnType::Currency: return u"Currency";
    case ColumnType::Single: return u"Single";
    case ColumnType::Double: return u"Double";
    case ColumnType::DateTime: return u"Date/Time";
    case ColumnType::Binary: return u"Binary";
    case ColumnType::Text: return u"Text";
    case ColumnType::OleObject: return u"OLE Object";
    case ColumnType::Memo: return column.hyperlink ? u"Hyperlink" : u"Memo";
    case ColumnType::Guid: return u"Replication ID";
    case ColumnType::Decimal: return u"Decimal";
    case ColumnType::Complex:
      return column.complexKind == Jet::ComplexKind::Attachment ? u"Attachment" : u"Complex";
    case ColumnType::BigInt: return u"Large Number";
    case ColumnType::DateTimeExtended: return u"Date/Time Extended";
  }
  return UnknownTypeName(column.rawType);
}

unsigned FieldSize(const Jet::Column& column) {
  return column.type == Jet::ColumnType::Text ? column.maxCharacters : 0;
}

std::u16string ColumnFlags(const Jet::TableDefinition& table, const Jet::Column& column) {
  std::u16string flags;
  const auto add = [&flags](std::u16string_view flag) {
    if (!flags.empty()) flags += u',';
    flags += flag;
  };
  if (IsIndexed(table, column)) add(u"indexed");
  if (column.autonumber) add(u"autonumber");
  if (!column.nullable) add(u"required");
  if (column.calculated) add(u"calculated");
  return flags;
}

}  // namespace JetDump
