#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "jet/file/PageFile.h"
#include "jet/index/IndexFormat.h"
#include "jet/index/RowKeys.h"
#include "jet/page/PageFormat.h"
#include "jet/schema/TableLayout.h"

// The index side of one row update: which entries of which of the table's indexes change, and
// every refusal an index or an enforced relationship makes, found before anything is written
// (write-order rule 3): a Null in a primary key or required index (3058), a key a unique index
// already holds (3022), a referring key its referenced table lacks (3201), a referenced key other
// rows still refer to (3200).
namespace Jet {

// The layout of another table of the database, by its definition page (for relationships).
using TableLookup = std::function<std::shared_ptr<const TableLayout>(uint32_t definitionPage)>;

// One physical index's change for one row: the entry taken out and the one put in; none where an
// index that ignores Nulls holds no entry for an all-Null key.
struct IndexChange {
  size_t physicalIndex = 0;
  std::optional<IndexEntry> before;
  std::optional<IndexEntry> after;
};

class IndexChanges {
 public:
  IndexChanges(const PageFile& pages, const FormatLayout& format, uint16_t codePage, TableLookup tables);

  // The changes the table's indexes need when `column` of the row whose home is `home` changes;
  // `oldCells` and `newCells` are the row's cells before and after (a long value given inline, at
  // least its first 255 characters). Empty when no index key changes (a case change of text,
  // trailing spaces). Throws JetError for each refusal above, with nothing written.
  std::vector<IndexChange> Prepare(const TableLayout& table, RowPointer home, size_t column,
                                   const std::vector<Cell>& oldCells, const std::vector<Cell>& newCells) const;

 private:
  // The checks of the table's enforced relationships whose index is `physicalIndex`, for a key
  // that changes from `before` to `after` (keys of this table's columns).
  void CheckRelationships(const TableLayout& table, size_t physicalIndex, const RowKey& before, const RowKey& after,
                          const std::vector<Cell>& oldCells, const std::vector<Cell>& newCells,
                          const RowKeys& keys) const;

  const PageFile& pages_;
  const FormatLayout& format_;
  uint16_t codePage_;
  TableLookup tables_;
};

}  // namespace Jet
