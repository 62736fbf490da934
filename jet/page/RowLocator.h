#pragma once

#include <cstdint>

#include "jet/page/DataPage.h"

// Finds where a row's bytes are, following the pointers of rows that were moved to another page.
namespace Jet {

// Access moves a row at most once before compacting; every reader of moved rows allows a few
// hops, never a loop.
constexpr int kMaxPointerHops = 8;

struct LocatedRow {
  bool deleted = false;    // the slot itself is deleted: there is no row
  bool moved = false;      // the slot held a pointer; `home` is where the row now lives
  bool homeMarkedDeleted = false;  // the home slot carries the deleted flag (as moved rows do)
  RowPointer home;
  Page page;               // keeps `bytes` alive
  ByteSpan bytes;
};

class RowLocator {
 public:
  RowLocator(const PageFile& pages, const FormatLayout& layout, uint32_t tablePage)
      : pages_(pages), layout_(layout), tablePage_(tablePage) {}

  // The row in `slot` of `page`, which must be a data page of the table. Throws kCorrupt for a
  // pointer chain that loops, runs too long, or leaves the table's data pages.
  LocatedRow Locate(const DataPage& page, uint16_t slot) const;
  LocatedRow Locate(RowPointer where) const;

  // Whether the page is one of this table's data pages.
  bool IsTableDataPage(const Page& page) const;

 private:
  const PageFile& pages_;
  const FormatLayout& layout_;
  uint32_t tablePage_;
};

}  // namespace Jet
