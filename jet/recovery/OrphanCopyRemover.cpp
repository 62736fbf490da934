#include "jet/recovery/OrphanCopyRemover.h"

#include "jet/page/DataPageEditor.h"
#include "jet/recovery/OrphanCopyFinder.h"

namespace Jet {

size_t RemoveOrphanCopies(PageWriter& writer, PageAllocator& allocator, const FormatLayout& layout, const TableLayout& table) {
  const std::vector<RowPointer> orphans = FindOrphanCopies(writer.Pages(), layout, table);
  if (orphans.empty()) return 0;
  // No new pages: only the free-space map's own map pages.
  allocator.CheckMapsReach({table.freeSpacePages}, 0);
  for (size_t first = 0; first < orphans.size();) {
    const uint32_t number = orphans[first].page;
    DataPageEditor page(writer.Pages().Read(number), layout);
    size_t next = first;
    for (; next < orphans.size() && orphans[next].page == number; ++next) page.SetRow(orphans[next].slot, {}, RowFlag::kDeleted);
    writer.Write(number, page.Build());
    allocator.Maps().Add(table.freeSpacePages, number);
    first = next;
  }
  return orphans.size();
}

}  // namespace Jet
