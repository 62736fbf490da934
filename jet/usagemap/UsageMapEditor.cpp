#include "jet/usagemap/UsageMapEditor.h"

#include <algorithm>
#include <map>

#include "jet/page/DataPageEditor.h"
#include "jet/base/Failure.h"

namespace Jet {
namespace {

constexpr uint8_t kInlineMap = 0x00;
constexpr uint8_t kIndirectMap = 0x01;
constexpr size_t kInlineBitmapStart = 5;
constexpr size_t kMapPageBitmapStart = 4;

uint32_t U32(const std::vector<uint8_t>& bytes, size_t at) { return ReadU32(bytes, at); }

void PutU32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (size_t n = 0; n < 4; ++n) bytes.at(at + n) = static_cast<uint8_t>(value >> (8 * n));
}

void SetBit(std::vector<uint8_t>& bytes, size_t bitmapStart, size_t bit, bool on) {
  uint8_t& byte = bytes.at(bitmapStart + bit / 8);
  const uint8_t mask = static_cast<uint8_t>(1u << (bit % 8));
  byte = on ? static_cast<uint8_t>(byte | mask) : static_cast<uint8_t>(byte & ~mask);
}

bool GetBit(const std::vector<uint8_t>& bytes, size_t bitmapStart, size_t bit) {
  return (bytes.at(bitmapStart + bit / 8) >> (bit % 8)) & 1;
}

std::vector<uint8_t> MapRowOf(const PageFile& pages, const FormatLayout& layout, RowPointer map) {
  const DataPage holder(pages.Read(map.page), layout);
  const RowSlot slot = holder.Slot(map.slot);
  if (slot.deleted) ThrowCorrupt("a usage map row on " + PageText(map.page) + " is deleted");
  const ByteSpan row = holder.RowBytes(slot);
  if (row.size() < kInlineBitmapStart) ThrowCorrupt("a usage map row on " + PageText(map.page) + " is too short");
  return std::vector<uint8_t>(row.begin(), row.end());
}

// A page a map cannot record: the change that needs the page is refused, not its field.
[[noreturn]] void ThrowCannotReach(std::string_view map, uint32_t page) {
  ThrowNotSupported(std::string(map) + " cannot reach " + PageText(page), Main::ErrorCause::kRecordStorage);
}

std::vector<uint8_t> EmptyMapPage(uint32_t pageSize) {
  std::vector<uint8_t> page(pageSize, 0);
  page[0] = kUsageMapPageType;
  page[1] = 0x01;
  return page;
}

}  // namespace

void UsageMapEditor::WriteRow(RowPointer map, std::vector<uint8_t> row) {
  DataPageEditor holder(writer_.Pages().Read(map.page), layout_);
  holder.SetRow(map.slot, std::move(row), holder.Flags(map.slot));
  writer_.Write(map.page, holder.Build());
}

uint32_t UsageMapEditor::Allocate(std::vector<uint8_t> page) {
  uint32_t number = 0;
  if (!released_.empty()) {
    number = released_.back();
    released_.pop_back();
    writer_.Write(number, std::move(page));
  } else {
    number = writer_.Append(std::move(page));
  }
  MarkUsed(number);
  return number;
}

void UsageMapEditor::MarkFree(uint32_t page) {
  SetGlobal(page, true);
  released_.push_back(page);
}

void UsageMapEditor::CheckReach(RowPointer map, uint64_t lastPage) const {
  if (lastPage < BitsPerMapPage()) return;  // every map row holds at least one map page's entry
  const std::vector<uint8_t> row = MapRowOf(writer_.Pages(), layout_, map);
  if (lastPage / BitsPerMapPage() < (row.size() - 1) / 4) return;
  ThrowNotSupported("The database is too large for its usage maps to record another page; nothing was written.",
                    Main::ErrorCause::kRecordStorage);
}

bool UsageMapEditor::Contains(RowPointer map, uint32_t page) const {
  const std::vector<uint8_t> row = MapRowOf(writer_.Pages(), layout_, map);
  if (row[0] == kInlineMap) {
    const uint32_t first = U32(row, 1);
    const size_t bits = (row.size() - kInlineBitmapStart) * 8;
    return page >= first && page - first < bits && GetBit(row, kInlineBitmapStart, page - first);
  }
  const uint32_t entry = page / BitsPerMapPage();
  if (1 + 4 * size_t{entry} + 4 > row.size()) return false;
  const uint32_t mapPage = U32(row, 1 + 4 * size_t{entry});
  if (mapPage == 0) return false;
  const Page bitmap = writer_.Pages().Read(mapPage);
  const std::vector<uint8_t> bytes(bitmap.Bytes().begin(), bitmap.Bytes().end());
  return GetBit(bytes, kMapPageBitmapStart, page % BitsPerMapPage());
}

