#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "jet/index/IndexPage.h"

// A whole index tree walked page by page and checked the way the writer must leave it: entries in
// order, each node entry a copy of its child's last entry (the tail has none; a node page with
// one child holds it as a plain entry), every page of a level linked to its neighbours, all
// leaves on one level, every page naming the table definition.
namespace Jet::Testing {

// The pages of one tree by level and its leaf entries, read through `read`.
struct TreePages {
  std::vector<std::vector<uint32_t>> levels;  // [0]: the root's level, the leaves last
  std::vector<IndexEntry> entries;            // the leaf entries, left to right
  std::map<uint32_t, IndexPage> pages;

  size_t Levels() const { return levels.size(); }
  std::set<uint32_t> PagesBelowRoot() const {
    std::set<uint32_t> below;
    for (size_t level = 1; level < levels.size(); ++level) below.insert(levels[level].begin(), levels[level].end());
    return below;
  }
};

using PageReader = std::function<std::vector<uint8_t>(uint32_t)>;

namespace TreePagesDetail {

// Walks the subtree of `number` on `level`, returning its last leaf entry (none for an empty root
// leaf); records failures with gtest.
inline std::optional<IndexEntry> Walk(const PageReader& read, const IndexPageLayout& layout, uint32_t owner,
                                      uint32_t number, size_t level, TreePages& shape) {
  if (level > 16 || shape.pages.contains(number)) {
    ADD_FAILURE() << "page " << number << " reached twice or too deep";
    return std::nullopt;
  }
  const IndexPage page = DecodeIndexPage(read(number), number, layout);
  shape.pages[number] = page;
  if (shape.levels.size() <= level) shape.levels.resize(level + 1);
  shape.levels[level].push_back(number);
  EXPECT_EQ(page.owner, owner) << "page " << number;
  if (page.leaf) {
    shape.entries.insert(shape.entries.end(), page.entries.begin(), page.entries.end());
    if (page.entries.empty()) return std::nullopt;
    return page.entries.back();
  }
  EXPECT_FALSE(page.entries.empty()) << "node page " << number << " has no entries";
  EXPECT_TRUE(page.tail != 0 || page.entries.size() == 1)
      << "node page " << number << ": one child is a plain entry, several end in a tail";
  std::optional<IndexEntry> last;
  for (const IndexEntry& entry : page.entries) {
    last = Walk(read, layout, owner, entry.child, level + 1, shape);
    EXPECT_TRUE(last && SameRowAndKey(*last, entry)) << "the entry for child " << entry.child << " of page " << number
                                                    << " is not the child's last entry";
  }
  if (page.tail != 0) last = Walk(read, layout, owner, page.tail, level + 1, shape);
  return last;
}

}  // namespace TreePagesDetail

// Reads and checks the tree at `root`.
inline TreePages TreePagesOf(const PageReader& read, const IndexPageLayout& layout, uint32_t root, uint32_t owner) {
  TreePages shape;
  TreePagesDetail::Walk(read, layout, owner, root, 0, shape);
  for (size_t i = 1; i < shape.entries.size(); ++i)
    EXPECT_TRUE(CompareEntries(shape.entries[i - 1], shape.entries[i]) < 0) << "leaf entries out of order at " << i;
  for (size_t level = 0; level < shape.levels.size(); ++level) {
    const std::vector<uint32_t>& pages = shape.levels[level];
    for (size_t i = 0; i < pages.size(); ++i) {
      const IndexPage& page = shape.pages.at(pages[i]);
      EXPECT_EQ(page.leaf, level + 1 == shape.levels.size()) << "page " << pages[i] << " on the wrong level";
      EXPECT_EQ(page.previous, i == 0 ? 0 : pages[i - 1]) << "page " << pages[i] << "'s previous page";
      EXPECT_EQ(page.next, i + 1 == pages.size() ? 0 : pages[i + 1]) << "page " << pages[i] << "'s next page";
      if (pages[i] != root) EXPECT_FALSE(page.entries.empty() && page.tail == 0) << "empty page " << pages[i];
    }
  }
  return shape;
}

}  // namespace Jet::Testing
