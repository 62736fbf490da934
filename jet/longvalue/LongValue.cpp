#include "jet/longvalue/LongValue.h"

#include <algorithm>
#include <set>

#include "jet/longvalue/LongValueFormat.h"

namespace Jet {

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
  const LongValueHeader header = ReadLongValueHeader(stored);
  const size_t length = header.length;
  if (header.form == LongValueForm::kInline) {
    const ByteSpan value = InlineLongValueBytes(stored, header.length);
    out.assign(value.begin(), value.end());
    return;
  }
  RowPointer where = header.first;
  Page holder;
  if (header.form == LongValueForm::kSingleRow) {
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
    if (row.size() < kLongValueChainPointerSize) ThrowCorrupt("a row of a long value's chain is too short");
    const ByteSpan piece = row.subspan(kLongValueChainPointerSize);
    const size_t take = std::min(piece.size(), length - out.size());
    out.insert(out.end(), piece.begin(), piece.begin() + static_cast<ptrdiff_t>(take));
    where = ReadRowPointer(row, 0);
  }
}

}  // namespace Jet
