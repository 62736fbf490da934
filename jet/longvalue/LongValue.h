#pragma once

#include <cstdint>
#include <vector>

#include "jet/page/DataPage.h"

// Reads Memo and OLE object values, which live in the row, in one row of a long-value page or in
// a chain of such rows.
namespace Jet {

class LongValueReader {
 public:
  LongValueReader(const PageFile& pages, const FormatLayout& layout) : pages_(pages), layout_(layout) {}
  // Replaces `out` with the value whose header is `stored` (the column's bytes in the row).
  void Read(ByteSpan stored, std::vector<uint8_t>& out) const;

 private:
  ByteSpan RowOf(RowPointer where, Page& holder) const;

  const PageFile& pages_;
  const FormatLayout& layout_;
};

}  // namespace Jet
