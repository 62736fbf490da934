#pragma once

#include <cstdint>
#include <vector>

#include "jet/page/DataPage.h"
#include "jet/file/PageSet.h"
#include "jet/usagemap/UsageMapFormat.h"

// Writes usage maps (their layout is in UsageMapFormat.h). Every map row is kUsageMapRowSize
// bytes, as Access makes them: an inline map covers 512 pages from its first page; an indirect map
// names up to 17 usage map pages of (page size - 4) * 8 pages each.
namespace Jet::Create {

// Reserves map rows on holder pages (data pages owned by no table) and fills them later, when
// the pages each map lists are known.
class UsageMapRows {
 public:
  explicit UsageMapRows(PageSet& pages) : pages_(pages) {}

  // A zeroed map row (an empty inline map) and where it is.
  RowPointer Reserve();

  // Writes the map of `owned` (ascending page numbers) into the row at `where`, allocating map
  // pages when the pages are too far apart for an inline map.
  void Write(RowPointer where, const std::vector<uint32_t>& owned);

  // Writes the global map into the row at `where`: the pages that are free to allocate, which
  // for a new file are those past its last page. Call it after every other page is allocated.
  void WriteGlobal(RowPointer where);

 private:
  MutableBytes RowAt(RowPointer where);
  void WriteIndirect(MutableBytes row, const std::vector<uint32_t>& owned);

  PageSet& pages_;
  uint32_t holder_ = 0;  // 0: none started yet
};

}  // namespace Jet::Create
