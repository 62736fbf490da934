#include "jet/usagemap/UsageMap.h"

// A table definition names each of its usage maps by a 4-byte row pointer (slot, page) to a row
// of a page laid out like a data page. That row is the map:
//
//   0  1  map type: 0x00 inline, 0x01 indirect
//   inline:   1  4  the page that bit 0 stands for
//             5  .. bitmap: bit n (least significant bit of each byte first) set means page
//                   first + n belongs to the map
//   indirect: 1  .. 4-byte page numbers of usage map pages (0: none); map page k covers pages
//                   k * B to (k + 1) * B - 1, where B = (page size - 4) * 8
//
// Usage map page (type 0x05): 0 type, 1 0x01, 2 two unknown bytes, 4.. bitmap as above, with
// bit n standing for page k * B + n.
namespace Jet {
namespace {
constexpr uint8_t kInlineMap = 0x00;
constexpr uint8_t kIndirectMap = 0x01;
constexpr size_t kInlineBitmapStart = 5;
constexpr size_t kMapPageBitmapStart = 4;
}  // namespace

UsageMapCursor::UsageMapCursor(const PageFile& pages, const FormatLayout& layout, RowPointer where)
    : pages_(pages) {
  const DataPage holder(pages.Read(where.page), layout);
  const RowSlot slot = holder.Slot(where.slot);
  if (slot.deleted) ThrowCorrupt("a usage map row on " + PageText(where.page) + " is deleted");
  const ByteSpan row = holder.RowBytes(slot);
  row_.assign(row.begin(), row.end());
  const uint8_t type = ReadU8(row_, 0);
  if (type == kInlineMap) {
    inlineFirstPage_ = ReadU32(row_, 1);
    RequireBytes(row_, 0, kInlineBitmapStart);
  } else if (type == kIndirectMap) {
    indirect_ = true;
  } else {
    ThrowCorrupt("the usage map on " + PageText(where.page) + " has the unknown type " +
                 std::to_string(type));
  }
}

bool UsageMapCursor::NextInBitmap(ByteSpan bitmap, uint32_t firstPage, uint32_t& page) {
  const size_t bits = bitmap.size() * 8;
  while (bit_ < bits) {
    const uint8_t byte = bitmap[bit_ / 8];
    if ((byte >> (bit_ % 8)) == 0) {  // nothing left in this byte
      bit_ = (bit_ / 8 + 1) * 8;
      continue;
    }
    const size_t current = bit_++;
    if ((byte >> (current % 8)) & 1) {
      const uint64_t number = uint64_t{firstPage} + current;
      if (number > UINT32_MAX) return false;
      page = static_cast<uint32_t>(number);
      return true;
    }
  }
  return false;
}

bool UsageMapCursor::LoadNextMapPage() {
  while (mapEntry_ < (row_.size() - 1) / 4) {
    const uint32_t number = ReadU32(row_, 1 + 4 * mapEntry_);
    ++mapEntry_;
    if (number == 0) continue;
    mapPage_ = pages_.Read(number);
    if (mapPage_.Type() != kUsageMapPageType)
      ThrowCorrupt(PageText(number) + " should be a usage map page but is of type " +
                   std::to_string(mapPage_.Type()));
    bit_ = 0;
    return true;
  }
  return false;
}

bool UsageMapCursor::Next(uint32_t& page) {
  if (!indirect_) return NextInBitmap(ByteSpan(row_).subspan(kInlineBitmapStart), inlineFirstPage_, page);
  while (true) {
    if (mapPageLoaded_) {
      const ByteSpan bitmap = mapPage_.Bytes().subspan(kMapPageBitmapStart);
      const uint64_t first = uint64_t{mapEntry_ - 1} * bitmap.size() * 8;
      if (first > UINT32_MAX) return false;
      if (NextInBitmap(bitmap, static_cast<uint32_t>(first), page)) return true;
    }
    mapPageLoaded_ = LoadNextMapPage();
    if (!mapPageLoaded_) return false;
  }
}

}  // namespace Jet
