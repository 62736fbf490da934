#pragma once

#include <cstdint>
#include <vector>

#include "jet/Creator.h"
#include "jet/row/RowEncoder.h"
#include "jet/schema/PropertyBlob.h"

// The creator's side of calculated fields: the properties that give their result type and
// expression, and their results stored wrapped (row/CalculatedValue.h).
namespace Jet::Create {

// The table's property blocks for its calculated fields (its own block, then ResultType and
// Expression for each); none when it has no calculated field. `definition` is the planned table,
// its columns in the order of `fields`.
std::vector<PropertyBlock> CalculatedProperties(const std::vector<FieldSpec>& fields,
                                                const TableDefinition& definition);

// A calculated column's result as its wrapper holds it (for a Memo result: the long value's
// bytes); a Null result is an empty one.
std::vector<uint8_t> WrappedResult(const ValueEncoder& encoder, const Column& column,
                                   const ColumnLayout& place, const Main::Value& value);

// The row's field of a calculated column whose result is not a long value: Null for a Null Text
// (or Memo) result, else the wrapped result.
Field CalculatedField(const ValueEncoder& encoder, const Column& column, const ColumnLayout& place,
                      const Main::Value& value);

}  // namespace Jet::Create
