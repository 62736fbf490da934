#include "jet/recovery/OrphanCopyRemover.h"

#include "jet/page/DataPageEditor.h"
#include "jet/recovery/OrphanCopyFinder.h"

namespace Jet {

size_t RemoveOrphanCopies(PageWriter& writer, UsageMapEditor& maps, const FormatLayout& layout, const TableLayout& table) {
  const std::vector<RowPointer> orphans = FindOrphanCopies(writer.Pages(), layout, table);
  if (orphans.empty()) return 0;
  // A free-space map that becomes indirect takes usage map pages from past the end of the file.
  constexpr uint64_t kMapPagesAllowance = 64;
  const uint64_t lastPage = uint64_t{writer.Pages().PageCount()} + kMapPagesAllowance;
  maps.CheckReach(table.freeSpacePages, lastPage);
  maps.CheckGlobalReach(lastPage);
  for (size_t first = 0; first < orphans.size();) {
    const uint32_t number = orphans[first].page;
    DataPageEditor page(writer.Pages().Read(number), layout);
    size_t next = first;
    for (; next < orphans.size() && orphans[next].page == number; ++next) page.SetRow(orphans[next].slot, {}, RowFlag::kDeleted);
    writer.Write(number, page.Build());
    maps.Add(table.freeSpacePages, number);
    first = next;
  }
  return orphans.size();
}

}  // namespace Jet
