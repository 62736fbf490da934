#include "jet/page/DataPage.h"

namespace Jet {

DataPage::DataPage(Page page, const FormatLayout& layout) : page_(std::move(page)), layout_(&layout) {
  if (page_.Type() != kDataPageType)
    ThrowCorrupt(PageText(page_.Number()) + " should be a data page but is of type " +
                 std::to_string(page_.Type()));
  rowCount_ = ReadU16(page_.Bytes(), layout_->dataPageRowCount);
  if (SlotEntryAt(*layout_, rowCount_) > page_.Bytes().size())
    ThrowCorrupt("the row count of " + PageText(page_.Number()) + " does not fit the page");
}

uint32_t DataPage::OwnerPage() const { return OwnerOf(page_.Bytes()); }

bool DataPage::IsLongValuePage() const { return HoldsLongValues(page_.Bytes()); }

RowSlot DataPage::Slot(uint16_t slot) const {
  if (slot >= rowCount_)
    ThrowCorrupt("a row pointer names slot " + std::to_string(slot) + " of " +
                 PageText(page_.Number()) + ", which has " + std::to_string(rowCount_));
  const ByteSpan bytes = page_.Bytes();
  const uint16_t entry = ReadU16(bytes, SlotEntryAt(*layout_, slot));
  RowSlot result;
  result.start = SlotStart(entry);
  result.deleted = (entry & RowFlag::kDeleted) != 0;
  result.moved = (entry & RowFlag::kMoved) != 0;
  result.end = slot == 0 ? static_cast<uint16_t>(bytes.size())
                         : SlotStart(ReadU16(bytes, SlotEntryAt(*layout_, slot - 1u)));
  const size_t rowAreaStart = SlotEntryAt(*layout_, rowCount_);
  if (!result.deleted && (result.start < rowAreaStart || result.start > result.end ||
                          result.end > bytes.size()))
    ThrowCorrupt("the row in slot " + std::to_string(slot) + " of " + PageText(page_.Number()) +
                 " lies outside the page's row area");
  return result;
}

ByteSpan DataPage::RowBytes(const RowSlot& slot) const {
  return Slice(page_.Bytes(), slot.start, static_cast<size_t>(slot.end) - slot.start);
}

}  // namespace Jet
