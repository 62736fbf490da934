#include "jet/usagemap/UsageMapWriter.h"

#include "jet/base/ByteReader.h"
#include "jet/page/RowPage.h"
#include "jet/usagemap/UsageMapFormat.h"

namespace Jet::Create {
namespace {

constexpr size_t kInlinePages = InlineMapPages(kUsageMapRowSize);
constexpr size_t kIndirectEntries = IndirectMapEntries(kUsageMapRowSize);

void SetBit(MutableBytes bitmap, size_t bit) { SetMapBit(bitmap, bit, true); }

uint32_t AllocateMapPage(PageSet& pages) {
  const uint32_t number = pages.Allocate();
  StartMapPage(pages.Page(number));
  return number;
}

[[noreturn]] void ThrowTooLarge() {
  ThrowNotSupported("The database would be larger than its usage maps can cover.");
}

}  // namespace

RowPointer UsageMapRows::Reserve() {
  if (holder_ == 0 || !RowFits(pages_.Page(holder_), kUsageMapRowSize)) {
    holder_ = pages_.Allocate();
    StartDataPage(pages_.Page(holder_), 0);
  }
  const PlacedRow row = *AddRow(pages_.Page(holder_), kUsageMapRowSize);
  return RowPointer{holder_, row.slot};
}

MutableBytes UsageMapRows::RowAt(RowPointer where) {
  const MutableBytes page = pages_.Page(where.page);
  return page.subspan(RowStart(page, where.slot), kUsageMapRowSize);
}

void UsageMapRows::Write(RowPointer where, const std::vector<uint32_t>& owned) {
  const MutableBytes row = RowAt(where);
  std::fill(row.begin(), row.end(), 0);
  if (!owned.empty() && owned.back() - owned.front() >= kInlinePages) {
    WriteIndirect(row, owned);
    return;
  }
  const uint32_t first = owned.empty() ? 0 : owned.front();
  PutU8(row, kMapTypeAt, kInlineMap);
  PutU32(row, kInlineFirstPageAt, first);
  for (const uint32_t page : owned) SetBit(row.subspan(kInlineBitmapAt), page - first);
}

void UsageMapRows::WriteIndirect(MutableBytes row, const std::vector<uint32_t>& owned) {
  const size_t perMapPage = PagesPerMapPage(pages_.PageSize());
  if (owned.back() / perMapPage >= kIndirectEntries)
    ThrowTooLarge();
  PutU8(row, kMapTypeAt, kIndirectMap);
  uint32_t mapPage = 0;
  size_t entry = kIndirectEntries;
  for (const uint32_t page : owned) {
    if (page / perMapPage != entry) {
      entry = page / perMapPage;
      mapPage = AllocateMapPage(pages_);
      PutU32(row, IndirectEntryAt(entry), mapPage);
    }
    SetBit(pages_.Page(mapPage).subspan(kMapPageBitmapAt), page % perMapPage);
  }
}

void UsageMapRows::WriteGlobal(RowPointer where) {
  const MutableBytes row = RowAt(where);
  std::fill(row.begin(), row.end(), 0);
  if (pages_.Count() <= kInlinePages) {
    PutU8(row, kMapTypeAt, kInlineMap);
    for (size_t page = pages_.Count(); page < kInlinePages; ++page) SetBit(row.subspan(kInlineBitmapAt), page);
    return;
  }
  // An indirect map: its own map pages come last, then every page after them is free.
  const size_t perMapPage = PagesPerMapPage(pages_.PageSize());
  size_t mapPages = 1;
  while ((pages_.Count() + mapPages + perMapPage - 1) / perMapPage > mapPages) ++mapPages;
  if (mapPages > kIndirectEntries)
    ThrowTooLarge();
  PutU8(row, kMapTypeAt, kIndirectMap);
  for (size_t entry = 0; entry < mapPages; ++entry) {
    PutU32(row, IndirectEntryAt(entry), AllocateMapPage(pages_));
  }
  const uint32_t lastMapPage = ReadU32(row, IndirectEntryAt(mapPages - 1));
  for (size_t page = pages_.Count(); page < mapPages * perMapPage; ++page)
    SetBit(pages_.Page(lastMapPage).subspan(kMapPageBitmapAt), page % perMapPage);
}

}  // namespace Jet::Create