void UsageMapEditor::Set(RowPointer map, uint32_t page, bool on) {
  std::vector<uint8_t> row = MapRowOf(writer_.Pages(), layout_, map);
  if (row[0] == kIndirectMap) return SetIndirect(map, std::move(row), page, on);
  if (row[0] != kInlineMap)
    ThrowCorrupt("the usage map on " + PageText(map.page) + " has the unknown type " + std::to_string(row[0]));
  const uint32_t first = U32(row, 1);
  const size_t bits = (row.size() - kInlineBitmapStart) * 8;
  if (page >= first && page - first < bits) {
    if (GetBit(row, kInlineBitmapStart, page - first) == on) return;
    SetBit(row, kInlineBitmapStart, page - first, on);
    return WriteRow(map, std::move(row));
  }
  // Outside the inline range: nothing to take out; the map moves or becomes indirect to take the
  // page in.
  if (!on) return;
  Rebase(map, std::move(row), page);
}

void UsageMapEditor::Rebase(RowPointer map, std::vector<uint8_t> row, uint32_t page) {
  const uint32_t first = U32(row, 1);
  const size_t bits = (row.size() - kInlineBitmapStart) * 8;
  std::vector<uint32_t> members{page};
  for (size_t bit = 0; bit < bits; ++bit)
    if (GetBit(row, kInlineBitmapStart, bit)) members.push_back(first + static_cast<uint32_t>(bit));
  const uint32_t low = *std::min_element(members.begin(), members.end()) / 8 * 8;
  const uint32_t high = *std::max_element(members.begin(), members.end());
  if (high - low < bits) {
    std::fill(row.begin() + kInlineBitmapStart, row.end(), 0);
    PutU32(row, 1, low);
    for (const uint32_t member : members) SetBit(row, kInlineBitmapStart, member - low, true);
    return WriteRow(map, std::move(row));
  }
  // Promote: one usage map page per range of pages, written before the row points to them.
  const size_t entries = (row.size() - 1) / 4;
  std::map<uint32_t, std::vector<uint8_t>> mapPages;
  for (const uint32_t member : members) {
    const uint32_t entry = member / BitsPerMapPage();
    if (entry >= entries) ThrowCannotReach("a usage map", member);
    auto [slot, added] = mapPages.try_emplace(entry, EmptyMapPage(writer_.PageSize()));
    SetBit(slot->second, kMapPageBitmapStart, member % BitsPerMapPage(), true);
  }
  std::vector<uint8_t> indirect(row.size(), 0);
  indirect[0] = kIndirectMap;
  for (auto& [entry, bitmap] : mapPages) PutU32(indirect, 1 + 4 * size_t{entry}, Allocate(std::move(bitmap)));
  WriteRow(map, std::move(indirect));
}

void UsageMapEditor::SetIndirect(RowPointer map, std::vector<uint8_t> row, uint32_t page, bool on) {
  const uint32_t entry = page / BitsPerMapPage();
  const size_t at = 1 + 4 * size_t{entry};
  if (at + 4 > row.size()) {
    if (!on) return;
    ThrowCannotReach("a usage map", page);
  }
  const uint32_t mapPage = U32(row, at);
  if (mapPage == 0) {
    if (!on) return;
    std::vector<uint8_t> bitmap = EmptyMapPage(writer_.PageSize());
    SetBit(bitmap, kMapPageBitmapStart, page % BitsPerMapPage(), true);
    PutU32(row, at, Allocate(std::move(bitmap)));
    return WriteRow(map, std::move(row));
  }
  SetMapPageBit(mapPage, page, on);
}

void UsageMapEditor::SetMapPageBit(uint32_t mapPage, uint32_t page, bool on) {
  const Page current = writer_.Pages().Read(mapPage);
  if (current.Type() != kUsageMapPageType)
    ThrowCorrupt(PageText(mapPage) + " should be a usage map page but is of type " + std::to_string(current.Type()));
  std::vector<uint8_t> bitmap(current.Bytes().begin(), current.Bytes().end());
  if (GetBit(bitmap, kMapPageBitmapStart, page % BitsPerMapPage()) == on) return;
  SetBit(bitmap, kMapPageBitmapStart, page % BitsPerMapPage(), on);
  writer_.Write(mapPage, std::move(bitmap));
}

