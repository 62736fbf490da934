#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "jet/longvalue/LongValueFormat.h"
#include "jet/schema/TableLayout.h"
#include "jet/usagemap/PageAllocator.h"

// Places long values (Memo and OLE object data) in long-value pages and frees them again (the
// stored forms are described in LongValueFormat.h). New rows go to this session's current long-value
// page while it has room, else to a new page; a column with usage maps of its own gets its new
// pages recorded there.
namespace Jet {

class LongValueStore {
 public:
  LongValueStore(PageWriter& writer, PageAllocator& allocator, const FormatLayout& layout)
      : writer_(writer), allocator_(allocator), layout_(layout) {}

  // Writes `data` to long-value pages (one row, or a chain of rows for data longer than a row
  // can hold) and returns the 12-byte header the row stores. Nothing points to the rows yet.
  std::vector<uint8_t> Place(std::span<const uint8_t> data, const ColumnUsageMaps* columnMaps);

  // Deletes the long-value rows of the value whose stored header is `stored` (nothing for a
  // value in the row) and releases pages left with no live row.
  void Free(ByteSpan stored, const ColumnUsageMaps* columnMaps);

 private:
  RowPointer AddRow(std::vector<uint8_t> row, const ColumnUsageMaps* columnMaps);
  void DeleteRow(RowPointer where, const ColumnUsageMaps* columnMaps);

  PageWriter& writer_;
  PageAllocator& allocator_;
  const FormatLayout& layout_;
  std::optional<uint32_t> current_;  // the long-value page new rows go to first
};

}  // namespace Jet
