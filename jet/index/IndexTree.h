#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "jet/file/FormatLayout.h"
#include "jet/file/PageFile.h"
#include "jet/index/IndexFormat.h"
#include "jet/index/IndexPage.h"

// Reading one index's tree: from its root page through node pages (each entry's child, then the
// tail) down to the leaves. Pages are read through the page file, so pages the writer wrote this
// session are seen. Index pages are only ever found from a root: files keep stale index pages
// that no root reaches.
namespace Jet {

// The deepest tree the reader walks; Access's trees are far shallower.
constexpr size_t kMaxIndexDepth = 16;

// One index's tree, read from its root page.
class IndexTree {
 public:
  IndexTree(const PageFile& pages, const FormatLayout& format, uint32_t root);

  uint32_t Root() const { return root_; }

  // Visits the leaf entries in index order; `visit` returning false stops the walk. Throws
  // kCorrupt (naming the page) for a page that is not an index page, a page reached twice, a
  // tree deeper than kMaxIndexDepth or more pages than the file holds.
  void ForEachEntry(const std::function<bool(const IndexEntry&)>& visit) const;
  // The first leaf entry not below `probe` (key, then row), or none.
  std::optional<IndexEntry> LowerBound(const IndexEntry& probe) const;
  // Whether some leaf entry has exactly these key bytes.
  bool HasKey(std::span<const uint8_t> key) const;
  // The pages from the root down to the leaf where `probe` belongs.
  std::vector<uint32_t> PathTo(const IndexEntry& probe) const;

  // The decoded page; kCorrupt when it is not an index page.
  IndexPage ReadPage(uint32_t number) const;

 private:
  // Descends from the root to the leaf where `probe` belongs, filling `path`; returns the leaf.
  IndexPage Descend(const IndexEntry& probe, std::vector<uint32_t>& path) const;

  const PageFile& pages_;
  const IndexPageLayout& layout_;
  uint32_t root_;
};

}  // namespace Jet
