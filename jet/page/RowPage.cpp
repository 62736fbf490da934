#include "jet/page/RowPage.h"

namespace Jet::Create {
namespace {

void StartFreeSpace(MutableBytes page) {
  PutU16(page, kFreeSpaceAt, static_cast<uint16_t>(page.size() - kRowPageHeaderSize));
}

// Where the row area ends: the start of the last row placed, or the end of the page.
size_t RowAreaEnd(std::span<const uint8_t> page) {
  const uint16_t count = RowCount(page);
  if (count == 0) return page.size();
  return RowStart(page, static_cast<uint16_t>(count - 1u));
}

}  // namespace

void StartDataPage(MutableBytes page, uint32_t owner) {
  PutDataPageStart(page, owner);
  StartFreeSpace(page);
}

void StartLongValuePage(MutableBytes page) {
  PutLongValuePageStart(page);
  StartFreeSpace(page);
}

uint16_t FreeSpace(std::span<const uint8_t> page) { return ReadU16(page, kFreeSpaceAt); }

uint16_t RowCount(std::span<const uint8_t> page) { return ReadU16(page, CreatorLayout().dataPageRowCount); }

size_t RowStart(std::span<const uint8_t> page, uint16_t slot) {
  return SlotStart(ReadU16(page, SlotEntryAt(CreatorLayout(), slot)));
}

bool RowFits(std::span<const uint8_t> page, size_t rowSize) {
  return RowCount(page) < kMaxRowsOnPage && rowSize + kSlotEntrySize <= FreeSpace(page);
}

std::optional<PlacedRow> AddRow(MutableBytes page, size_t rowSize) {
  if (!RowFits(page, rowSize)) return std::nullopt;
  const uint16_t slot = RowCount(page);
  const size_t start = RowAreaEnd(page) - rowSize;
  PutU16(page, SlotEntryAt(CreatorLayout(), slot), SlotEntry(start, 0));
  PutU16(page, CreatorLayout().dataPageRowCount, static_cast<uint16_t>(slot + 1));
  PutU16(page, kFreeSpaceAt, static_cast<uint16_t>(FreeSpace(page) - rowSize - kSlotEntrySize));
  return PlacedRow{slot, page.subspan(start, rowSize)};
}

}  // namespace Jet::Create
