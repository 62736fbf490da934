#include "jet/create/IndexPlan.h"

#include <algorithm>

#include "jet/base/Failure.h"
#include "jet/text/CaseFold.h"

namespace Jet::Create {
namespace {

constexpr size_t kMaxIndexColumns = 10;
constexpr size_t kMaxNameLength = 64;

// What a primary key's physical index carries in files Access wrote: unique and required.
constexpr uint8_t kPrimaryKeyFlags = IndexFlag::kAlways | IndexFlag::kRequired | IndexFlag::kUnique;

[[noreturn]] void Refuse(const std::u16string& table, const IndexSpec& index, std::u16string_view why) {
  ThrowTypeMismatch(u"The index '" + index.name + u"' of the table '" + table + u"' " + std::u16string(why));
}

uint8_t FlagsOf(const IndexSpec& index) {
  if (index.primaryKey) return kPrimaryKeyFlags;
  return static_cast<uint8_t>(IndexFlag::kAlways | (index.unique ? IndexFlag::kUnique : 0) |
                              (index.ignoreNulls ? IndexFlag::kIgnoreNulls : 0) |
                              (index.required ? IndexFlag::kRequired : 0));
}

std::vector<IndexColumn> ColumnsOf(const TableDefinition& definition, const IndexSpec& index) {
  if (index.columns.empty() || index.columns.size() > kMaxIndexColumns)
    Refuse(definition.name, index, u"needs between 1 and 10 fields.");
  std::vector<IndexColumn> columns;
  for (const IndexColumnSpec& wanted : index.columns) {
    const int position = definition.FindColumn(wanted.field);
    if (position < 0)
      ThrowNoSuchColumn(u"The index '" + index.name + u"' names the field '" + wanted.field +
                        u"', which the table '" + definition.name + u"' does not have.");
    const Column& column = definition.columns[static_cast<size_t>(position)];
    if (column.type == ColumnType::OleObject)
      Refuse(definition.name, index, u"cannot include the OLE Object field '" + column.name + u"'.");
    if (column.calculated)
      Refuse(definition.name, index, u"cannot include the calculated field '" + column.name + u"'.");
    const auto same = [&](const IndexColumn& taken) { return taken.columnNumber == column.number; };
    if (std::any_of(columns.begin(), columns.end(), same))
      Refuse(definition.name, index, u"names the field '" + column.name + u"' twice.");
    columns.push_back(IndexColumn{column.number, wanted.ascending});
  }
  return columns;
}

}  // namespace

void PlanIndexes(TableLayout& table, const std::vector<IndexSpec>& indexes) {
  auto definition = std::make_shared<TableDefinition>(*table.definition);
  for (const IndexSpec& wanted : indexes) {
    if (wanted.name.empty() || wanted.name.size() > kMaxNameLength)
      ThrowTypeMismatch(u"An index name of the table '" + definition->name + u"' is empty or longer than 64 characters.");
    for (const Index& taken : definition->indexes) {
      if (EqualIgnoringCase(taken.name, wanted.name)) Refuse(definition->name, wanted, u"is declared twice.");
      if (taken.primaryKey && wanted.primaryKey) Refuse(definition->name, wanted, u"is a second primary key.");
    }
    PhysicalIndexLayout physical;
    physical.columns = ColumnsOf(*definition, wanted);
    physical.flags = FlagsOf(wanted);
    Index logical;
    logical.name = wanted.name;
    logical.physicalIndex = static_cast<uint32_t>(table.physicalIndexes.size());
    logical.columns = physical.columns;
    logical.primaryKey = wanted.primaryKey;
    logical.unique = wanted.primaryKey || wanted.unique;
    definition->indexes.push_back(std::move(logical));
    table.physicalIndexes.push_back(std::move(physical));
  }
  table.definition = std::move(definition);
}

bool RefusesNull(const PhysicalIndexLayout& index) { return (index.flags & IndexFlag::kRequired) != 0; }

}  // namespace Jet::Create
