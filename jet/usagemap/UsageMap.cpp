#include "jet/usagemap/UsageMap.h"

#include "jet/usagemap/UsageMapFormat.h"

namespace Jet {

UsageMapCursor::UsageMapCursor(const PageFile& pages, const FormatLayout& layout, RowPointer where)
    : pages_(pages) {
  const DataPage holder(pages.Read(where.page), layout);
  const RowSlot slot = holder.Slot(where.slot);
  if (slot.deleted) ThrowCorrupt("a usage map row on " + PageText(where.page) + " is deleted");
  const ByteSpan row = holder.RowBytes(slot);
  row_.assign(row.begin(), row.end());
  const uint8_t type = ReadU8(row_, kMapTypeAt);
  if (type == kInlineMap) {
    inlineFirstPage_ = ReadU32(row_, kInlineFirstPageAt);
    RequireBytes(row_, 0, kInlineBitmapAt);
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
  while (mapEntry_ < IndirectMapEntries(row_.size())) {
    const uint32_t number = ReadU32(row_, IndirectEntryAt(mapEntry_));
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
  if (!indirect_) return NextInBitmap(ByteSpan(row_).subspan(kInlineBitmapAt), inlineFirstPage_, page);
  while (true) {
    if (mapPageLoaded_) {
      const ByteSpan bitmap = mapPage_.Bytes().subspan(kMapPageBitmapAt);
      const uint64_t first = uint64_t{mapEntry_ - 1} * bitmap.size() * 8;
      if (first > UINT32_MAX) return false;
      if (NextInBitmap(bitmap, static_cast<uint32_t>(first), page)) return true;
    }
    mapPageLoaded_ = LoadNextMapPage();
    if (!mapPageLoaded_) return false;
  }
}

}  // namespace Jet
