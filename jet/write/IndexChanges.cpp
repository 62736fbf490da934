#include "jet/write/IndexChanges.h"

#include <algorithm>

#include "common/Text.h"
#include "jet/base/Failure.h"
#include "jet/index/IndexTree.h"

namespace Jet {
namespace {


bool Covers(const std::vector<IndexColumn>& columns, uint16_t columnNumber) {
  return std::any_of(columns.begin(), columns.end(),
                     [&](const IndexColumn& part) { return part.columnNumber == columnNumber; });
}

// The logical indexes that a physical index backs.
std::vector<const Index*> LogicalIndexesOf(const TableDefinition& table, size_t physicalIndex) {
  std::vector<const Index*> found;
  for (const Index& index : table.indexes)
    if (index.physicalIndex == physicalIndex) found.push_back(&index);
  return found;
}

bool IsUnique(const PhysicalIndexLayout& index, const std::vector<const Index*>& logical) {
  return (index.flags & IndexFlag::kUnique) != 0 ||
         std::any_of(logical.begin(), logical.end(), [](const Index* l) { return l->primaryKey; });
}

bool RefusesNull(const PhysicalIndexLayout& index, const std::vector<const Index*>& logical) {
  return (index.flags & IndexFlag::kRequired) != 0 ||
         std::any_of(logical.begin(), logical.end(), [](const Index* l) { return l->primaryKey; });
}

std::optional<IndexEntry> EntryOf(const PhysicalIndexLayout& index, RowKey key, RowPointer home) {
  if (key.allNull && (index.flags & IndexFlag::kIgnoreNulls) != 0) return std::nullopt;
  return IndexEntry{std::move(key.bytes), home.page, static_cast<uint8_t>(home.slot), 0};
}

const Index* LogicalIndexNumbered(const TableDefinition& table, int32_t number) {
  for (const Index& index : table.indexes)
    if (static_cast<int32_t>(index.number) == number) return &index;
  return nullptr;
}

}  // namespace

IndexChanges::IndexChanges(const PageFile& pages, const FormatLayout& format, uint16_t codePage, TableLookup tables)
    : pages_(pages), format_(format), codePage_(codePage), tables_(std::move(tables)) {}

std::vector<IndexChange> IndexChanges::Prepare(const TableLayout& table, RowPointer home, size_t column,
                                               const std::vector<Cell>& oldCells,
                                               const std::vector<Cell>& newCells) const {
  std::vector<IndexChange> changes;
  const uint16_t columnNumber = table.definition->columns.at(column).number;
  const RowKeys keys(pages_, format_, codePage_, table);
  for (size_t n = 0; n < table.physicalIndexes.size(); ++n) {
    const PhysicalIndexLayout& index = table.physicalIndexes[n];
    if (!Covers(index.columns, columnNumber)) continue;
    RowKey before = keys.KeyOf(index, oldCells);
    RowKey after = keys.KeyOf(index, newCells);
    if (before.bytes == after.bytes) continue;
    const std::vector<const Index*> logical = LogicalIndexesOf(*table.definition, n);
    if (after.anyNull && RefusesNull(index, logical)) ThrowNullInIndex();
    if (!after.allNull && IsUnique(index, logical) && IndexTree(pages_, format_, index.firstPage).HasKey(after.bytes))
      ThrowDuplicateKey();
    CheckRelationships(table, n, before, after, oldCells, newCells, keys);
    changes.push_back(IndexChange{n, EntryOf(index, std::move(before), home), EntryOf(index, std::move(after), home)});
  }
  return changes;
}

void IndexChanges::CheckRelationships(const TableLayout& table, size_t physicalIndex, const RowKey& before,
                                      const RowKey& after, const std::vector<Cell>& oldCells,
                                      const std::vector<Cell>& newCells, const RowKeys& keys) const {
  for (const Index* relation : LogicalIndexesOf(*table.definition, physicalIndex)) {
    if (!relation->foreignKey || relation->relatedIndex < 0) continue;
    const std::shared_ptr<const TableLayout> other = tables_(relation->relatedTablePage);
    const Index* otherIndex = other ? LogicalIndexNumbered(*other->definition, relation->relatedIndex) : nullptr;
    if (otherIndex == nullptr || otherIndex->physicalIndex >= other->physicalIndexes.size() ||
        otherIndex->columns.size() != relation->columns.size())
      ThrowCorrupt("the relationship '" + Main::ToUtf8(relation->name) +
                   "' names an index its other table does not have");
    // The other side's index, with this table's columns in the places of its own: the key of this
    // row's values as the other table's index holds them.
    PhysicalIndexLayout lookup = other->physicalIndexes[otherIndex->physicalIndex];
    lookup.columns = relation->columns;
    for (size_t i = 0; i < lookup.columns.size(); ++i)
      lookup.columns[i].ascending = otherIndex->columns[i].ascending;
    const IndexTree otherTree(pages_, format_, other->physicalIndexes[otherIndex->physicalIndex].firstPage);
    if (relation->primarySide) {
      if (before.allNull) continue;
      const RowKey referred = keys.KeyOf(lookup, oldCells);
      if (!otherTree.HasKey(referred.bytes)) continue;
      if (relation->cascadeUpdates)
        ThrowNotSupported(u"The relationship '" + relation->name + u"' cascades updates to table '" +
                              other->definition->name + u"'; cascading updates are not supported yet.",
                          Main::ErrorCause::kFieldCannotChange);
      ThrowRelatedRecordsExist(other->definition->name);
    } else {
      if (after.allNull) continue;
      const RowKey referring = keys.KeyOf(lookup, newCells);
      if (referring.anyNull || !otherTree.HasKey(referring.bytes)) ThrowRelatedRecordRequired(other->definition->name);
    }
  }
}

}  // namespace Jet
