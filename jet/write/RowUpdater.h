#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>

#include "jet/page/DataPageEditor.h"
#include "jet/longvalue/LongValueStore.h"
#include "jet/row/RowEncoder.h"

// Changes one column of one row in place. Everything that can be refused is refused before the
// first write. The writes of one update come in this order, so that a process killed between any
// two of them leaves the row with its old or its new value and the file readable:
//   1. new long-value rows and pages,
//   2. the row moved to another page (flagged deleted there, so a scan does not return it twice),
//      with the pages and maps of a new page,
//   3. the row's own slot: the rebuilt row, or the pointer to where it moved,
//   4. the old long value's rows deleted and its emptied pages released.
// A kill between 2 and 3 (or, for a row moved before, between 3 and the release of its previous
// new home) leaves a copy of the row that nothing points to. No order of these writes closes that
// window: the copy and the pointer lie on two pages, and a pointer written first would name a row
// that is not there yet. So the first update of each table in a session removes such copies first
// (OrphanCopyRemover.h).
namespace Jet {

class RowUpdater {
 public:
  RowUpdater(PageWriter& writer, const FormatLayout& layout, uint16_t codePage);

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
  };
  // Everything that can refuse the update; reads only.
  Change Prepare(const TableLayout& table, RowId id, size_t column, const Main::Value& value) const;
  void Write(const TableLayout& table, size_t column, Change change);
  RowPlace Locate(const TableLayout& table, RowId id) const;
  // Refuses an update whose new pages the usage maps could not record.
  void CheckMapsReach(const TableLayout& table, uint16_t columnNumber, size_t longValueBytes) const;
  // A page of the table with room for a moved row of `size` bytes, or a new one.
  RowPointer PlaceMovedRow(const TableLayout& table, std::vector<uint8_t> row, uint32_t avoidPage);

  PageWriter& writer_;
  const FormatLayout& layout_;
  uint16_t codePage_;
  UsageMapEditor maps_;
  LongValueStore longValues_;
  std::map<uint32_t, uint32_t> spareDataPages_;  // per table (definition page): its page for moved rows
  std::set<uint32_t> sweptTables_;               // tables (definition pages) cleared of orphan copies
};

// Refuses a column that may not be changed: one that belongs to an index, an AutoNumber, a
// calculated or complex column. Throws JetError kNotSupported naming the field (and the index).
void CheckColumnWritable(const TableDefinition& table, size_t column);

}  // namespace Jet
