#include "jet/catalog/DesignerFacts.h"

#include <algorithm>

#include "jet/text/CaseFold.h"

namespace Jet {
namespace {

bool IsRequired(const std::vector<PropertyBlock>& properties, std::u16string_view column) {
  return std::any_of(properties.begin(), properties.end(), [&](const PropertyBlock& block) {
    return !block.objectName.empty() && EqualIgnoringCase(block.objectName, column) &&
           IsPropertyYes(block, u"Required");
  });
}

}  // namespace

std::shared_ptr<const TableLayout> WithDesignerFacts(const TableLayout& table,
                                                     const std::vector<PropertyBlock>& properties,
                                                     const ComplexKinds& complexKinds) {
  auto definition = std::make_shared<TableDefinition>(*table.definition);
  for (size_t n = 0; n < definition->columns.size() && n < table.columns.size(); ++n) {
    Column& column = definition->columns[n];
    if (IsRequired(properties, column.name)) column.nullable = false;
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
