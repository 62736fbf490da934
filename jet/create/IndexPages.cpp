#include "jet/create/IndexPages.h"

#include <algorithm>

#include "jet/base/Failure.h"
#include "jet/create/IndexPlan.h"
#include "jet/index/IndexBuilder.h"

namespace Jet::Create {
namespace {

// An entry and whether every field of its key is Null (such keys may repeat in a unique index).
struct KeyedEntry {
  IndexEntry entry;
  bool allNull = false;
};

std::vector<KeyedEntry> SortedEntries(const PageSet& pages, const PhysicalIndexLayout& index,
                                      const std::vector<RowPlace>& rows, const RowKeys& keys) {
  const bool ignoreNulls = (index.flags & IndexFlag::kIgnoreNulls) != 0;
  std::vector<KeyedEntry> entries;
  entries.reserve(rows.size());
  for (const RowPlace& row : rows) {
    RowKey key = keys.KeyOf(index, pages.Page(row.page).subspan(row.offset, row.size));
    if (ignoreNulls && key.allNull) continue;
    entries.push_back(KeyedEntry{IndexEntry{std::move(key.bytes), row.page, static_cast<uint8_t>(row.slot), 0},
                                 key.allNull});
  }
  std::sort(entries.begin(), entries.end(),
            [](const KeyedEntry& a, const KeyedEntry& b) { return CompareEntries(a.entry, b.entry) < 0; });
  return entries;
}

}  // namespace

BuiltIndex WriteIndexPages(PageSet& pages, const PhysicalIndexLayout& index, uint32_t owner,
                           const std::vector<RowPlace>& rows, const RowKeys& keys,
                           const FormatLayout& format) {
  std::vector<KeyedEntry> keyed = SortedEntries(pages, index, rows, keys);
  const bool unique = (index.flags & IndexFlag::kUnique) != 0;
  BuiltIndex built;
  std::vector<IndexEntry> sorted;
  sorted.reserve(keyed.size());
  for (KeyedEntry& next : keyed) {
    const bool repeated = !sorted.empty() && next.entry.key == sorted.back().key;
    if (repeated && unique && !next.allNull) ThrowDuplicateKey();
    if (!repeated) ++built.distinctKeys;
    sorted.push_back(std::move(next.entry));
  }
  const auto tree = BuildIndexPages(sorted, index.firstPage, owner, IndexPageLayoutOf(format),
                                    [&pages] { return pages.Allocate(); });
  for (const auto& [number, bytes] : tree) {
    const MutableBytes page = pages.Page(number);
    std::copy(bytes.begin(), bytes.end(), page.begin());
    built.pages.push_back(number);
  }
  std::sort(built.pages.begin(), built.pages.end());
  return built;
}

}  // namespace Jet::Create
