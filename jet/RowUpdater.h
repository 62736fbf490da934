#pragma once

#include <cstdint>
#include <map>
#include <optional>

#include "jet/LongValueStore.h"
#include "jet/RowEncoder.h"

// Changes one column of one row in place. Everything that can be refused is refused before the
// first write. The writes of one update come in this order, so that a process killed between any
// two of them leaves the row with its old or its new value and the file readable:
//   1. new long-value rows and pages,
//   2. the row moved to another page (flagged deleted there, so a scan does not return it twice),
//      with the pages and maps of a new page,
//   3. the row's own slot: the rebuilt row, or the pointer to where it moved,
//   4. the old long value's rows deleted and its emptied pages released.
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
};

// Refuses a column that may not be changed: one that belongs to an index, an AutoNumber, a
// calculated or complex column. Throws JetError kNotSupported naming the field (and the index).
void CheckColumnWritable(const TableDefinition& table, size_t column);

}  // namespace Jet
