#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "jet/index/IndexFormat.h"

// Builds one index's whole tree from its entries: what the creator writes for a new table's index
// and what rebuilds an index from its table's rows. Leaves are filled to about nine tenths of
// their room (kIndexBuildFillTenths) so that the next inserts into a built tree do not split a page at
// once; node levels above them hold each child's last entry, the last child as the tail.
namespace Jet {

// How full the builder fills a page, in tenths of its room.
constexpr size_t kIndexBuildFillTenths = 9;

// The pages of a tree holding `sorted` (entries in CompareEntries order, no two equal; their
// `child` is ignored), as (page number, whole page bytes): the root on page `root` (an empty
// index: an empty leaf), every other page numbered by `newPage`, called once for each page in the
// order they are listed. Every page names `owner` (the table definition's page). Pages of a level
// are linked to their neighbours across the whole level; a node page with one child holds it as a
// plain entry with tail 0. Pages are listed leaves first, then each node level, the root last: a
// page comes before every page that points to it. Throws kNotSupported for an entry too long for
// any page.
std::vector<std::pair<uint32_t, std::vector<uint8_t>>> BuildIndexPages(const std::vector<IndexEntry>& sorted,
                                                                       uint32_t root, uint32_t owner,
                                                                       const IndexPageLayout& layout,
                                                                       const std::function<uint32_t()>& newPage);

}  // namespace Jet
