#include "jet/catalog/DesignerFacts.h"

#include <algorithm>

#include "jet/row/CalculatedValue.h"
#include "jet/text/CaseFold.h"

namespace Jet {
namespace {

constexpr uint8_t kCalculatedDecimalPrecision = 28;  // a Decimal result's precision is not stored

// The block of `properties` that names this column (ignoring case), or null.
const PropertyBlock* BlockOf(const std::vector<PropertyBlock>& properties, std::u16string_view column) {
  const auto found = std::find_if(properties.begin(), properties.end(), [&](const PropertyBlock& block) {
    return !block.objectName.empty() && EqualIgnoringCase(block.objectName, column);
  });
  return found == properties.end() ? nullptr : &*found;
}

// The type a calculated column's ResultType property names; Binary (its stored bytes) where the
// property is missing or names no result type.
ColumnType ResultTypeOf(const PropertyBlock* block) {
  const Property* property = block == nullptr ? nullptr : FindProperty(*block, u"ResultType");
  if (property == nullptr || property->value.empty()) return ColumnType::Binary;
  return CalculatedResultType(property->value[0]).value_or(ColumnType::Binary);
}

// The column as its result type describes it; its place in the row stays as stored.
void TakeResultType(Column& column, ColumnType result) {
  column.type = result;
  column.hyperlink = false;
  column.precision = result == ColumnType::Decimal ? kCalculatedDecimalPrecision : 0;
  column.scale = 0;  // a Decimal result carries its own scale
  column.maxCharacters = result == ColumnType::Text && column.maxLength > kCalculatedWrapperSize
                             ? static_cast<uint16_t>((column.maxLength - kCalculatedWrapperSize) / 2)
                             : 0;
  if (result != ColumnType::Text && result != ColumnType::Memo) {
    column.sortOrder = 0;
    column.sortOrderVersion = 0;
  }
}

}  // namespace

std::shared_ptr<const TableLayout> WithDesignerFacts(const TableLayout& table,
                                                     const std::vector<PropertyBlock>& properties,
                                                     const ComplexKinds& complexKinds) {
  auto definition = std::make_shared<TableDefinition>(*table.definition);
  for (size_t n = 0; n < definition->columns.size() && n < table.columns.size(); ++n) {
    Column& column = definition->columns[n];
    const PropertyBlock* block = BlockOf(properties, column.name);
    if (block != nullptr && IsPropertyYes(*block, u"Required")) column.nullable = false;
    if (column.calculated) TakeResultType(column, ResultTypeOf(block));
    if (column.type != ColumnType::Complex) continue;
    column.autonumber = false;
    if (const auto kind = complexKinds.find(table.columns[n].complexId); kind != complexKinds.end())
      column.complexKind = kind->second;
  }
  auto annotated = std::make_shared<TableLayout>(table);
  annotated->definition = std::move(definition);
  return annotated;
}

}  // namespace Jet
