#include "jet/write/IndexRepair.h"

#include <algorithm>
#include <optional>
#include <set>
#include <utility>

#include "jet/base/Failure.h"
#include "jet/index/IndexBuilder.h"
#include "jet/index/IndexShapeCheck.h"
#include "jet/index/IndexTree.h"
#include "jet/index/SortedEntries.h"
#include "jet/index/RowKeys.h"
#include "jet/page/RowLocator.h"
#include "jet/row/TableScan.h"

namespace Jet {
namespace {


bool EntryLess(const IndexEntry& a, const IndexEntry& b) { return CompareEntries(a, b) < 0; }

// The names of the logical indexes a physical index backs, for messages.
std::u16string NameOf(const TableDefinition& table, size_t physicalIndex) {
  std::u16string names;
  for (const Index& index : table.indexes)
    if (index.physicalIndex == physicalIndex) names += (names.empty() ? u"" : u", ") + index.name;
  return names;
}

// The entries the table's rows call for in one index, in index order; none when the engine
// cannot make its keys.
std::optional<SortedEntries> EntriesOfRows(const PageFile& pages, const FormatLayout& format, uint16_t codePage,
                                           const std::shared_ptr<const TableLayout>& table,
                                           const PhysicalIndexLayout& index) {
  const TextCodec codec = format.jet3 ? TextCodec(codePage) : TextCodec();
  const RowKeys keys(pages, format, codePage, *table);
  const RowLocator locator(pages, format, table->definition->definitionPage);
  TableScan scan(ScanContext{pages, format, codec}, table);
  SortedEntries entries;
  try {
    while (scan.Next()) {
      const RowId id = scan.Id();
      const RowKey key = keys.KeyOf(index, locator.Locate(RowPointer{id.page, id.slot}).bytes);
      if (key.allNull && (index.flags & IndexFlag::kIgnoreNulls) != 0) continue;
      entries.Add(key.bytes, id.page, static_cast<uint8_t>(id.slot));
    }
  } catch (const JetError& refusal) {
    if (refusal.Number() == JetErrorNumber::kNotSupported) return std::nullopt;
    throw;
  }
  entries.Sort();
  return entries;
}

// How many rows (page, slot) have entries that differ between the two lists, both in index order
// (`found` may hold an entry more than once), counted up to two: one pass over both.
size_t RowsThatDiffer(const std::vector<IndexEntry>& found, const SortedEntries& wanted) {
  std::set<std::pair<uint32_t, uint8_t>> rows;
  size_t i = 0;
  size_t j = 0;
  const auto skipRepeats = [&] {
    while (j > 0 && j < found.size() && SameRowAndKey(found[j], found[j - 1])) ++j;
  };
  while ((i < wanted.Size() || j < found.size()) && rows.size() < 2) {
    const std::strong_ordering order =
        i == wanted.Size() ? std::strong_ordering::greater
        : j == found.size() ? std::strong_ordering::less
                            : wanted.Compare(i, found[j]);
    if (order < 0) {
      rows.emplace(wanted.PageOf(i), wanted.SlotOf(i));
      ++i;
    } else if (order > 0) {
      rows.emplace(found[j].page, found[j].slot);
      ++j;
    } else {
      ++i;
      ++j;
    }
    skipRepeats();
  }
  return rows.size();
}

// The entries of leaves that the leaf links reach from the leaves the tree reaches: a split cut
// short by a kill has written its new page and linked it to its neighbours before its parent
// names it (write-order rule 8), so its entries are found there. Unreadable pages end a chain.
void AddEntriesOfLinkedLeaves(const PageFile& pages, const FormatLayout& format, uint32_t root,
                              const IndexShape& shape, std::vector<IndexEntry>& found) {
  const IndexTree tree(pages, format, root);
  std::set<uint32_t> seen;
  std::vector<uint32_t> pending;
  uint32_t previous = 0;  // entries come a leaf at a time
  for (const WalkedEntry& walked : shape.entries)
    if (walked.leaf != std::exchange(previous, walked.leaf) && seen.insert(walked.leaf).second)
      pending.push_back(walked.leaf);
  const std::set<uint32_t> walkedLeaves = seen;
  while (!pending.empty() && seen.size() <= pages.PageCount()) {
    const uint32_t number = pending.back();
    pending.pop_back();
    IndexPage leaf;
    try {
      leaf = tree.ReadPage(number);
    } catch (const JetError&) {
      continue;
    }
    if (!leaf.leaf) continue;
    for (const uint32_t neighbour : {leaf.previous, leaf.next})
      if (neighbour != 0 && seen.insert(neighbour).second) pending.push_back(neighbour);
    if (!walkedLeaves.contains(number))
      found.insert(found.end(), leaf.entries.begin(), leaf.entries.end());
  }
}

}  // namespace

IndexRepair::IndexRepair(PageWriter& writer, PageAllocator& allocator, IndexWriter& indexWriter,
                         const FormatLayout& format, uint16_t codePage)
    : writer_(writer), allocator_(allocator), indexWriter_(indexWriter), format_(format), codePage_(codePage) {}

void IndexRepair::Repair(const TableLayout& table) {
  const PageFile& pages = writer_.Pages();
  const uint32_t owner = table.definition->definitionPage;
  // The layout is shared with the scan, which keeps it alive; the caller's outlives both.
  const std::shared_ptr<const TableLayout> shared(std::shared_ptr<const TableLayout>{}, &table);
  struct Rebuild {
    const PhysicalIndexLayout* index;
    std::vector<IndexEntry> entries;
  };
  std::vector<Rebuild> rebuilds;
  for (size_t n = 0; n < table.physicalIndexes.size(); ++n) {
    const PhysicalIndexLayout& index = table.physicalIndexes[n];
    std::optional<SortedEntries> wanted = EntriesOfRows(pages, format_, codePage_, shared, index);
    if (!wanted) continue;
    IndexShape shape;
    try {
      shape = CheckIndexShape(pages, format_, index.firstPage, owner);
    } catch (const JetError&) {
      ThrowIndexDamaged(NameOf(*table.definition, n), table.definition->name);
    }
    std::vector<IndexEntry> found;
    found.reserve(shape.entries.size());
    for (WalkedEntry& walked : shape.entries) found.push_back(std::move(walked.entry));
    const size_t walked = found.size();
    AddEntriesOfLinkedLeaves(pages, format_, index.firstPage, shape, found);
    // A sound tree walks its entries in order; only what a kill left needs sorting.
    if (found.size() != walked || !std::is_sorted(found.begin(), found.end(), EntryLess))
      std::sort(found.begin(), found.end(), EntryLess);
    const size_t rowsThatDiffer = RowsThatDiffer(found, *wanted);
    if (rowsThatDiffer > 1) ThrowIndexDamaged(NameOf(*table.definition, n), table.definition->name);
    if (rowsThatDiffer == 1 || !shape.problems.empty()) rebuilds.push_back(Rebuild{&index, wanted->Entries()});
  }
  // The usage maps must reach every page the rebuilds take (write-order rule 3).
  const IndexPageLayout& layout = IndexPageLayoutOf(format_);
  uint64_t newPages = 0;
  std::vector<RowPointer> maps;
  for (const Rebuild& rebuild : rebuilds) {
    uint32_t counted = 0;
    (void)BuildIndexPages(rebuild.entries, rebuild.index->firstPage, owner, layout, [&] { return ++counted; });
    newPages += counted;
    maps.push_back(rebuild.index->ownedPages);
  }
  if (!rebuilds.empty()) allocator_.CheckMapsReach(maps, newPages);
  // Everything is decided; now the writes.
  for (const Rebuild& rebuild : rebuilds) indexWriter_.Rebuild(*rebuild.index, owner, rebuild.entries);
}

}  // namespace Jet
