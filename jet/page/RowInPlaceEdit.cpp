#include "jet/page/RowInPlaceEdit.h"

#include <cstring>

namespace Jet {

std::optional<RowInPlaceEdit> RowInPlaceEdit::Plan(ByteSpan page, const FormatLayout& layout, uint16_t slot,
                                                   size_t newSize) {
  if (page.size() != layout.pageSize || ReadU8(page, 0) != kDataPageType) return std::nullopt;
  const uint16_t count = ReadU16(page, layout.dataPageRowCount);
  const size_t rowAreaStart = SlotEntryAt(layout, count);
  if (slot >= count || rowAreaStart > page.size()) return std::nullopt;
  RowInPlaceEdit edit;
  edit.rowCountAt_ = layout.dataPageRowCount;
  edit.rowTable_ = layout.dataPageRowTable;
  edit.slot_ = slot;
  edit.slotCount_ = count;
  edit.rowAreaStart_ = rowAreaStart;
  edit.newSize_ = newSize;
  // Each slot's row ends where the one before it starts: the starts must not rise, and none may
  // reach into the slot table or past the page. (The whole slot table lies in the page.)
  const uint8_t* entries = page.data() + layout.dataPageRowTable;
  size_t end = page.size();
  for (uint16_t n = 0; n < count; ++n) {
    const size_t start = SlotStart(static_cast<uint16_t>(entries[2 * n] | (entries[2 * n + 1] << 8)));
    if (start > end || start < rowAreaStart) return std::nullopt;
    if (n == slot) {
      edit.start_ = start;
      edit.end_ = end;
    }
    end = start;
  }
  edit.lowest_ = end;
  const size_t oldSize = edit.end_ - edit.start_;
  edit.fits_ = newSize <= oldSize || newSize - oldSize <= edit.lowest_ - rowAreaStart;
  return edit;
}

void RowInPlaceEdit::Apply(MutableBytes page, ByteSpan row, std::optional<uint16_t> flags) const {
  const ByteSpan bytes = page;
  const size_t slotEntry = rowTable_ + kSlotEntrySize * slot_;
  const size_t lastEntry = rowTable_ + kSlotEntrySize * (slotCount_ - 1u);
  if (!fits_ || row.size() != newSize_ || page.size() < end_ || ReadU16(bytes, rowCountAt_) != slotCount_ ||
      SlotStart(ReadU16(bytes, slotEntry)) != start_ || SlotStart(ReadU16(bytes, lastEntry)) != lowest_)
    ThrowCorrupt("a data page changed between the planning and the writing of a row");
  const size_t newStart = end_ - newSize_;
  size_t newLowest = lowest_;
  if (newStart != start_) {
    // The rows below move by the difference, their entries with them.
    newLowest = lowest_ + newStart - start_;
    std::memmove(page.data() + newLowest, page.data() + lowest_, start_ - lowest_);
    if (newLowest > lowest_) std::memset(page.data() + lowest_, 0, newLowest - lowest_);
    for (size_t n = slot_; n < slotCount_; ++n) {
      const size_t at = rowTable_ + kSlotEntrySize * n;
      const uint16_t entry = ReadU16(bytes, at);
      PutU16(page, at, SlotEntry(SlotStart(entry) + newStart - start_, SlotFlags(entry)));
    }
  }
  PutU16(page, kFreeSpaceAt, static_cast<uint16_t>(newLowest - rowAreaStart_));
  if (flags) PutU16(page, slotEntry, SlotEntry(newStart, *flags));
  if (!row.empty()) std::memcpy(page.data() + newStart, row.data(), row.size());
}

}  // namespace Jet
