#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "jet/schema/TableLayout.h"
#include "jet/usagemap/UsageMapEditor.h"

// Hands out pages to the writers and takes them back: a new page is one this session released
// (nothing points to it any more), else one past the end of the file, and is marked used in the
// global map before anything points to it; a released page is taken out of its owner's maps and
// marked free. Also finds a table's data page with room for one more row. Owns the usage map
// editor, whose maps grow into the pages it hands out.
namespace Jet {

class PageAllocator {
 public:
  PageAllocator(PageWriter& writer, const FormatLayout& layout)
      : writer_(writer), layout_(layout), maps_(writer, layout, *this) {}
  PageAllocator(const PageAllocator&) = delete;
  PageAllocator& operator=(const PageAllocator&) = delete;

  UsageMapEditor& Maps() { return maps_; }
  const UsageMapEditor& Maps() const { return maps_; }

  // Writes `page` as a new page and marks it used in the global map.
  uint32_t Allocate(std::vector<uint8_t> page);
  // The same, and records the page in an owner's maps (its pages, its pages with free space).
  uint32_t AllocateFor(std::vector<uint8_t> page, RowPointer ownedPages, RowPointer freeSpacePages);
  // Gives back a page nothing points to any more: out of the owner's maps, free in the global map,
  // and the first page this session hands out again.
  void Release(uint32_t page, RowPointer ownedPages, RowPointer freeSpacePages);
  // The same for a page no maps of its owner record.
  void Release(uint32_t page);

  // A data page of the table other than `avoidPage` with room for a new row of `rowSize` bytes:
  // the page this session last gave the table's rows, or on the first call for the table one its
  // free-space map lists; none when that page has no room.
  std::optional<uint32_t> TablePageWithRoom(const TableLayout& table, size_t rowSize, uint32_t avoidPage);
  // Writes `page` as a new data page of the table, recorded in its maps; later rows go there first.
  uint32_t AddTablePage(const TableLayout& table, std::vector<uint8_t> page);

  // Refuses a change before its first write (write-order rule 3) when the maps could not grow to
  // record the pages it may add: the global map and each of `maps` must reach `newPages` pages past
  // the end of the file and the usage map pages the maps themselves may take on the way. Throws
  // JetError kNotSupported.
  void CheckMapsReach(const std::vector<RowPointer>& maps, uint64_t newPages) const;

 private:
  std::optional<uint32_t> FreeSpacePageWithRoom(const TableLayout& table, size_t rowSize, uint32_t avoidPage) const;

  PageWriter& writer_;
  const FormatLayout& layout_;
  UsageMapEditor maps_;
  std::vector<uint32_t> released_;               // pages given back in this session, nothing points to them
  std::map<uint32_t, uint32_t> tablePages_;      // per table (definition page): its page for new rows
};

}  // namespace Jet
