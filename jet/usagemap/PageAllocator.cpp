#include "jet/usagemap/PageAllocator.h"

#include "jet/page/DataPageEditor.h"
#include "jet/page/RowLocator.h"
#include "jet/usagemap/UsageMap.h"

namespace Jet {

uint32_t PageAllocator::Allocate(std::vector<uint8_t> page) {
  uint32_t number = 0;
  if (!released_.empty()) {
    number = released_.back();
    released_.pop_back();
    writer_.Write(number, std::move(page));
  } else {
    number = writer_.Append(std::move(page));
  }
  maps_.MarkUsed(number);
  return number;
}

uint32_t PageAllocator::AllocateFor(std::vector<uint8_t> page, RowPointer ownedPages, RowPointer freeSpacePages) {
  const uint32_t number = Allocate(std::move(page));
  maps_.Add(ownedPages, number);
  maps_.Add(freeSpacePages, number);
  return number;
}

void PageAllocator::Release(uint32_t page, RowPointer ownedPages, RowPointer freeSpacePages) {
  maps_.Remove(freeSpacePages, page);
  maps_.Remove(ownedPages, page);
  Release(page);
}

void PageAllocator::Release(uint32_t page) {
  maps_.MarkFree(page);
  released_.push_back(page);
}

void PageAllocator::CheckMapsReach(const std::vector<RowPointer>& maps, uint64_t newPages) const {
  // A map that becomes indirect, or gains an entry, takes its map pages from past the end of the
  // file; this many cover every map one change touches.
  constexpr uint64_t kMapPagesAllowance = 64;
  const uint64_t lastPage = uint64_t{writer_.Pages().PageCount()} + newPages + kMapPagesAllowance;
  maps_.CheckGlobalReach(lastPage);
  for (const RowPointer map : maps) maps_.CheckReach(map, lastPage);
}

std::optional<uint32_t> PageAllocator::FreeSpacePageWithRoom(const TableLayout& table, size_t rowSize,
                                                             uint32_t avoidPage) const {
  const RowLocator tableRows(writer_.Pages(), layout_, table.definition->definitionPage);
  UsageMapCursor withRoom(writer_.Pages(), layout_, table.freeSpacePages);
  for (uint32_t number = 0; withRoom.Next(number);) {
    if (number == avoidPage || number >= writer_.Pages().PageCount()) continue;
    const Page page = writer_.Pages().Read(number);
    if (tableRows.IsTableDataPage(page) && DataPageEditor(page, layout_).FitsNewRow(rowSize))
      return number;
  }
  return std::nullopt;
}

std::optional<uint32_t> PageAllocator::TablePageWithRoom(const TableLayout& table, size_t rowSize, uint32_t avoidPage) {
  const uint32_t tablePage = table.definition->definitionPage;
  if (!tablePages_.contains(tablePage))
    if (const std::optional<uint32_t> found = FreeSpacePageWithRoom(table, rowSize, avoidPage)) tablePages_[tablePage] = *found;
  const auto page = tablePages_.find(tablePage);
  if (page == tablePages_.end() || page->second == avoidPage) return std::nullopt;
  if (!DataPageEditor(writer_.Pages().Read(page->second), layout_).FitsNewRow(rowSize)) return std::nullopt;
  return page->second;
}

uint32_t PageAllocator::AddTablePage(const TableLayout& table, std::vector<uint8_t> page) {
  const uint32_t number = AllocateFor(std::move(page), table.ownedPages, table.freeSpacePages);
  tablePages_[table.definition->definitionPage] = number;
  return number;
}

}  // namespace Jet
