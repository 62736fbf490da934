#include "jet/write/IndexRepair.h"

#include <algorithm>
#include <optional>
#include <set>

#include "jet/base/Failure.h"
#include "jet/index/IndexBuilder.h"
#include "jet/index/IndexShapeCheck.h"
#include "jet/index/IndexTree.h"
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
std::optional<std::vector<IndexEntry>> EntriesOfRows(const PageFile& pages, const FormatLayout& format,
                                                     uint16_t codePage, const std::shared_ptr<const TableLayout>& table,
                                                     const PhysicalIndexLayout& index) {
  const TextCodec codec = format.jet3 ? TextCodec(codePage) : TextCodec();
  const RowKeys keys(pages, format, codePage, *table);
  const RowLocator locator(pages, format, table->definition->definitionPage);
  TableScan scan(ScanContext{pages, format, codec}, table);
  std::vector<IndexEntry> entries;
  try {
    while (scan.Next()) {
      const RowId id = scan.Id();
      RowKey key = keys.KeyOf(index, locator.Locate(RowPointer{id.page, id.slot}).bytes);
      if (key.allNull && (index.flags & IndexFlag::kIgnoreNulls) != 0) continue;
      entries.push_back(IndexEntry{std::move(key.bytes), id.page, static_cast<uint8_t>(id.slot), 0});
    }
  } catch (const JetError& refusal) {
    if (refusal.Number() == JetErrorNumber::kNotSupported) return std::nullopt;
    throw;
  }
  std::sort(entries.begin(), entries.end(), EntryLess);
  return entries;
}

// The rows (page, slot) whose entries differ between the two sorted lists.
std::set<std::pair<uint32_t, uint8_t>> RowsThatDiffer(const std::vector<IndexEntry>& found,
                                                      const std::vector<IndexEntry>& wanted) {
  std::vector<IndexEntry> differ;
  std::set_symmetric_difference(found.begin(), found.end(), wanted.begin(), wanted.end(), std::back_inserter(differ),
                                EntryLess);
  std::set<std::pair<uint32_t, uint8_t>> rows;
  for (const IndexEntry& entry : differ) rows.emplace(entry.page, entry.slot);
  return rows;
}

// The entries of leaves that the leaf links reach from the leaves the tree reaches: a split cut
// short by a kill has written its new page and linked it to its neighbours before its parent
// names it (write-order rule 8), so its entries are found there. Unreadable pages end a chain.
void AddEntriesOfLinkedLeaves(const PageFile& pages, const FormatLayout& format, uint32_t root,
                              const IndexShape& shape, std::vector<IndexEntry>& found) {
  const IndexTree tree(pages, format, root);
  std::set<uint32_t> seen;
  std::vector<uint32_t> pending;
  for (const WalkedEntry& walked : shape.entries)
    if (seen.insert(walked.leaf).second) pending.push_back(walked.leaf);
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
    std::optional<std::vector<IndexEntry>> wanted = EntriesOfRows(pages, format_, codePage_, shared, index);
    if (!wanted) continue;
    IndexShape shape;
    try {
      shape = CheckIndexShape(pages, format_, index.firstPage, owner);
    } catch (const JetError&) {
      ThrowIndexDamaged(NameOf(*table.definition, n), table.definition->name);
    }
    std::vector<IndexEntry> found;
    found.reserve(shape.entries.size());
    for (const WalkedEntry& walked : shape.entries) found.push_back(walked.entry);
    AddEntriesOfLinkedLeaves(pages, format_, index.firstPage, shape, found);
    std::sort(found.begin(), found.end(), EntryLess);
    found.erase(std::unique(found.begin(), found.end(), SameRowAndKey), found.end());
    const size_t rowsThatDiffer = RowsThatDiffer(found, *wanted).size();
    if (rowsThatDiffer > 1) ThrowIndexDamaged(NameOf(*table.definition, n), table.definition->name);
    if (rowsThatDiffer == 1 || !shape.problems.empty()) rebuilds.push_back(Rebuild{&index, std::move(*wanted)});
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
