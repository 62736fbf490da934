#pragma once

#include <cstdint>
#include <optional>
#include <set>

#include "jet/index/IndexWriter.h"
#include "jet/page/DataPageEditor.h"
#include "jet/page/RowInPlaceEdit.h"
#include "jet/longvalue/LongValueStore.h"
#include "jet/usagemap/PageAllocator.h"
#include "jet/row/RowDecoder.h"
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
  // An update checked and encoded, nothing written yet; the new row is in newRow_.
  struct Change {
    RowPlace place;
    std::optional<RowInPlaceEdit> inPlace;   // the row written where it lies (or moved when it does not fit)
    std::optional<DataPageEditor> rebuilt;   // a page the plan cannot take: rebuilt, or the row moved
    std::optional<std::vector<uint8_t>> longData;     // a new long value to place
    std::optional<std::vector<uint8_t>> oldLongValue;  // the row's long value reference before
    std::vector<IndexChange> indexChanges;
  };
  // The row codec of the table last updated, kept while updates stay with that table.
  struct TableRows {
    const TableLayout* table;
    std::shared_ptr<const TableDefinition> definition;
    const ColumnLayout* columns;
    RowEncoder encoder;
    RowDecoder decoder;
  };
  TableRows& RowsOf(const TableLayout& table);
  // Everything that can refuse the update; reads only.
  Change Prepare(const TableLayout& table, RowId id, size_t column, const Main::Value& value);
  // The changed column's stored form (its bytes in newValue_), with the long value to place.
  ColumnBytes NewColumn(const TableLayout& table, size_t column, const Main::Value& value, Change& change);
  void Write(const TableLayout& table, size_t column, Change change);
  // Finds the row; its bytes are left in rowPage_ and split into cells_.
  RowPlace Locate(const TableLayout& table, RowId id);
  // The index entries the change moves; checks the indexes' and relationships' refusals.
  std::vector<IndexChange> PrepareIndexes(const TableLayout& table, size_t column, const Main::Value& value,
                                          const Change& change);
  // Refuses an update whose new pages the usage maps could not record.
  void CheckMapsReach(const TableLayout& table, uint16_t columnNumber, size_t longValueBytes,
                      const std::vector<IndexChange>& indexChanges);
  // Writes a moved row on a page of the table with room (flagged deleted there), or on a new one.
  RowPointer PlaceMovedRow(const TableLayout& table, std::vector<uint8_t> row, uint32_t avoidPage);
  // Sets one slot of a data page to `row` with `flags`: in place where the page allows, else by
  // rebuilding the page.
  void WriteSlot(RowPointer where, ByteSpan row, uint16_t flags);
  // A data page rebuilt, written through the writer's in-place edit so that its copy is dropped
  // once it reaches the file.
  void WriteDataPage(uint32_t page, const std::vector<uint8_t>& bytes);

  PageWriter& writer_;
  const FormatLayout& layout_;
  uint16_t codePage_;
  PageAllocator allocator_;
  LongValueStore longValues_;
  IndexChanges indexes_;
  IndexWriter indexWriter_;
  IndexRepair indexRepair_;
  std::set<uint32_t> sweptTables_;  // tables (definition pages) cleared of orphan copies
  // Kept from one update to the next, so that an update written in place allocates nothing.
  std::optional<TableRows> rows_;
  Page rowPage_;                   // the page the row's cells view; released before it is written
  std::vector<Cell> cells_;        // the row's columns as stored
  std::vector<uint8_t> newValue_;  // the changed column's stored bytes
  std::vector<uint8_t> newRow_;
  std::vector<RowPointer> mapsToCheck_;  // the usage maps an update's new pages would go into
};

}  // namespace Jet
