#pragma once

#include <cstdint>

#include "jet/page/DataPage.h"
#include "jet/file/PageWriter.h"

// Changes usage maps (their layout is in UsageMapFormat.h): puts pages into a table's or a
// long-value column's owned-pages and free-space maps, takes them out, and keeps the database's
// global map on page 1 -- a map of the FREE pages -- up to date as pages are taken and released.
// An inline map that cannot reach a new page is moved to a new first page where its pages still
// fit, else turned into an indirect map with usage map pages of its own. The global map reaches
// every page it is asked to mark used: Access counts a page the global map does not reach as free,
// so an inline global map that cannot reach it becomes indirect, and an indirect one gets the map
// pages it lacks (existing pages marked used, pages past the end of the file free).
namespace Jet {

class PageAllocator;

class UsageMapEditor {
 public:
  // `newPages` gives the usage map pages a map grows into.
  UsageMapEditor(PageWriter& writer, const FormatLayout& layout, PageAllocator& newPages)
      : writer_(writer), layout_(layout), newPages_(newPages) {}

  void Add(RowPointer map, uint32_t page) { Set(map, page, true); }
  void Remove(RowPointer map, uint32_t page) { Set(map, page, false); }
  bool Contains(RowPointer map, uint32_t page) const;

  // Global map: the page is now in use / free again. A freed page the global map does not reach
  // stays out of it.
  void MarkUsed(uint32_t page) { SetGlobal(page, false); }
  void MarkFree(uint32_t page) { SetGlobal(page, true); }
  bool GlobalMarksFree(uint32_t page) const { return Contains(kGlobalMap, page); }

  // Throws JetError kNotSupported unless `map` -- and the global map -- can record every page up
  // to `lastPage`, in the indirect form if need be. Called before an update writes anything
  // (write-order rule 3).
  void CheckReach(RowPointer map, uint64_t lastPage) const;
  void CheckGlobalReach(uint64_t lastPage) const { CheckReach(kGlobalMap, lastPage); }

 private:
  static constexpr RowPointer kGlobalMap{1, 0};

  void Set(RowPointer map, uint32_t page, bool on);
  void SetIndirect(RowPointer map, std::vector<uint8_t> row, uint32_t page, bool on);
  void Rebase(RowPointer map, std::vector<uint8_t> row, uint32_t page);
  void SetMapPageBit(uint32_t mapPage, uint32_t page, bool on);
  void SetGlobal(uint32_t page, bool free);
  void ExtendGlobal(std::vector<uint8_t> row, uint32_t page);
  uint32_t BitsPerMapPage() const;
  void WriteRow(RowPointer map, std::vector<uint8_t> row);

  PageWriter& writer_;
  const FormatLayout& layout_;
  PageAllocator& newPages_;
};

}  // namespace Jet
