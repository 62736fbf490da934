#include "tests/jet/oracle/MdbSchemaColumn.h"

#include <cstdio>

#include "common/Text.h"

namespace Oracle {
namespace {

using Jet::ColumnType;

std::string Sized(const char* name, unsigned size) {
  return std::string(name) + " (" + std::to_string(size) + ")";
}

std::string TypeText(const Jet::Column& column) {
  switch (column.rawType) {
    case static_cast<uint8_t>(ColumnType::Boolean): return "Boolean";
    case static_cast<uint8_t>(ColumnType::Byte): return "Byte";
    case static_cast<uint8_t>(ColumnType::Integer): return "Integer";
    case static_cast<uint8_t>(ColumnType::Long): return "Long Integer";
    case static_cast<uint8_t>(ColumnType::Currency): return "Currency";
    case static_cast<uint8_t>(ColumnType::Single): return "Single";
    case static_cast<uint8_t>(ColumnType::Double): return "Double";
    case static_cast<uint8_t>(ColumnType::DateTime): return "DateTime";
    case static_cast<uint8_t>(ColumnType::Binary): return "Binary";
    case static_cast<uint8_t>(ColumnType::Text): return Sized("Text", column.maxCharacters);
    case static_cast<uint8_t>(ColumnType::OleObject): return "OLE (255)";
    case static_cast<uint8_t>(ColumnType::Memo): return "Memo/Hyperlink (255)";
    case static_cast<uint8_t>(ColumnType::Guid): return "Replication ID";
    case static_cast<uint8_t>(ColumnType::Decimal):
      return "Numeric (" + std::to_string(column.precision) + ", " +
             std::to_string(column.scale) + ")";
  }
  char unknown[16];
  std::snprintf(unknown, sizeof unknown, "Unknown_%04x", column.rawType);
  return unknown;
}

}  // namespace

SchemaColumn MdbSchemaDeclaration(const Jet::Column& column) {
  return {Main::ToUtf8(column.name), TypeText(column)};
}

}  // namespace Oracle
