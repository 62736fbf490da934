#include "jet/usagemap/UsageMapEditor.h"

#include <algorithm>
#include <map>

#include "jet/page/DataPageEditor.h"
#include "jet/base/Failure.h"
#include "jet/usagemap/PageAllocator.h"
#include "jet/usagemap/UsageMapFormat.h"

namespace Jet {
namespace {

uint32_t U32(const std::vector<uint8_t>& bytes, size_t at) { return ReadU32(bytes, at); }

// Bit `bit` of the bitmap that starts at `bitmapStart` in `bytes`.
void SetBit(std::vector<uint8_t>& bytes, size_t bitmapStart, size_t bit, bool on) {
  SetMapBit(std::span<uint8_t>(bytes).subspan(bitmapStart), bit, on);
}

bool GetBit(const std::vector<uint8_t>& bytes, size_t bitmapStart, size_t bit) {
  return MapBit(ByteSpan(bytes).subspan(bitmapStart), bit);
}

std::vector<uint8_t> MapRowOf(const PageFile& pages, const FormatLayout& layout, RowPointer map) {
  const DataPage holder(pages.Read(map.page), layout);
  const RowSlot slot = holder.Slot(map.slot);
  if (slot.deleted) ThrowCorrupt("a usage map row on " + PageText(map.page) + " is deleted");
  const ByteSpan row = holder.RowBytes(slot);
  if (row.size() < kInlineBitmapAt) ThrowCorrupt("a usage map row on " + PageText(map.page) + " is too short");
  return std::vector<uint8_t>(row.begin(), row.end());
}

// A page a map cannot record: the change that needs the page is refused, not its field.
[[noreturn]] void ThrowCannotReach(std::string_view map, uint32_t page) {
  ThrowNotSupported(std::string(map) + " cannot reach " + PageText(page), Main::ErrorCause::kRecordStorage);
}
}  // namespace

uint32_t UsageMapEditor::BitsPerMapPage() const { return PagesPerMapPage(writer_.PageSize()); }

void UsageMapEditor::WriteRow(RowPointer map, std::vector<uint8_t> row) {
  DataPageEditor holder(writer_.Pages().Read(map.page), layout_);
  holder.SetRow(map.slot, std::move(row), holder.Flags(map.slot));
  writer_.Write(map.page, holder.Build());
}

void UsageMapEditor::CheckReach(RowPointer map, uint64_t lastPage) const {
  if (lastPage < BitsPerMapPage()) return;  // every map row holds at least one map page's entry
  const std::vector<uint8_t> row = MapRowOf(writer_.Pages(), layout_, map);
  if (lastPage / BitsPerMapPage() < IndirectMapEntries(row.size())) return;
  ThrowNotSupported("The database is too large for its usage maps to record another page; nothing was written.",
                    Main::ErrorCause::kRecordStorage);
}

bool UsageMapEditor::Contains(RowPointer map, uint32_t page) const {
  const std::vector<uint8_t> row = MapRowOf(writer_.Pages(), layout_, map);
  if (row[kMapTypeAt] == kInlineMap) {
    const uint32_t first = U32(row, kInlineFirstPageAt);
    const size_t bits = InlineMapPages(row.size());
    return page >= first && page - first < bits && GetBit(row, kInlineBitmapAt, page - first);
  }
  const uint32_t entry = page / BitsPerMapPage();
  if (IndirectEntryAt(entry) + 4 > row.size()) return false;
  const uint32_t mapPage = U32(row, IndirectEntryAt(entry));
  if (mapPage == 0) return false;
  const Page bitmap = writer_.Pages().Read(mapPage);
  const std::vector<uint8_t> bytes(bitmap.Bytes().begin(), bitmap.Bytes().end());
  return GetBit(bytes, kMapPageBitmapAt, page % BitsPerMapPage());
}

void UsageMapEditor::Set(RowPointer map, uint32_t page, bool on) {
  std::vector<uint8_t> row = MapRowOf(writer_.Pages(), layout_, map);
  if (row[kMapTypeAt] == kIndirectMap) return SetIndirect(map, std::move(row), page, on);
  if (row[kMapTypeAt] != kInlineMap)
    ThrowCorrupt("the usage map on " + PageText(map.page) + " has the unknown type " + std::to_string(row[kMapTypeAt]));
  const uint32_t first = U32(row, kInlineFirstPageAt);
  const size_t bits = InlineMapPages(row.size());
  if (page >= first && page - first < bits) {
    if (GetBit(row, kInlineBitmapAt, page - first) == on) return;
    SetBit(row, kInlineBitmapAt, page - first, on);
    return WriteRow(map, std::move(row));
  }
  // Outside the inline range: nothing to take out; the map moves or becomes indirect to take the
  // page in.
  if (!on) return;
  Rebase(map, std::move(row), page);
}

void UsageMapEditor::Rebase(RowPointer map, std::vector<uint8_t> row, uint32_t page) {
  const uint32_t first = U32(row, kInlineFirstPageAt);
  const size_t bits = InlineMapPages(row.size());
  std::vector<uint32_t> members{page};
  for (size_t bit = 0; bit < bits; ++bit)
    if (GetBit(row, kInlineBitmapAt, bit)) members.push_back(first + static_cast<uint32_t>(bit));
  const uint32_t low = *std::min_element(members.begin(), members.end()) / 8 * 8;
  const uint32_t high = *std::max_element(members.begin(), members.end());
  if (high - low < bits) {
    std::fill(row.begin() + kInlineBitmapAt, row.end(), 0);
    PutU32(row, kInlineFirstPageAt, low);
    for (const uint32_t member : members) SetBit(row, kInlineBitmapAt, member - low, true);
    return WriteRow(map, std::move(row));
  }
  // Promote: one usage map page per range of pages, written before the row names them
  // (write-order rule 2).
  const size_t entries = IndirectMapEntries(row.size());
  std::map<uint32_t, std::vector<uint8_t>> mapPages;
  for (const uint32_t member : members) {
    const uint32_t entry = member / BitsPerMapPage();
    if (entry >= entries) ThrowCannotReach("a usage map", member);
    auto [slot, added] = mapPages.try_emplace(entry, EmptyMapPage(writer_.PageSize()));
    SetBit(slot->second, kMapPageBitmapAt, member % BitsPerMapPage(), true);
  }
  std::vector<uint8_t> indirect(row.size(), 0);
  indirect[kMapTypeAt] = kIndirectMap;
  for (auto& [entry, bitmap] : mapPages) PutU32(indirect, IndirectEntryAt(entry), newPages_.Allocate(std::move(bitmap)));
  WriteRow(map, std::move(indirect));
}

void UsageMapEditor::SetIndirect(RowPointer map, std::vector<uint8_t> row, uint32_t page, bool on) {
  const uint32_t entry = page / BitsPerMapPage();
  const size_t at = IndirectEntryAt(entry);
  if (at + 4 > row.size()) {
    if (!on) return;
    ThrowCannotReach("a usage map", page);
  }
  const uint32_t mapPage = U32(row, at);
  if (mapPage == 0) {
    if (!on) return;
    std::vector<uint8_t> bitmap = EmptyMapPage(writer_.PageSize());
    SetBit(bitmap, kMapPageBitmapAt, page % BitsPerMapPage(), true);
    PutU32(row, at, newPages_.Allocate(std::move(bitmap)));
    return WriteRow(map, std::move(row));
  }
  SetMapPageBit(mapPage, page, on);
}

void UsageMapEditor::SetMapPageBit(uint32_t mapPage, uint32_t page, bool on) {
  const Page current = writer_.Pages().Read(mapPage);
  if (current.Type() != kUsageMapPageType)
    ThrowCorrupt(PageText(mapPage) + " should be a usage map page but is of type " + std::to_string(current.Type()));
  std::vector<uint8_t> bitmap(current.Bytes().begin(), current.Bytes().end());
  if (GetBit(bitmap, kMapPageBitmapAt, page % BitsPerMapPage()) == on) return;
  SetBit(bitmap, kMapPageBitmapAt, page % BitsPerMapPage(), on);
  writer_.Write(mapPage, std::move(bitmap));
}

void UsageMapEditor::SetGlobal(uint32_t page, bool free) {
  std::vector<uint8_t> row = MapRowOf(writer_.Pages(), layout_, kGlobalMap);
  if (row[kMapTypeAt] == kInlineMap) {
    const uint32_t first = U32(row, kInlineFirstPageAt);
    const size_t bits = InlineMapPages(row.size());
    if (page >= first && page - first < bits) {
      if (GetBit(row, kInlineBitmapAt, page - first) == free) return;
      SetBit(row, kInlineBitmapAt, page - first, free);
      return WriteRow(kGlobalMap, std::move(row));
    }
  } else if (row[kMapTypeAt] == kIndirectMap) {
    const size_t at = IndirectEntryAt(page / BitsPerMapPage());
    if (at + 4 > row.size()) {
      if (free) return;
      ThrowCannotReach("the global usage map", page);
    }
    if (const uint32_t mapPage = U32(row, at); mapPage != 0) return SetMapPageBit(mapPage, page, free);
  } else {
    ThrowCorrupt("the global usage map has the unknown type " + std::to_string(row[kMapTypeAt]));
  }
  if (!free) ExtendGlobal(std::move(row), page);
}

// The global map does not reach `page`, one of the file's pages: it grows into new usage map
// pages past the end of the file, in the order of write-order rule 7 (WriteOrder.h).
void UsageMapEditor::ExtendGlobal(std::vector<uint8_t> row, uint32_t page) {
  const uint32_t perMapPage = BitsPerMapPage();
  const size_t entries = IndirectMapEntries(row.size());
  const bool wasInline = row[kMapTypeAt] == kInlineMap;
  std::vector<uint8_t> indirect = row;
  if (wasInline) {
    std::fill(indirect.begin(), indirect.end(), 0);
    indirect[kMapTypeAt] = kIndirectMap;
  }
  const auto missingUpTo = [&](uint64_t end) {
    uint32_t missing = 0;
    for (size_t entry = 0; entry < entries && entry * perMapPage < end; ++entry)
      if (U32(indirect, IndirectEntryAt(entry)) == 0) ++missing;
    return missing;
  };
  const uint32_t oldEnd = writer_.Pages().PageCount();
  uint32_t added = missingUpTo(oldEnd);
  while (missingUpTo(uint64_t{oldEnd} + added) > added) added = missingUpTo(uint64_t{oldEnd} + added);
  const uint64_t newEnd = uint64_t{oldEnd} + added;
  if (page >= newEnd || (newEnd - 1) / perMapPage >= entries)
    ThrowCannotReach("the global usage map", page);

  const auto inlineFree = [&](uint64_t number) {
    const uint32_t first = U32(row, kInlineFirstPageAt);
    return wasInline && number >= first && number - first < InlineMapPages(row.size()) &&
           GetBit(row, kInlineBitmapAt, static_cast<size_t>(number - first));
  };
  std::vector<uint32_t> newMapPages;
  for (size_t entry = 0; entry * perMapPage < newEnd; ++entry) {
    if (U32(indirect, IndirectEntryAt(entry)) != 0) continue;
    std::vector<uint8_t> bitmap = EmptyMapPage(writer_.PageSize());
    for (uint32_t bit = 0; bit < perMapPage; ++bit) {
      const uint64_t number = uint64_t{entry} * perMapPage + bit;
      if (number >= newEnd || (number < oldEnd && inlineFree(number))) SetBit(bitmap, kMapPageBitmapAt, bit, true);
    }
    const uint32_t mapPage = writer_.Append(std::move(bitmap));
    PutU32(indirect, IndirectEntryAt(entry), mapPage);
    newMapPages.push_back(mapPage);
  }
  for (const uint32_t mapPage : newMapPages) {
    const uint32_t coveringPage = U32(indirect, IndirectEntryAt(mapPage / perMapPage));
    if (std::find(newMapPages.begin(), newMapPages.end(), coveringPage) == newMapPages.end())
      SetMapPageBit(coveringPage, mapPage, false);
  }
  WriteRow(kGlobalMap, std::move(indirect));
}

}  // namespace Jet
