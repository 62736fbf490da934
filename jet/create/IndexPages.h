#pragma once

#include <cstdint>
#include <vector>

#include "jet/file/PageSet.h"
#include "jet/index/RowKeys.h"
#include "jet/schema/TableLayout.h"

// Builds the pages of one index of a new table once all its rows are in: every row's key, the
// entries in index order, the tree on the index's root page and on new pages of the page set.
namespace Jet::Create {

// Where the creator placed a row: its page and slot, and its bytes' place on the page.
struct RowPlace {
  uint32_t page = 0;
  uint16_t slot = 0;
  uint16_t offset = 0;
  uint16_t size = 0;
};

// The pages an index was built on and how many distinct keys it holds.
struct BuiltIndex {
  std::vector<uint32_t> pages;  // ascending, the root among them
  uint32_t distinctKeys = 0;
};

// Writes the tree of `index` (its root page allocated, `owner` the table definition's page) for
// `rows`, keyed by `keys`. A row whose index fields are all Null has no entry when the index
// ignores nulls. Throws JetError 3022 when the index is unique and two rows share a key that is
// not all Null.
BuiltIndex WriteIndexPages(PageSet& pages, const PhysicalIndexLayout& index, uint32_t owner,
                           const std::vector<RowPlace>& rows, const RowKeys& keys,
                           const FormatLayout& format);

}  // namespace Jet::Create
