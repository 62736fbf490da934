#include "jet/create/ColumnPlan.h"

#include "common/Text.h"
#include "jet/text/CaseFold.h"
#include "jet/base/Failure.h"
#include "jet/file/HeaderWriter.h"
#include "jet/row/CalculatedValue.h"
#include "jet/schema/FixedValueSize.h"

namespace Jet::Create {
namespace {

constexpr size_t kMaxColumns = 255;
constexpr size_t kMaxNameLength = 64;
constexpr size_t kMaxFixedBytes = 2000;  // leaves room in a row for the variable part
constexpr uint8_t kCalculatedDecimalPrecision = 28;

bool IsVariable(const ColumnSpec& column) {
  return column.calculated || column.type == ColumnType::Text || column.type == ColumnType::Binary ||
         IsLongValue(column.type);
}

// The type code a calculated column's definition holds for its result type: where Access was
// seen to write another code than the result's, that one.
uint8_t StoredTypeOfResult(ColumnType result) {
  switch (result) {
    case ColumnType::Currency: case ColumnType::Decimal: return static_cast<uint8_t>(ColumnType::Double);
    case ColumnType::Boolean: return static_cast<uint8_t>(ColumnType::Integer);
    case ColumnType::Memo: return static_cast<uint8_t>(ColumnType::Text);
    case ColumnType::Single: return static_cast<uint8_t>(ColumnType::Decimal);
    default: return static_cast<uint8_t>(result);
  }
}

// The stored length of a calculated column: its result wrapped (a Memo result: a long value).
uint16_t CalculatedLengthOf(const ColumnSpec& wanted) {
  if (IsLongValue(wanted.type)) return 0;
  if (wanted.type == ColumnType::Text) return static_cast<uint16_t>(wanted.maxLength + kCalculatedWrapperSize);
  return kCalculatedFixedLength;
}

void RequireResultType(const FieldSpec& field) {
  if (field.expression.empty())
    ThrowTypeMismatch(u"The calculated field '" + field.name + u"' needs an expression.");
  switch (field.type) {
    case FieldType::OleObject: case FieldType::Hyperlink: case FieldType::AutoNumber:
    case FieldType::DateTimeExtended:
      ThrowTypeMismatch(u"The calculated field '" + field.name + u"' cannot have a result of its type.");
    default: return;
  }
}

Column DefinitionOf(const ColumnSpec& wanted, uint16_t number) {
  Column column;
  column.name = wanted.name;
  column.type = wanted.type;
  column.rawType = wanted.calculated ? StoredTypeOfResult(wanted.type) : static_cast<uint8_t>(wanted.type);
  column.calculated = wanted.calculated;
  column.number = number;
  column.fixedLength = !IsVariable(wanted);
  column.maxLength = wanted.calculated             ? CalculatedLengthOf(wanted)
                     : IsLongValue(wanted.type)    ? 0
                     : column.fixedLength          ? FixedValueSize(wanted.type)
                                                   : wanted.maxLength;
  column.nullable = true;
  column.autonumber = wanted.autonumber;
  column.hyperlink = wanted.hyperlink;
  const bool text = wanted.type == ColumnType::Text || wanted.type == ColumnType::Memo;
  column.compressedUnicode = text && !wanted.calculated;
  column.sortOrder = text ? kGeneralSortOrder : 0;
  if (wanted.type == ColumnType::Text) column.maxCharacters = static_cast<uint16_t>(wanted.maxLength / 2);
  column.precision = wanted.precision;
  column.scale = wanted.scale;
  return column;
}

}  // namespace

ColumnSpec ColumnOf(const FieldSpec& field) {
  ColumnSpec column;
  column.name = field.name;
  switch (field.type) {
    case FieldType::Text:
      if (field.size < 1 || field.size > 255)
        ThrowTypeMismatch(u"The field size of the Text field '" + field.name + u"' must lie between 1 and 255.");
      column.type = ColumnType::Text;
      column.maxLength = static_cast<uint16_t>(field.size * 2);
      break;
    case FieldType::Memo: column.type = ColumnType::Memo; break;
    case FieldType::Hyperlink: column.type = ColumnType::Memo; column.hyperlink = true; break;
    case FieldType::Byte: column.type = ColumnType::Byte; break;
    case FieldType::Integer: column.type = ColumnType::Integer; break;
    case FieldType::LongInteger: column.type = ColumnType::Long; break;
    case FieldType::LargeNumber: column.type = ColumnType::BigInt; break;
    case FieldType::AutoNumber: column.type = ColumnType::Long; column.autonumber = true; break;
    case FieldType::Single: column.type = ColumnType::Single; break;
    case FieldType::Double: column.type = ColumnType::Double; break;
    case FieldType::Currency: column.type = ColumnType::Currency; break;
    case FieldType::DateTime: column.type = ColumnType::DateTime; break;
    case FieldType::DateTimeExtended: column.type = ColumnType::DateTimeExtended; break;
    case FieldType::YesNo: column.type = ColumnType::Boolean; break;
    case FieldType::OleObject: column.type = ColumnType::OleObject; break;
    case FieldType::ReplicationId: column.type = ColumnType::Guid; break;
    case FieldType::Decimal:
      if (field.precision < 1 || field.precision > 28 || field.scale > field.precision)
        ThrowTypeMismatch(u"The Decimal field '" + field.name +
                     u"' needs a precision between 1 and 28 and a scale no larger than it.");
      column.type = ColumnType::Decimal;
      column.precision = field.precision;
      column.scale = field.scale;
      break;
  }
  if (field.calculated) {
    RequireResultType(field);
    column.calculated = true;
    // A Decimal result keeps its scale and no precision: it takes any 28 digits.
    if (column.type == ColumnType::Decimal) column.precision = kCalculatedDecimalPrecision;
  }
  return column;
}

std::shared_ptr<TableLayout> PlanTable(std::u16string name, const std::vector<ColumnSpec>& columns,
                                       uint8_t tableType) {
  if (columns.empty() || columns.size() > kMaxColumns)
    ThrowTypeMismatch(u"The table '" + name + u"' needs between 1 and 255 fields.");
  auto definition = std::make_shared<TableDefinition>();
  definition->name = std::move(name);
  auto table = std::make_shared<TableLayout>();
  table->tableType = tableType;
  table->maxColumns = static_cast<uint16_t>(columns.size());

  uint16_t fixedOffset = 0;
  uint16_t variableIndex = 0;
  // Long values take the last entries of the variable offset table.
  uint16_t longValueIndex = 0;
  for (const ColumnSpec& wanted : columns)
    if (IsVariable(wanted) && !IsLongValue(wanted.type)) ++longValueIndex;

  for (const ColumnSpec& wanted : columns) {
    if (wanted.name.empty() || wanted.name.size() > kMaxNameLength)
      ThrowTypeMismatch(u"A field name of the table '" + definition->name + u"' is empty or longer than 64 characters.");
    if (definition->FindColumn(wanted.name) >= 0)
      ThrowTypeMismatch(u"The table '" + definition->name + u"' has two fields named '" + wanted.name + u"'.");
    Column column = DefinitionOf(wanted, static_cast<uint16_t>(definition->columns.size()));
    ColumnLayout place;
    place.number = column.number;
    place.variable = !column.fixedLength;
    place.flags = static_cast<uint8_t>(ColumnFlag::kNullable | (column.fixedLength ? ColumnFlag::kFixedLength : 0) |
                                       (wanted.autonumber ? ColumnFlag::kAutoLong : 0) |
                                       (wanted.hyperlink ? ColumnFlag::kHyperlink : 0));
    place.extraFlags = column.calculated          ? ColumnExtraFlag::kCalculated
                       : column.compressedUnicode ? ColumnExtraFlag::kCompressedUnicode
                                                  : 0;
    if (place.variable) {
      place.variableIndex = IsLongValue(wanted.type) ? longValueIndex++ : variableIndex++;
      ++table->variableColumns;
    } else if (wanted.type == ColumnType::Boolean) {
      place.valueInNullMask = true;
      place.fixedOffset = fixedOffset;
    } else {
      place.fixedOffset = fixedOffset;
      place.fixedSize = column.maxLength;
      fixedOffset = static_cast<uint16_t>(fixedOffset + column.maxLength);
    }
    definition->columns.push_back(std::move(column));
    table->columns.push_back(place);
  }
  if (fixedOffset > kMaxFixedBytes)
    ThrowTypeMismatch(u"The fields of the table '" + definition->name + u"' are too long for one row.");
  table->definition = std::move(definition);
  return table;
}

}  // namespace Jet::Create
