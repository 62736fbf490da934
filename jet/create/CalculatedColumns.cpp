#include "jet/create/CalculatedColumns.h"

#include "jet/row/CalculatedValue.h"
#include "jet/schema/PropertyBlobWriter.h"

namespace Jet::Create {
namespace {

constexpr uint8_t kByteProperty = static_cast<uint8_t>(ColumnType::Byte);
constexpr uint8_t kMemoProperty = static_cast<uint8_t>(ColumnType::Memo);

}  // namespace

std::vector<PropertyBlock> CalculatedProperties(const std::vector<FieldSpec>& fields,
                                                const TableDefinition& definition) {
  std::vector<PropertyBlock> blocks;
  for (size_t n = 0; n < fields.size() && n < definition.columns.size(); ++n) {
    const Column& column = definition.columns[n];
    if (!column.calculated) continue;
    if (blocks.empty()) blocks.push_back(PropertyBlock{});  // the table's own, with nothing in it
    blocks.push_back(PropertyBlock{column.name,
                                   {Property{u"ResultType", kByteProperty, {static_cast<uint8_t>(column.type)}},
                                    TextProperty(u"Expression", kMemoProperty, fields[n].expression)}});
  }
  return blocks;
}

std::vector<uint8_t> WrappedResult(const ValueEncoder& encoder, const Column& column,
                                   const ColumnLayout& place, const Main::Value& value) {
  if (value.IsNull()) return WrapCalculated({});
  const std::vector<uint8_t> data = encoder.Encode(column, place, value);
  if (column.type == ColumnType::Decimal) return WrapCalculated(EncodeCalculatedDecimal(data, column.scale));
  return WrapCalculated(data);
}

Field CalculatedField(const ValueEncoder& encoder, const Column& column, const ColumnLayout& place,
                      const Main::Value& value) {
  if (value.IsNull() && (column.type == ColumnType::Text || column.type == ColumnType::Memo)) return value;
  return StoredField{WrappedResult(encoder, column, place, value)};
}

}  // namespace Jet::Create
