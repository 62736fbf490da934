#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "jet/file/FormatLayout.h"
#include "jet/file/PageWriter.h"
#include "jet/index/IndexFormat.h"
#include "jet/index/IndexPageCache.h"
#include "jet/index/LeafChanger.h"
#include "jet/schema/TableLayout.h"
#include "jet/usagemap/PageAllocator.h"

// Keeps one index's tree in step with a changed row: takes the row's old entry out and puts its
// new one in, splitting pages that no longer fit, removing pages left empty and keeping each node
// entry a copy of its child's last entry. The root stays on its page. Pages go to the file in the
// order of write-order rule 8 (jet/write/WriteOrder.h).
namespace Jet {

// Changes index trees in place through the page writer, new pages from the page allocator.
class IndexWriter {
 public:
  IndexWriter(PageWriter& writer, PageAllocator& allocator, const FormatLayout& format);

  // Removes `before` (which must be there: else kCorrupt "the index ... has no entry for row ...")
  // and inserts `after` (which must not be there yet: else kCorrupt) in the tree of `index`,
  // whose pages name `owner` (the table definition's page). Either may be absent (an index that
  // ignores nulls has no entry for a row whose key is all null). Everything is worked out before
  // the first write: a malformed page is refused (kCorrupt) with nothing written. New pages are
  // recorded in `index.ownedPages` and marked used in the global map; pages left empty are taken
  // out of it and marked free.
  void Replace(const PhysicalIndexLayout& index, uint32_t owner, const std::optional<IndexEntry>& before,
               const std::optional<IndexEntry>& after);

  // Writes a whole new tree holding `sorted` (entries in index order) in place of the index's:
  // every page but the root new, the root written last, so that the old tree stays whole until the
  // root names the new one (write-order rule 8). The old pages stay in the index's map, unreachable,
  // as Access leaves pages it no longer uses. The usage maps must reach the new pages
  // (PageAllocator::CheckMapsReach with the count BuildIndexPages gives).
  void Rebuild(const PhysicalIndexLayout& index, uint32_t owner, const std::vector<IndexEntry>& sorted);

  // The most new pages one Replace on `index` can add, from the depth of its tree now: what the
  // usage maps must reach (PageAllocator::CheckMapsReach) before an update writes anything.
  static size_t MaxNewPages(const PageFile& pages, const FormatLayout& format, const PhysicalIndexLayout& index);
  // The same for a tree of `levels` levels (1: the root is a leaf).
  static size_t MaxNewPages(size_t levels);

 private:
  // A new page of the index: written as an empty leaf, marked used, recorded in the index's map.
  uint32_t NewPage(const PhysicalIndexLayout& index, uint32_t owner);

  PageWriter& writer_;
  PageAllocator& allocator_;
  const FormatLayout& format_;
  LeafChanger leaves_;    // the changes that stay within leaves
  IndexPageCache cache_;  // the pages of earlier changes, decoded
};

}  // namespace Jet
