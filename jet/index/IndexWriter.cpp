#include "jet/index/IndexWriter.h"

#include <map>

#include "jet/base/Failure.h"
#include "jet/index/IndexBuilder.h"
#include "jet/index/IndexEdit.h"

namespace Jet {

IndexWriter::IndexWriter(PageWriter& writer, PageAllocator& allocator, const FormatLayout& format)
    : writer_(writer), allocator_(allocator), format_(format) {}

void IndexWriter::Replace(const PhysicalIndexLayout& index, uint32_t owner, const std::optional<IndexEntry>& before,
                          const std::optional<IndexEntry>& after) {
  if (before && after && SameRowAndKey(*before, *after)) return;
  const IndexPageLayout& layout = IndexPageLayoutOf(format_);
  if (leaves_.Replace(writer_, layout, index.firstPage, owner, before, after)) return;
  IndexEdit edit(writer_.Pages(), layout, index.firstPage, owner, &cache_);
  if (before) edit.Remove(*before);
  if (after) edit.Insert(*after);
  const std::vector<uint32_t> added = edit.Added();
  if (added.size() > MaxNewPages(edit.Levels()))
    ThrowInternalFault("an index change needed more new pages than the usage maps were checked for");

  // Write-order rule 8: a. new pages, first as empty leaves that take their page numbers, marked
  // used and in the index's map, then whole; b./c. the changed pages from the leaves up to the
  // root; d. the emptied pages given back.
  std::map<uint32_t, uint32_t> renumbered;
  for (const uint32_t page : added) renumbered[page] = NewPage(index, owner);
  for (const uint32_t page : added) writer_.Write(renumbered.at(page), edit.Encode(page, renumbered));
  for (const uint32_t page : edit.Changed()) writer_.Write(page, edit.Encode(page, renumbered));
  for (const uint32_t page : edit.Emptied()) {
    allocator_.Maps().Remove(index.ownedPages, page);
    allocator_.Release(page);
  }
}

void IndexWriter::Rebuild(const PhysicalIndexLayout& index, uint32_t owner, const std::vector<IndexEntry>& sorted) {
  const auto built = BuildIndexPages(sorted, index.firstPage, owner, IndexPageLayoutOf(format_),
                                     [&] { return NewPage(index, owner); });
  // Leaves first, the root last: BuildIndexPages lists them so.
  for (const auto& [number, bytes] : built) writer_.Write(number, bytes);
}

uint32_t IndexWriter::NewPage(const PhysicalIndexLayout& index, uint32_t owner) {
  IndexPage emptyLeaf;
  emptyLeaf.owner = owner;
  const uint32_t number = allocator_.Allocate(EncodeIndexPage(emptyLeaf, IndexPageLayoutOf(format_)));
  allocator_.Maps().Add(index.ownedPages, number);
  return number;
}

size_t IndexWriter::MaxNewPages(size_t levels) {
  // Each of the two halves of a change (the old entry out, the new one in) splits at most one
  // page a level into two (a page that fitted, give or take two entries), and the root moves into
  // two new pages below it; twice that leaves room for pieces that prefix compression makes
  // uneven.
  return 4 * (levels + 1);
}

size_t IndexWriter::MaxNewPages(const PageFile& pages, const FormatLayout& format, const PhysicalIndexLayout& index) {
  return MaxNewPages(TreeLevels(pages, IndexPageLayoutOf(format), index.firstPage));
}

}  // namespace Jet
