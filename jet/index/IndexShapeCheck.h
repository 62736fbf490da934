#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "jet/file/FormatLayout.h"
#include "jet/file/PageFile.h"
#include "jet/index/IndexFormat.h"

// Checking the pages of one index's tree without trusting them: every page reached from the root
// is an index page of the owning table, reached once, no deeper than kMaxIndexDepth; entries
// strictly increase within each page and from leaf to leaf; each node entry equals the last entry
// below its child; the leaves link to each other in order. Damage is reported, never thrown, and
// the walk goes on where it can.
namespace Jet {

// One thing wrong on one page.
struct PageProblem {
  uint32_t page = 0;
  std::string what;
};

// A leaf entry and the page it sits on.
struct WalkedEntry {
  IndexEntry entry;
  uint32_t leaf = 0;
};

// What walking one tree found.
struct IndexShape {
  std::vector<WalkedEntry> entries;  // the leaf entries in walk order
  size_t pages = 0;                  // index pages walked
  std::vector<PageProblem> problems;
};

// Walks the tree rooted at `root`, whose pages must name `owner` (the table definition's page).
IndexShape CheckIndexShape(const PageFile& pages, const FormatLayout& format, uint32_t root, uint32_t owner);

// Key bytes as hex for messages ("0A 7F ..."), the first 24 bytes at most.
std::string KeyText(const std::vector<uint8_t>& key);

}  // namespace Jet
