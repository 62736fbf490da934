#pragma once

#include <cstdint>
#include <optional>
#include <set>

#include "jet/index/IndexWriter.h"
#include "jet/page/DataPageEditor.h"
#include "jet/longvalue/LongValueStore.h"
#include "jet/usagemap/PageAllocator.h"
#include "jet/row/RowEncoder.h"
#include "jet/write/IndexChanges.h"
#include "jet/write/IndexRepair.h"

// Changes one column of one row in place, and the entries of the table's indexes that cover it:
// refuses first what it refuses (write-order rule 3), then writes in the order of write-order
// rule 4, with the table's orphan copies removed and its indexes mended before its first change in
// a session (write-order rules 4, 5 and 6). The rules are in WriteOrder.h.
namespace Jet {

class RowUpdater {
 public:
  // `tables` reaches the other tables of the database (their relationships' indexes).
  RowUpdater(PageWriter& writer, const FormatLayout& layout, uint16_t codePage, TableLookup tables);

  // Throws JetError (see Database::UpdateValue) with nothing written.
  void Update(const TableLayout& table, RowId id, size_t column, const Main::Value& value);

 private:
  struct RowPlace {
    RowPointer home;
    RowPointer current;  // where the row's bytes are (the home unless it was moved)
  };
  // An update checked and encoded, nothing written yet.
  struct Change {
    RowPlace place;
    DataPageEditor current;  // the page that holds the row's bytes
    std::vector<Field> fields;
    std::vector<uint8_t> newRow;
    std::optional<std::vector<uint8_t>> longData;     // a new long value to place
    std::optional<std::vector<uint8_t>> oldLongValue;  // the row's long value reference before
    std::vector<IndexChange> indexChanges;
  };
  // Everything that can refuse the update; reads only.
  Change Prepare(const TableLayout& table, RowId id, size_t column, const Main::Value& value) const;
  void Write(const TableLayout& table, size_t column, Change change);
  RowPlace Locate(const TableLayout& table, RowId id) const;
  // The index entries the change moves; checks the indexes' and relationships' refusals.
  std::vector<IndexChange> PrepareIndexes(const TableLayout& table, size_t column, const Main::Value& value,
                                          const Change& change, const std::vector<Cell>& oldCells,
                                          const RowEncoder& encoder) const;
  // Refuses an update whose new pages the usage maps could not record.
  void CheckMapsReach(const TableLayout& table, uint16_t columnNumber, size_t longValueBytes,
                      const std::vector<IndexChange>& indexChanges) const;
  // Writes a moved row on a page of the table with room (flagged deleted there), or on a new one.
  RowPointer PlaceMovedRow(const TableLayout& table, std::vector<uint8_t> row, uint32_t avoidPage);

  PageWriter& writer_;
  const FormatLayout& layout_;
  uint16_t codePage_;
  PageAllocator allocator_;
  LongValueStore longValues_;
  IndexChanges indexes_;
  IndexWriter indexWriter_;
  IndexRepair indexRepair_;
  std::set<uint32_t> sweptTables_;  // tables (definition pages) cleared of orphan copies
};

}  // namespace Jet
