#include "jet/page/DataPage.h"

#include <cstring>

// Data page layout (Jet4 and ACE; Jet3 lacks the four unknown bytes at 8, so its row count sits
// at 8 and its row offset table at 10):
//
//    0  1  page type 0x01
//    1  1  0x01
//    2  2  free space
//    4  4  page of the owning table definition; the bytes "LVAL" on long-value pages
//    8  4  unknown
//   12  2  number of slots
//   14  2n row offset table, one entry a slot: bits 0-12 the row's start in the page,
//          0x4000 the row was moved and holds a pointer to its new home, 0x8000 deleted
//
// Rows grow from the end of the page downwards: slot 0 ends at the end of the page and each
// later slot ends where the one before it starts.
namespace Jet {
namespace {
constexpr uint16_t kOffsetMask = 0x1FFF;
constexpr uint16_t kDeletedFlag = 0x8000;
constexpr uint16_t kOverflowFlag = 0x4000;
constexpr size_t kOwnerOffset = 4;
}  // namespace

DataPage::DataPage(Page page, const FormatLayout& layout) : page_(std::move(page)), layout_(&layout) {
  if (page_.Type() != kDataPageType)
    ThrowCorrupt(PageText(page_.Number()) + " should be a data page but is of type " +
                 std::to_string(page_.Type()));
  rowCount_ = ReadU16(page_.Bytes(), layout_->dataPageRowCount);
  const size_t tableEnd = layout_->dataPageRowTable + 2 * static_cast<size_t>(rowCount_);
  if (tableEnd > page_.Bytes().size())
    ThrowCorrupt("the row count of " + PageText(page_.Number()) + " does not fit the page");
}

uint32_t DataPage::OwnerPage() const { return ReadU32(page_.Bytes(), kOwnerOffset); }

bool DataPage::IsLongValuePage() const {
  return std::memcmp(page_.Bytes().data() + kOwnerOffset, "LVAL", 4) == 0;
}

RowSlot DataPage::Slot(uint16_t slot) const {
  if (slot >= rowCount_)
    ThrowCorrupt("a row pointer names slot " + std::to_string(slot) + " of " +
                 PageText(page_.Number()) + ", which has " + std::to_string(rowCount_));
  const ByteSpan bytes = page_.Bytes();
  const uint16_t entry = ReadU16(bytes, layout_->dataPageRowTable + 2 * size_t{slot});
  RowSlot result;
  result.start = entry & kOffsetMask;
  result.deleted = (entry & kDeletedFlag) != 0;
  result.overflow = (entry & kOverflowFlag) != 0;
  result.end = slot == 0 ? static_cast<uint16_t>(bytes.size())
                         : ReadU16(bytes, layout_->dataPageRowTable + 2 * size_t{slot - 1u}) & kOffsetMask;
  const size_t rowAreaStart = layout_->dataPageRowTable + 2 * size_t{rowCount_};
  if (!result.deleted && (result.start < rowAreaStart || result.start > result.end ||
                          result.end > bytes.size()))
    ThrowCorrupt("the row in slot " + std::to_string(slot) + " of " + PageText(page_.Number()) +
                 " lies outside the page's row area");
  return result;
}

ByteSpan DataPage::RowBytes(const RowSlot& slot) const {
  return Slice(page_.Bytes(), slot.start, static_cast<size_t>(slot.end) - slot.start);
}

RowPointer ReadRowPointer(ByteSpan bytes, size_t offset) {
  return RowPointer{ReadU24(bytes, offset + 1), ReadU8(bytes, offset)};
}

}  // namespace Jet
