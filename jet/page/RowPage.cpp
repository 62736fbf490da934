#include "jet/page/RowPage.h"

#include <cstring>

#include "jet/base/ByteReader.h"

namespace Jet::Create {
namespace {

constexpr uint8_t kDataPageType = 0x01;
constexpr size_t kFreeSpaceAt = 2;
constexpr size_t kOwnerAt = 4;
constexpr size_t kRowCountAt = 12;
constexpr size_t kOffsetEntrySize = 2;

void StartRowPage(MutableBytes page) {
  PutU8(page, 0, kDataPageType);
  PutU8(page, 1, 0x01);
  PutU16(page, kFreeSpaceAt, static_cast<uint16_t>(page.size() - kRowPageHeaderSize));
}

// Where the row area ends: the start of the last row placed, or the end of the page.
size_t RowAreaEnd(std::span<const uint8_t> page) {
  const uint16_t count = RowCount(page);
  if (count == 0) return page.size();
  return ReadU16(page, kRowPageHeaderSize + kOffsetEntrySize * (count - 1u)) & 0x1FFF;
}

}  // namespace

void StartDataPage(MutableBytes page, uint32_t owner) {
  StartRowPage(page);
  PutU32(page, kOwnerAt, owner);
}

void StartLongValuePage(MutableBytes page) {
  StartRowPage(page);
  std::memcpy(page.data() + kOwnerAt, "LVAL", 4);
}

uint16_t FreeSpace(std::span<const uint8_t> page) { return ReadU16(page, kFreeSpaceAt); }

uint16_t RowCount(std::span<const uint8_t> page) { return ReadU16(page, kRowCountAt); }

bool RowFits(std::span<const uint8_t> page, size_t rowSize) {
  return RowCount(page) < kMaxRowsOnPage && rowSize + kOffsetEntrySize <= FreeSpace(page);
}

std::optional<PlacedRow> AddRow(MutableBytes page, size_t rowSize) {
  if (!RowFits(page, rowSize)) return std::nullopt;
  const uint16_t slot = RowCount(page);
  const size_t start = RowAreaEnd(page) - rowSize;
  PutU16(page, kRowPageHeaderSize + kOffsetEntrySize * slot, static_cast<uint16_t>(start));
  PutU16(page, kRowCountAt, static_cast<uint16_t>(slot + 1));
  PutU16(page, kFreeSpaceAt, static_cast<uint16_t>(FreeSpace(page) - rowSize - kOffsetEntrySize));
  return PlacedRow{slot, page.subspan(start, rowSize)};
}

}  // namespace Jet::Create