void UsageMapEditor::SetGlobal(uint32_t page, bool free) {
  std::vector<uint8_t> row = MapRowOf(writer_.Pages(), layout_, kGlobalMap);
  if (row[0] == kInlineMap) {
    const uint32_t first = U32(row, 1);
    const size_t bits = (row.size() - kInlineBitmapStart) * 8;
    if (page >= first && page - first < bits) {
      if (GetBit(row, kInlineBitmapStart, page - first) == free) return;
      SetBit(row, kInlineBitmapStart, page - first, free);
      return WriteRow(kGlobalMap, std::move(row));
    }
  } else if (row[0] == kIndirectMap) {
    const size_t at = 1 + 4 * size_t{page / BitsPerMapPage()};
    if (at + 4 > row.size()) {
      if (free) return;
      ThrowCannotReach("the global usage map", page);
    }
    if (const uint32_t mapPage = U32(row, at); mapPage != 0) return SetMapPageBit(mapPage, page, free);
  } else {
    ThrowCorrupt("the global usage map has the unknown type " + std::to_string(row[0]));
  }
  if (!free) ExtendGlobal(std::move(row), page);
}

// The global map does not reach `page`, one of the file's pages. New usage map pages go past the
// end of the file, so the map can be completed before anything points to them:
//   1. each map page the map lacks up to the new end of the file, written in full: a page marked
//      free if it lies past that end or the inline map recorded it free, else used;
//   2. the new map pages marked used where a map page that already exists covers them;
//   3. the row on page 1, now indirect or naming its new map pages.
// A process killed before 3 leaves the old map and a few unused pages at the end of the file.
void UsageMapEditor::ExtendGlobal(std::vector<uint8_t> row, uint32_t page) {
  const uint32_t perMapPage = BitsPerMapPage();
  const size_t entries = (row.size() - 1) / 4;
  const bool wasInline = row[0] == kInlineMap;
  std::vector<uint8_t> indirect = row;
  if (wasInline) {
    std::fill(indirect.begin(), indirect.end(), 0);
    indirect[0] = kIndirectMap;
  }
  const auto missingUpTo = [&](uint64_t end) {
    uint32_t missing = 0;
    for (size_t entry = 0; entry < entries && entry * perMapPage < end; ++entry)
      if (U32(indirect, 1 + 4 * entry) == 0) ++missing;
    return missing;
  };
  const uint32_t oldEnd = writer_.Pages().PageCount();
  uint32_t added = missingUpTo(oldEnd);
  while (missingUpTo(uint64_t{oldEnd} + added) > added) added = missingUpTo(uint64_t{oldEnd} + added);
  const uint64_t newEnd = uint64_t{oldEnd} + added;
  if (page >= newEnd || (newEnd - 1) / perMapPage >= entries)
    ThrowCannotReach("the global usage map", page);

  const auto inlineFree = [&](uint64_t number) {
    const uint32_t first = U32(row, 1);
    return wasInline && number >= first && number - first < (row.size() - kInlineBitmapStart) * 8 &&
           GetBit(row, kInlineBitmapStart, static_cast<size_t>(number - first));
  };
  std::vector<uint32_t> newMapPages;
  for (size_t entry = 0; entry * perMapPage < newEnd; ++entry) {
    if (U32(indirect, 1 + 4 * entry) != 0) continue;
    std::vector<uint8_t> bitmap = EmptyMapPage(writer_.PageSize());
    for (uint32_t bit = 0; bit < perMapPage; ++bit) {
      const uint64_t number = uint64_t{entry} * perMapPage + bit;
      if (number >= newEnd || (number < oldEnd && inlineFree(number))) SetBit(bitmap, kMapPageBitmapStart, bit, true);
    }
    const uint32_t mapPage = writer_.Append(std::move(bitmap));
    PutU32(indirect, 1 + 4 * entry, mapPage);
    newMapPages.push_back(mapPage);
  }
  for (const uint32_t mapPage : newMapPages) {
    const uint32_t coveringPage = U32(indirect, 1 + 4 * size_t{mapPage / perMapPage});
    if (std::find(newMapPages.begin(), newMapPages.end(), coveringPage) == newMapPages.end())
      SetMapPageBit(coveringPage, mapPage, false);
  }
  WriteRow(kGlobalMap, std::move(indirect));
}

}  // namespace Jet
