#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "jet/file/FormatLayout.h"
#include "jet/file/PageFile.h"
#include "jet/schema/TableLayout.h"

// Checking a table's indexes against their pages and the table's rows: the tree's shape (index
// pages owned by the table, entries in order within and across pages, node entries equal to
// their child's last entry, leaf links, no page reached twice) and its content (one entry per
// row with the row's key, unique indexes without duplicates).
namespace Jet {

// One thing wrong with an index.
struct IndexProblem {
  std::u16string index;  // the logical index name(s) of the physical index, joined by ", "
  uint32_t page = 0;     // the page where it shows (the root when it concerns the whole index)
  std::string what;      // in plain English
};

// What checking one table's indexes found.
struct IndexCheckReport {
  std::vector<IndexProblem> problems;
  // Indexes whose rows could not be compared with their entries (a sort order or column type
  // the key encoder does not handle): `what` says "not checked: <reason>". Not damage.
  std::vector<IndexProblem> notChecked;
  size_t indexes = 0;  // physical indexes checked
  size_t entries = 0;  // leaf entries walked
  size_t pages = 0;    // index pages walked
};

IndexCheckReport CheckTableIndexes(const PageFile& pages, const FormatLayout& format, uint16_t codePage,
                                   const TableLayout& table);

// The problems CheckTableIndexes finds.
std::vector<IndexProblem> CheckIndexes(const PageFile& pages, const FormatLayout& format, uint16_t codePage,
                                       const TableLayout& table);

}  // namespace Jet
