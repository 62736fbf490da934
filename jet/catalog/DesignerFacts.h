#pragma once

#include <memory>
#include <vector>

#include "jet/catalog/ComplexColumns.h"
#include "jet/schema/PropertyBlob.h"
#include "jet/schema/TableLayout.h"

// Facts about columns that the table designer keeps outside the table definition: the Required
// and ResultType properties (in the table's property blob) and the kind of each complex column.
namespace Jet {

// A copy of `table` whose columns carry those facts: a column that a block of `properties` named
// after it (ignoring case) marks Required is not nullable (others keep what their flags say);
// a calculated column takes the type its ResultType names (Binary, its stored bytes, where that
// is missing or no result type), keeping its stored type code (rawType) and place in the row;
// a complex column gets its kind from `complexKinds` and is never an AutoNumber (the flag Access
// sets on complex columns means that it numbers their values itself, not a designer AutoNumber).
std::shared_ptr<const TableLayout> WithDesignerFacts(const TableLayout& table,
                                                     const std::vector<PropertyBlock>& properties,
                                                     const ComplexKinds& complexKinds);

}  // namespace Jet
