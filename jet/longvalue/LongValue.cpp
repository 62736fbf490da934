#include "jet/longvalue/LongValue.h"

#include <algorithm>
#include <set>

// A long value's header in the row:
//
//   0  4  bits 0-29 the value's length; bits 30-31 where it is:
//           0x80000000  in the row, right after this header
//           0x40000000  the whole of one row of a long-value page
//           0x00000000  a chain of rows of long-value pages
//   4  4  row pointer (slot, 3-byte page) to that row or the chain's first row
//   8  4  unknown
//   12 .. the value itself when it is in the row
//
// Each row of a chain starts with the row pointer of the next one (page 0 after the last) and
// holds the next piece of the value. Long-value pages are laid out like data pages, with "LVAL"
// where a data page names its table.
namespace Jet {
namespace {
constexpr uint32_t kLengthMask = 0x3FFFFFFF;
constexpr uint32_t kInRow = 0x80000000;
constexpr uint32_t kOneRow = 0x40000000;
constexpr size_t kHeaderSize = 12;
constexpr size_t kPointerSize = 4;
}  // namespace

ByteSpan LongValueReader::RowOf(RowPointer where, Page& holder) const {
  const DataPage page(pages_.Read(where.page), layout_);
  const RowSlot slot = page.Slot(where.slot);
  if (slot.deleted)
    ThrowCorrupt("a long value points to a deleted row on " + PageText(where.page));
  holder = page.Source();
  return page.RowBytes(slot);
}

void LongValueReader::Read(ByteSpan stored, std::vector<uint8_t>& out) const {
  out.clear();
  const uint32_t word = ReadU32(stored, 0);
  const size_t length = word & kLengthMask;
  if (word & kInRow) {
    const ByteSpan value = stored.subspan(std::min(stored.size(), kHeaderSize));
    out.assign(value.begin(), value.begin() + static_cast<ptrdiff_t>(std::min(length, value.size())));
    return;
  }
  RowPointer where = ReadRowPointer(stored, 4);
  Page holder;
  if (word & kOneRow) {
    const ByteSpan value = RowOf(where, holder);
    out.assign(value.begin(), value.begin() + static_cast<ptrdiff_t>(std::min(length, value.size())));
    return;
  }
  // A chain can be no longer than the file's pages can hold; never trust the length for more.
  out.reserve(std::min(length, size_t{pages_.PageCount()} * pages_.PageSize()));
  std::set<std::pair<uint32_t, uint16_t>> visited;
  while (out.size() < length) {
    if (where.page == 0) ThrowCorrupt("a long value's chain ends before the value is complete");
    if (!visited.insert({where.page, where.slot}).second)
      ThrowCorrupt("a long value's chain loops back to " + PageText(where.page));
    const ByteSpan row = RowOf(where, holder);
    if (row.size() < kPointerSize) ThrowCorrupt("a row of a long value's chain is too short");
    const ByteSpan piece = row.subspan(kPointerSize);
    const size_t take = std::min(piece.size(), length - out.size());
    out.insert(out.end(), piece.begin(), piece.begin() + static_cast<ptrdiff_t>(take));
    where = ReadRowPointer(row, 0);
  }
}

}  // namespace Jet
